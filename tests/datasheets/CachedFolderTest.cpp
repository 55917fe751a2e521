#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/BusyHook.h"
#include "datasheets/CachedFolder.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

class TCountingBusyHook : public TBusyHook {
public:
    int Begun = 0, Ended = 0;
    void BeginBusy() override { ++Begun; }
    void BusyProgress(int) override {}
    void EndBusy() override { ++Ended; }
};

// Two datasheet folders and a cache file beside them.
class CachedFolderTest : public ::testing::Test {
protected:
    TTempDir fDir;
    std::string fA, fB, fCache;

    void SetUp() override {
        fA = fDir.File("sheets A");
        fB = fDir.File("sheetsB");
        fCache = fDir.File("cache/sub/Index.Lib");
        fDir.Write("sheets A/Valve.pdf", "%PDF-a");
        fDir.Write("sheets A/notes.txt", "x");
        fDir.Write("sheets A/sub/deeper/Deep.PDF", "%PDF-d");
        fDir.Write("sheetsB/Valve.pdf", "%PDF-b");
        fDir.Write("sheetsB/Pump.pdf", "%PDF-p");
    }
    std::string Folders() const { return fA + ";" + fB + "/"; }
};

} // namespace

TEST_F(CachedFolderTest, ScanIndexesBelowEveryFolderAndWritesTheCache) {
    TCountingBusyHook hook;
    TBusyHook* previous = SetBusyHook(&hook);
    TCachedFolder folder;
    folder.SetData(Folders(), fCache, {".pdf"}, false);
    std::string path;
    EXPECT_TRUE(folder.FindFile("deep.pdf", path));
    SetBusyHook(previous);
    EXPECT_EQ(path, fA + "/sub/deeper/Deep.PDF");
    EXPECT_EQ(hook.Begun, 1);
    EXPECT_EQ(hook.Ended, 1);
    EXPECT_TRUE(folder.IsRefreshed());

    // The first file of a name wins; only the mask's extensions are indexed.
    EXPECT_TRUE(folder.FindFile("VALVE.PDF", path, true));
    EXPECT_EQ(path, fA + "/Valve.pdf");
    EXPECT_TRUE(folder.FindFile("pump.pdf", path, true));
    EXPECT_EQ(path, fB + "/Pump.pdf");
    EXPECT_FALSE(folder.FindFile("notes.txt", path, true));
    EXPECT_EQ(folder.FileList(), (std::vector<std::string>{"VALVE.PDF", "DEEP.PDF", "PUMP.PDF"}));

    // The cache: byte-order mark, one full path per line, CR LF, written through a temporary file.
    EXPECT_EQ(ReadWholeFile(fCache), "\xEF\xBB\xBF" + fA + "/Valve.pdf\r\n" + fA +
                                         "/sub/deeper/Deep.PDF\r\n" + fB + "/Pump.pdf\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(fDir.File("cache/sub")), fs::directory_iterator()), 1);

    // The next run starts from the cache without a scan.
    TCachedFolder next;
    next.SetData(Folders(), fCache, {".pdf"}, false);
    EXPECT_EQ(next.PathList(), folder.PathList());
    EXPECT_TRUE(next.FindFile("Pump.pdf", path));
    EXPECT_FALSE(next.IsRefreshed());
}

TEST_F(CachedFolderTest, MissOrVanishedFileRescansUnlessOnlyOnce) {
    TCachedFolder folder;
    folder.SetData(Folders(), fCache, {".pdf"}, false);
    folder.ForceRefresh();
    std::string path;
    fs::remove(fA + "/Valve.pdf");
    EXPECT_TRUE(folder.FindFile("Valve.pdf", path));
    EXPECT_EQ(path, fB + "/Valve.pdf");
    fDir.Write("sheetsB/New.pdf", "%PDF-n");
    EXPECT_TRUE(folder.FindFile("new.pdf", path));

    TCachedFolder once;
    once.SetData(Folders(), fDir.File("once.Lib"), {".pdf"}, true);
    once.ForceRefresh();
    fDir.Write("sheetsB/Later.pdf", "%PDF-l");
    EXPECT_FALSE(once.FindFile("Later.pdf", path));
    EXPECT_FALSE(once.FindFileEx("Later", path)) << "FindFileEx's refresh is also skipped";
    once.ForceRefresh();
    EXPECT_TRUE(once.FindFile("Later.pdf", path, true));
}

TEST_F(CachedFolderTest, FindFileExTriesEveryMaskExtension) {
    TCachedFolder folder;
    folder.SetData(Folders(), fCache, {".doc", ".pdf"}, false);
    std::string path;
    EXPECT_TRUE(folder.FindFileEx("pump", path));
    EXPECT_EQ(path, fB + "/Pump.pdf");
    EXPECT_FALSE(folder.FindFileEx("notes", path));

    TCachedFolder all;
    all.SetData(fA, fDir.File("all.Lib"), {".*"}, false);
    EXPECT_TRUE(all.FindFileEx("notes.txt", path));
    EXPECT_EQ(path, fA + "/notes.txt");
}

TEST_F(CachedFolderTest, IndexOfOtherFoldersOrDamagedCacheIsDropped) {
    const std::string good = fA + "/Valve.pdf\r\n";
    struct TCase {
        const char* What;
        std::string Contents;
        bool Kept;
    };
    const TCase cases[] = {
        {"valid", "\xEF\xBB\xBF" + good + "\r\n\r\n" + fB + "/Pump.pdf\n", true},
        {"renamed folder", "\xEF\xBB\xBF" + fDir.File("old name") + "/Valve.pdf\r\n", false},
        {"one line elsewhere", good + "/etc/passwd\r\n", false},
        {"climbing out", good + fA + "/../secret.pdf\r\n", false},
        {"prefix is not a folder", good + fA + "x/Valve.pdf\r\n", false},
        {"relative", good + "Valve.pdf\r\n", false},
        {"not UTF-8", good + fA + "/\xFF.pdf\r\n", false},
        {"NUL bytes", good + std::string("\0\0", 2), false},
    };
    for (const TCase& c : cases) {
        const std::string cache = fDir.Write("case.Lib", c.Contents);
        TCachedFolder folder;
        folder.SetData(Folders(), cache, {".pdf"}, false);
        EXPECT_EQ(!folder.PathList().empty(), c.Kept) << c.What;
        EXPECT_EQ(folder.FileList().size(), folder.PathList().size()) << c.What;
        if (!c.Kept) {
            // Rebuilt by the scan a look-up starts.
            std::string path;
            EXPECT_TRUE(folder.FindFile("Valve.pdf", path)) << c.What;
            EXPECT_EQ(path, fA + "/Valve.pdf") << c.What;
        }
    }

    // An absurdly large cache file is not read at all, even when every line of it is sound.
    const std::string hugeCache =
        fDir.Write("huge.Lib", good + fA + "/" + std::string(65u << 20, 'a') + ".pdf\r\n");
    TCachedFolder huge;
    huge.SetData(Folders(), hugeCache, {".pdf"}, false);
    EXPECT_TRUE(huge.PathList().empty());
}

TEST_F(CachedFolderTest, ScanNeitherFollowsFolderLinksNorDescendsWithoutEnd) {
    fs::create_directory_symlink(fA, fA + "/loop");
    fDir.Write("outside/Secret.pdf", "%PDF-s");
    fs::create_directory_symlink(fDir.File("outside"), fB + "/link");
    fs::create_symlink(fB + "/Pump.pdf", fA + "/LinkedFile.pdf");
    std::string deep = fB;
    for (int i = 0; i < 70; ++i) {
        deep += "/d";
        if (i == 9) fDir.Write(deep.substr(fDir.Path().string().size() + 1) + "/Level10.pdf", "%PDF-");
    }
    fDir.Write(deep.substr(fDir.Path().string().size() + 1) + "/Level70.pdf", "%PDF-");

    TCachedFolder folder;
    folder.SetData(Folders(), fCache, {".pdf"}, false);
    folder.ForceRefresh();
    std::string path;
    EXPECT_TRUE(folder.FindFile("Level10.pdf", path, true));
    EXPECT_FALSE(folder.FindFile("Level70.pdf", path, true));
    EXPECT_FALSE(folder.FindFile("Secret.pdf", path, true));
    EXPECT_TRUE(folder.FindFile("LinkedFile.pdf", path, true)) << "links to files are files";
    for (const std::string& p : folder.PathList())
        EXPECT_EQ(p.find("/loop/"), std::string::npos) << p;
}

TEST(SimpleCachedFolder, FindsByNameWithoutExtensionAndRelists) {
    TTempDir dir;
    dir.Write("dl/Valve.pdf", "%PDF-");
    fs::create_directory(dir.File("dl/Folder"));
    TSimpleCachedFolder folder(dir.File("dl"), -1);
    EXPECT_EQ(folder.Path(), dir.File("dl") + "/");
    EXPECT_EQ(folder.FindFile("VALVE"), dir.File("dl/Valve.pdf"));
    EXPECT_EQ(folder.FindFile("Valve.pdf"), "");
    EXPECT_EQ(folder.FindFile("Folder"), "");
    dir.Write("dl/Later.pdf", "%PDF-");
    EXPECT_EQ(folder.FindFile("later"), dir.File("dl/Later.pdf"));
    fs::remove(dir.File("dl/Valve.pdf"));
    EXPECT_EQ(folder.FindFile("Valve"), "");
}

TEST(SimpleCachedFolder, PurgeDeletesPlainFilesOlderThanTheWholeDays) {
    using namespace std::chrono;
    TTempDir dir;
    const auto now = fs::file_time_type::clock::now();
    const auto age = [&](const std::string& name, fs::file_time_type::duration old) {
        const std::string p = dir.Write("dl/" + name, "%PDF-");
        fs::last_write_time(p, now - old);
        return p;
    };
    age("fresh.pdf", minutes(1));
    age("almost14.pdf", hours(24 * 14) - minutes(1));
    age("fourteenAndAHalf.pdf", hours(24 * 14 + 12));
    age("fifteen.pdf", hours(24 * 15));
    age("old.pdf", hours(24 * 400));
    // Links and folders are left alone, and so is what they point at.
    const std::string target = dir.Write("elsewhere/Target.pdf", "%PDF-");
    fs::last_write_time(target, now - hours(24 * 100));
    fs::create_symlink(target, dir.File("dl/link.pdf"));
    fs::create_directory(dir.File("dl/sub"));
    const std::string inSub = dir.Write("dl/sub/Inner.pdf", "%PDF-");
    fs::last_write_time(inSub, now - hours(24 * 100));

    { TSimpleCachedFolder folder(dir.File("dl"), 14); }
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.File("dl")))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"almost14.pdf", "fourteenAndAHalf.pdf", "fresh.pdf", "link.pdf",
                                              "sub"}));
    EXPECT_TRUE(fs::exists(target));
    EXPECT_TRUE(fs::exists(inSub));

    { TSimpleCachedFolder keepAll(dir.File("dl"), -1); }
    EXPECT_TRUE(fs::exists(dir.File("dl/almost14.pdf")));
    { TSimpleCachedFolder purgeAll(dir.File("dl"), 0); }
    EXPECT_FALSE(fs::exists(dir.File("dl/fresh.pdf")));
    EXPECT_FALSE(fs::exists(dir.File("dl/almost14.pdf")));
    EXPECT_TRUE(fs::is_symlink(dir.File("dl/link.pdf")));
}
