#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/BusyHook.h"
#include "datasheets/DataSheetLookup.h"
#include "datasheets/DataSheetNames.h"
#include "support/PrivateHome.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

// The online library: answers from a table, into one buffer file as the real client does.
class TFakeWebLib : public IWebLibFiles {
public:
    explicit TFakeWebLib(std::string buffer) : fBuffer(std::move(buffer)) {}
    std::map<std::string, std::string> Files; // URL -> body; a missing URL is a 404
    std::vector<std::string> Requests;

    bool GetFile(const std::string& url, std::string& fileName) override {
        Requests.push_back(url);
        const auto it = Files.find(url);
        std::ofstream(fBuffer, std::ios::binary | std::ios::trunc)
            << (it == Files.end() ? "Not found" : it->second);
        fileName = fBuffer;
        return it != Files.end();
    }

private:
    std::string fBuffer;
};

class TCountingBusyHook : public TBusyHook {
public:
    int Begun = 0;
    void BeginBusy() override { ++Begun; }
    void BusyProgress(int) override {}
    void EndBusy() override {}
};

// A drawing folder, two local datasheet folders, a download folder and the fake library.
class DataSheetLookupTest : public ::testing::Test {
protected:
    TTempDir fDir;
    TFakeWebLib fWeb{fDir.File("buffer.lib")};
    std::string fDrawing, fLocalA, fLocalB, fDownloads, fCache;

    void SetUp() override {
        fDrawing = fDir.File("drawing");
        fLocalA = fDir.File("local A");
        fLocalB = fDir.File("localB");
        fDownloads = fDir.File("downloads/PDF/");
        fCache = fDir.File("cache/QuavLibrary__PDFs.Lib");
        for (const char* f :
             {"drawing/Valve.pdf", "drawing/X12___Pump.pdf", "drawing/Y9___Pump.pdf", "drawing/Cyl.pdf",
              "drawing/Cyl_US.pdf", "local A/Manual.doc.pdf", "local A/Motor.pdf",
              "local A/sub/deeper/Deep.pdf", "localB/InB.pdf", "localB/Valve.pdf"})
            fDir.Write(f, std::string("%PDF-1.4 ") + f);
        fDir.Write("drawing/Fake.pdf", "<html>not a datasheet</html>");
        // Files a hostile name would reach if it were used as a path.
        fDir.Write("Secret.pdf", "%PDF-secret");
        fDir.Write("drawing/sub/Hidden.pdf", "%PDF-hidden");
    }

    std::vector<std::string> Show(TDataSheetLookup& lookup, const std::string& value, bool metric,
                                  bool online) {
        std::vector<std::string> opened;
        lookup.ShowDataSheet(value, fDrawing, metric, online, [&](const std::string& file) {
            opened.push_back(file);
            return true;
        });
        return opened;
    }

    std::unique_ptr<TDataSheetLookup> MakeLookup() {
        auto lookup = std::make_unique<TDataSheetLookup>(&fWeb, fDownloads);
        lookup->SetLocalFolders(fLocalA + ";" + fLocalB, fCache);
        return lookup;
    }
};

} // namespace

TEST(DataSheetNames, PlainNamesOnly) {
    const std::pair<std::string, bool> cases[] = {
        {"Valve", true},
        {"4WE 6 E-Ventil (NG6).pdf", true},
        {"Ventil für Öl €", true},
        {std::string(MaxDataSheetNameLength, 'x'), true},
        {std::string(MaxDataSheetNameLength + 1, 'x'), false},
        {"", false},
        {".", false},
        {"..", false},
        {"../Secret", false},
        {"a/b", false},
        {"a\\b", false},
        {"/etc/passwd", false},
        {"tab\there", false},
        {"line\nbreak", false},
        {std::string("nul\0x", 5), false},
        {"del\x7f", false},
        {"latin1 \xe4", false},
        {"overlong \xc0\xaf", false},
    };
    for (const auto& [name, plain] : cases)
        EXPECT_EQ(IsPlainDataSheetName(name), plain) << name;
}

