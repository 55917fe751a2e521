#include "components/ComponentFiles.h"
#include "components/Ports.h"
#include "components/SymbolObjectSymbol.h"
#include "model/JsonWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string Fixture(const char* name) {
    return std::string(KORVANE_FIXTURES) + "/kcf/" + name;
}

TEST(ComponentFile, ReadsTheCurrentForm) {
    TKCFFile file;
    ASSERT_TRUE(file.LoadFromFile(Fixture("Acme_DV06.kcf")));
    EXPECT_EQ(file.DamagedRecords(), 0);
    ASSERT_EQ(file.fBOMList.Count(), 2);
    EXPECT_EQ(file.fBOMList.Items(1)->fData.ArticleCode, "SEAL-KIT");
    EXPECT_EQ(file.fBOMList.First()->ComponentAttributeValue("SIZE"), "NG6");
    // "<>" stands for the file's own name.
    EXPECT_EQ(file.Manufacturer(), "Acme");
    EXPECT_EQ(file.Title(), "DV06");
    EXPECT_EQ(file.SymbolFile(), "Acme_DV06");
    EXPECT_EQ(file.BrevindFile(), "Acme_DV06.bvd");
    EXPECT_FALSE(file.IsSandwich());
    ASSERT_EQ(file.fPortList.Count(), 1);
    EXPECT_EQ(file.fPortList.Items(0)->DisplayName(), "P1");
    ASSERT_EQ(file.fIPortList.Count(), 1);
    EXPECT_EQ(file.fIPortList.Items(0)->DisplayName(), "Pilot");
    EXPECT_EQ(file.fJoinablePortList.FileNamesOfPort("a"), "Acme_Plate.kcf|Acme_Flange.kcf");
    EXPECT_TRUE(file.fData.EmergencyButtonTop);
    EXPECT_FALSE(file.fData.EmergencyButtonSide);
    EXPECT_TRUE(file.fData.UsePortDisplayNameInBrevind);
    EXPECT_EQ(file.fData.FileVersion, "9.1-1203");
    EXPECT_EQ(file.CheckFileVersion("1203"), 0);
    EXPECT_LT(file.CheckFileVersion("10000"), 0);
    EXPECT_GT(file.CheckFileVersion("999"), 0);

    TJsonWriter w;
    file.Dump(w);
    for (const char* text :
         {"\"Class\": \"TKCFFile\"", "\"Class\": \"TIPortDisplayNameList\"", "\"JoinPortName\": \"A\"",
          "\"EmergencyButtonTop\": true", "\"BOMOnly\": false", "\"FileVersion\": \"9.1-1203\""})
        EXPECT_NE(w.Text().find(text), std::string::npos) << text;
}

TEST(ComponentFile, OlderFormInTheLegacyVariant) {
    TKCFFile file;
    ASSERT_TRUE(file.LoadFromFile(Fixture("legacy-older-form.kcf")));
    ASSERT_EQ(file.fBOMList.Count(), 1); // the top-level fields become the only record
    const TBOMData& d = file.fBOMList.First()->fData;
    EXPECT_EQ(d.ArticleCode, "OLD-1");
    EXPECT_EQ(d.Description, "Ventil 90\u00b0"); // decoded from the single-byte code page
    EXPECT_TRUE(d.Sandwich);                     // from its height
    EXPECT_TRUE(d.UseInBrevind);                 // from the explicit Yes
    EXPECT_EQ(file.SymbolFile(), "check");       // without its extension
    // Keys the legacy variant does not know.
    EXPECT_FALSE(file.fData.BOMOnly);
    EXPECT_EQ(file.fData.FileVersion, "");
    EXPECT_EQ(file.CheckFileVersion("1"), -1);
    EXPECT_EQ(file.fJoinablePortList.Count(), 0);
    EXPECT_TRUE(file.fData.EmergencyButtonSide);
}

TEST(ComponentFile, OlderFormInTheCurrentVariantAndTheBOMOnlySymbol) {
    TKCFFile file;
    ASSERT_TRUE(
        file.LoadFromString("ComponentFile:\r\n  ArticleCode=X\r\n  BrevindFile=m.bvd\r\n  Height=0\r\n"
                            "  BOMOnly=Yes\r\n  FileVersion=9-x\r\nEnd.\r\n  Title=after the end\r\n"));
    ASSERT_EQ(file.fBOMList.Count(), 1);
    EXPECT_TRUE(file.fBOMList.First()->fData.UseInBrevind);
    EXPECT_FALSE(file.IsSandwich());
    EXPECT_EQ(file.Title(), ""); // the reader stopped at "End."
    EXPECT_EQ(file.SymbolFile(), "BOM-only_001");
    EXPECT_EQ(file.CheckFileVersion("1"), -1); // no build digits
    EXPECT_EQ(fs::path(file.fFileName).filename(), "tmpkcffile.kcf");
}