TEST(DataSheetNames, EncodeURLPathSegment) {
    const std::pair<std::string, std::string> cases[] = {
        {"Valve_4-2.x~", "Valve_4-2.x~"},
        {"a b", "a%20b"},
        {"a/b?c#d%e", "a%2Fb%3Fc%23d%25e"},
        {"x;y=z&+", "x%3By%3Dz%26%2B"},
        {"ü€", "%C3%BC%E2%82%AC"},
        {"..", ".."},
        {"", ""},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(EncodeURLPathSegment(in), out) << in;
}

TEST(DataSheetNames, SplittingAndPickingByUnits) {
    EXPECT_EQ(StripPdfExtension("a.PDF"), "a");
    EXPECT_EQ(StripPdfExtension("a.doc"), "a.doc");
    EXPECT_EQ(StripPdfExtension("a.pdf.pdf"), "a.pdf");
    EXPECT_EQ(SplitDataSheetValue("a;;b;"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitDataSheetValue(" a ; b"), (std::vector<std::string>{" a ", " b"}));

    struct TCase {
        const char* Value;
        bool Metric;
        std::vector<std::string> Names;
    };
    const TCase cases[] = {
        {"", true, {}},
        {"One", true, {"One"}},
        {"Cyl;Cyl_US", true, {"Cyl"}},
        {"Cyl;Cyl_US", false, {"Cyl_US"}},
        {"Cyl_US;Cyl", true, {"Cyl"}},
        {"Cyl_US;Cyl", false, {"Cyl_US"}},
        {"cyl.pdf;CYL_us.PDF", false, {"CYL_us.PDF"}},
        {"Cyl;Other_US", true, {"Cyl", "Other_US"}},
        {"A_US;B_US", true, {"A_US", "B_US"}},
        {"Valve;Motor", true, {"Valve", "Motor"}},
        {"Cyl;Cyl_US;X", true, {"Cyl", "Cyl_US", "X"}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DataSheetNamesToShow(c.Value, c.Metric), c.Names) << c.Value << " metric " << c.Metric;
}

TEST_F(DataSheetLookupTest, FindsInTheDrawingFolderThenTheLocalFolders) {
    auto lookup = MakeLookup();
    struct TCase {
        const char* Value;
        bool Metric;
        std::vector<std::string> Opened; // below the test folder
    };
    const TCase cases[] = {
        {"Valve", true, {"drawing/Valve.pdf"}},
        {"Valve.pdf", true, {"drawing/Valve.pdf"}},
        {"VALVE.Pdf", true, {"drawing/Valve.pdf"}},
        {"Pump", true, {"drawing/X12___Pump.pdf"}},
        {"pump.PDF", true, {"drawing/X12___Pump.pdf"}},
        {"Cyl;Cyl_US", true, {"drawing/Cyl.pdf"}},
        {"Cyl;Cyl_US", false, {"drawing/Cyl_US.pdf"}},
        {"Cyl_US;Cyl", true, {"drawing/Cyl.pdf"}},
        {"Cyl_US;Cyl", false, {"drawing/Cyl_US.pdf"}},
        {"Valve;Motor", true, {"drawing/Valve.pdf", "local A/Motor.pdf"}},
        {"Manual.doc", true, {"local A/Manual.doc.pdf"}},
        {"MOTOR", true, {"local A/Motor.pdf"}},
        {"Deep", true, {"local A/sub/deeper/Deep.pdf"}},
        {"InB.pdf", true, {"localB/InB.pdf"}},
        {"Valve;Valve.pdf", true, {"drawing/Valve.pdf"}},
        {";;Valve;", true, {"drawing/Valve.pdf"}},
        {"Fake", true, {}},
        {"Nowhere", true, {}},
        {"", true, {}},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> expected;
        for (const std::string& f : c.Opened)
            expected.push_back(fDir.File(f));
        EXPECT_EQ(Show(*lookup, c.Value, c.Metric, false), expected) << c.Value << " metric " << c.Metric;
    }
    EXPECT_TRUE(fWeb.Requests.empty());
    // Without a drawing folder the local index still answers.
    EXPECT_EQ(lookup->FindOneDataSheet("Valve", "", false), fLocalB + "/Valve.pdf");
}

TEST_F(DataSheetLookupTest, RefusedNamesAreNotLookedUpAnywhere) {
    auto lookup = MakeLookup();
    for (const std::string& name :
         std::vector<std::string>{"../Secret", "../Secret.pdf", "sub/Hidden", "sub\\Hidden", "..", ".",
                                  "Val\nve", "\xff\xfe", "/etc/passwd", std::string(300, 'V')}) {
        EXPECT_TRUE(Show(*lookup, name, true, true).empty()) << name;
        EXPECT_TRUE(Show(*lookup, "Nowhere;" + name, true, true).empty()) << name;
        EXPECT_EQ(lookup->DownloadDataSheet(name), "") << name;
        EXPECT_EQ(lookup->FindDataSheetCached(name, true), "") << name;
    }
    // Only "Nowhere" went online; nothing came into the download folder.
    EXPECT_EQ(fWeb.Requests, std::vector<std::string>(10, "datasheets/Nowhere/download"));
    EXPECT_FALSE(fs::exists(fDownloads) && !fs::is_empty(fDownloads));
}

TEST_F(DataSheetLookupTest, DownloadsWithTheEncodedNameAndKeepsTheFile) {
    const std::string name = "Ventil #2 ü";
    const std::string url = "datasheets/Ventil%20%232%20%C3%BC/download";
    fWeb.Files[url] = "%PDF-1.7 downloaded";
    TCountingBusyHook hook;
    TBusyHook* previous = SetBusyHook(&hook);
    {
        auto lookup = MakeLookup();
        EXPECT_TRUE(Show(*lookup, name, true, false).empty()) << "no search online: no request";
        EXPECT_TRUE(fWeb.Requests.empty());

        const std::vector<std::string> opened = Show(*lookup, name + ".pdf", true, true);
        ASSERT_EQ(opened, std::vector<std::string>{fDownloads + name + ".pdf"});
        EXPECT_EQ(ReadWholeFile(opened[0]), "%PDF-1.7 downloaded");
        EXPECT_EQ(fWeb.Requests, std::vector<std::string>{url});
        EXPECT_GE(hook.Begun, 2) << "index scan and download show the hourglass";

        EXPECT_EQ(Show(*lookup, name, true, true), opened);
        EXPECT_EQ(fWeb.Requests.size(), 1u);
    }
    SetBusyHook(previous);
    // The next run finds the download without a request too.
    auto next = MakeLookup();
    EXPECT_EQ(Show(*next, name, true, true), std::vector<std::string>{fDownloads + name + ".pdf"});
    EXPECT_EQ(fWeb.Requests.size(), 1u);
}

TEST_F(DataSheetLookupTest, FailedOrNonPdfDownloadsOpenNothing) {
    fWeb.Files["datasheets/Page/download"] = "<html>Please log in</html>";
    auto lookup = MakeLookup();
    EXPECT_TRUE(Show(*lookup, "Page", true, true).empty());
    EXPECT_TRUE(Show(*lookup, "Missing", true, true).empty());
    EXPECT_EQ(fWeb.Requests,
              (std::vector<std::string>{"datasheets/Page/download", "datasheets/Missing/download"}));
    EXPECT_FALSE(fs::exists(fDownloads + "Page.pdf"));
    EXPECT_FALSE(fs::exists(fDownloads + "Missing.pdf"));

    TDataSheetLookup offline(nullptr, fDownloads);
    offline.SetLocalFolders(fLocalA, fDir.File("other.Lib"));
    EXPECT_TRUE(Show(offline, "Page", true, true).empty());
    EXPECT_EQ(Show(offline, "Motor", true, true), std::vector<std::string>{fLocalA + "/Motor.pdf"});
}

TEST_F(DataSheetLookupTest, AValueNamingManyDatasheetsIsCutOff) {
    std::string many, unknown;
    for (size_t i = 0; i < MaxDataSheetsOpenedAtOnce + 4; ++i) {
        fDir.Write("drawing/S" + std::to_string(i) + ".pdf", "%PDF-");
        many += "S" + std::to_string(i) + ";";
        unknown += "U" + std::to_string(i) + ";";
    }
    auto lookup = MakeLookup();
    const std::vector<std::string> opened = Show(*lookup, many, true, false);
    ASSERT_EQ(opened.size(), MaxDataSheetsOpenedAtOnce);
    EXPECT_EQ(opened.front(), fDrawing + "/S0.pdf");
    EXPECT_TRUE(Show(*lookup, unknown, true, true).empty());
    EXPECT_EQ(fWeb.Requests.size(), MaxDataSheetsOpenedAtOnce);
}

TEST(DataSheetLookup, IsPdfFileLooksAtTheStart) {
    TTempDir dir;
    EXPECT_TRUE(IsPdfFile(dir.Write("a.pdf", "%PDF-1.4\n...")));
    EXPECT_FALSE(IsPdfFile(dir.Write("b.pdf", "%PDF")));
    EXPECT_FALSE(IsPdfFile(dir.Write("c.pdf", " %PDF-1.4")));
    EXPECT_FALSE(IsPdfFile(dir.File("missing.pdf")));
    EXPECT_FALSE(IsPdfFile(dir.Path().string()));
}

TEST(DataSheetLookup, FileNamesBelowTheUserFolders) {
    UsePrivateHomeFolders();
    EXPECT_EQ(GetDataSheetIndexFileName(),
              std::string(getenv("XDG_CONFIG_HOME")) + "/QUAV/KorvaneViewer/Cache/QuavLibrary__PDFs.Lib");
    EXPECT_EQ(GetDataSheetDownloadFolder(),
              std::string(getenv("XDG_CACHE_HOME")) + "/QUAV/Downloads/Online/PDF/");
}