// Whatever the path holds, loading gives the defaults or a record, never a hang or a crash.
TEST(ComponentFile, UnusableFilesGiveTheDefaults) {
    const fs::path dir = fs::temp_directory_path() / ("kcf-test-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path fifo = dir / "pipe.kcf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const fs::path big = dir / "big.kcf";
    {
        std::ofstream out(big, std::ios::binary);
        const std::string chunk(1 << 20, 'x');
        for (uint64_t i = 0; i <= TKCFFile::MaxFileBytes >> 20; ++i)
            out << chunk;
    }
    for (const fs::path& p : {dir / "missing.kcf", dir, fifo, big}) {
        TKCFFile file;
        file.fData.BOMOnly = true;
        EXPECT_FALSE(file.LoadFromFile(p.string())) << p;
        EXPECT_EQ(file.fBOMList.Count(), 0) << p;
        EXPECT_FALSE(file.fData.BOMOnly) << p;
        EXPECT_EQ(file.Title(), "");
        EXPECT_EQ(file.SymbolFile(), "");
    }
    const fs::path empty = dir / "empty.kcf";
    std::ofstream(empty).close();
    TKCFFile file;
    EXPECT_TRUE(file.LoadFromFile(empty.string()));
    EXPECT_EQ(file.fBOMList.Count(), 1); // an older-form file with no fields
    fs::remove_all(dir);
}

TEST(ComponentFile, CutOffAndHostileText) {
    const char* texts[] = {
        "Bom:\r\n  ArticleCode=A\r\n  ComponentAttribute:\r\n    AttributeTag=S",
        "PortDisplayNameList:\r\n  PortDisplayName:\r\n    OriginalName=P",
        "JoinablePortList:\r\n  JoinablePort:\r\n",
        "UserFieldList:\r\nBom:\r\nUserFieldList:\r\n  UserField:\r\n",
        "\xff\xfe\x00B\x00o\x00m\x00:\r\n\x80\x81",
    };
    for (const char* text : texts) {
        TKCFFile file;
        EXPECT_TRUE(file.LoadFromString(text, "x.kcf"));
        EXPECT_GE(file.fBOMList.Count(), 1) << text;
    }
    TKCFFile file;
    file.LoadFromString("Bom:\r\n  ArticleCode=A\r\n  ComponentAttribute:\r\n    AttributeTag=S");
    EXPECT_GT(file.DamagedRecords(), 0);
    EXPECT_EQ(file.fBOMList.First()->fData.ArticleCode, "A");
}

// --- the port display names of a component symbol ----------------------------------------------

class SymbolPortNames : public ::testing::Test {
protected:
    TSymbolObjectPort& AddPort(const std::string& name, const std::string& text, bool help = false) {
        auto p = std::make_unique<TSymbolObjectPort>();
        p->fPortName = name;
        p->fPortText = text;
        p->fUsedAsHelpPort = help;
        return static_cast<TSymbolObjectPort&>(*Symbol.fSymbolObjectList.Append(std::move(p)));
    }
    TSymbolObjectIPort& AddIPort(const std::string& text) {
        auto p = std::make_unique<TSymbolObjectIPort>();
        p->fPortText = text;
        return static_cast<TSymbolObjectIPort&>(*Symbol.fSymbolObjectList.Append(std::move(p)));
    }
    static std::vector<std::string> Entries(const TPortDisplayNameList& list) {
        std::vector<std::string> entries;
        for (int i = 0; i < list.Count(); ++i)
            entries.push_back(list.Items(i)->OriginalName() + "=" + list.Items(i)->DisplayName());
        return entries;
    }
    TSymbolObjectSymbol Symbol;
};

TEST_F(SymbolPortNames, GetPortsKeepsKnownNamesDropsGoneOnesAndSorts) {
    AddPort("T", "Tank");
    AddPort("P", "");
    AddPort("H", "help", true);
    AddIPort("X2");
    AddIPort("X1");
    TPortDisplayNameList list;
    list.Add("p", "Pressure"); // known ignoring case: kept as it is
    list.Add("Gone", "old");
    Symbol.GetPorts(list);
    EXPECT_EQ(Entries(list), (std::vector<std::string>{"T=Tank", "p=Pressure"}));

    TIPortDisplayNameList inner;
    Symbol.GetIPorts(inner);
    EXPECT_EQ(Entries(inner), (std::vector<std::string>{"X1=", "X2="}));

    TSymbolObjectSymbol empty; // no children: the list is left alone
    empty.GetPorts(list);
    EXPECT_EQ(list.Count(), 2);
}

TEST_F(SymbolPortNames, SetPortsAppliesTheNames) {
    TSymbolObjectPort& p = AddPort("P", "old");
    TSymbolObjectPort& t = AddPort("T", "keep");
    TSymbolObjectIPort& x = AddIPort("X1");
    TSymbolObjectIPort& y = AddIPort("Y1");
    TPortDisplayNameList list;
    list.Add("p", "P-in");
    Symbol.SetPorts(&list);
    Symbol.SetPorts(nullptr);
    EXPECT_EQ(p.fPortText, "P-in");
    EXPECT_EQ(t.fPortText, "keep");
    TIPortDisplayNameList inner;
    inner.Add("x1", "Pilot");
    inner.Add("Y1", ""); // an empty display name keeps the text
    Symbol.SetIPorts(&inner);
    Symbol.SetIPorts(nullptr);
    EXPECT_EQ(x.fPortText, "Pilot");
    EXPECT_EQ(y.fPortText, "Y1");
}

} // namespace
