// Program folders, file types, folder helpers and message boxes.
#include "base/Translate.h"
#include "platform/DirectoryHandling.h"
#include "platform/FileExtensions.h"
#include "platform/MessageBox.h"
#include "platform/OpenWith.h"
#include "platform/QUAVGlobs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class TTempTree {
public:
    TTempTree() {
        std::string pattern = (fs::temp_directory_path() / "kvshellXXXXXX").string();
        Root = ::mkdtemp(pattern.data());
    }
    ~TTempTree() {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }
    fs::path File(const std::string& relative, const std::string& content = "x") const {
        const fs::path p = Root / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << content;
        return p;
    }
    fs::path Root;
};

// Sets an environment variable for one scope and puts the old value back after.
class TScopedEnv {
public:
    TScopedEnv(const char* name, const char* value) : fName(name) {
        if (const char* old = std::getenv(name)) fOld = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~TScopedEnv() {
        if (fOld)
            ::setenv(fName, fOld->c_str(), 1);
        else
            ::unsetenv(fName);
    }

private:
    const char* fName;
    std::optional<std::string> fOld;
};

} // namespace

TEST(FileTypes, TypeFollowsExtensionIgnoringCase) {
    const struct {
        const char* Name;
        TFileType Type;
    } cases[] = {
        {"plan.kdf", 6},     {"PLAN.KDF", 6},        {"pack.Zip", 11},    {"pump.sym", 7},
        {"archive.kdx", 62}, {"sheet.pdf", 5},       {"plan.kdf.bak", 0}, {"README", 1},
        {"trailing.", 0},    {"/dir.kdf/README", 1}, {"old.mnf", 9},      {"old.PTR", 10},
        {"data.sqlite", 22}, {"model.fcstd", 44},    {"any.*", 66},       {"", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetFileType(c.Name), c.Type) << c.Name;
}

TEST(FileTypes, SetAndRemoveExtension) {
    EXPECT_EQ(SetFileType("plan.kdf", ftAllFiles), "plan.*");
    EXPECT_EQ(SetFileType("plan.kdf", ftNoExtension), "plan");
    EXPECT_EQ(SetFileType("/a.b/plan", ftSymbol), "/a.b/plan.sym");
    EXPECT_EQ(SetFileType("data.db", 22), "data.SQLite");
    EXPECT_EQ(SetFileType("plan.kdf", 60), "plan.mnf");
    // Numbers outside the table change nothing rather than reading past it.
    EXPECT_EQ(SetFileType("plan.kdf", 0), "plan.kdf");
    EXPECT_EQ(SetFileType("plan.kdf", 67), "plan.kdf");

    EXPECT_EQ(RemoveFileTypeExtension("dir/Plan.KDF", ftDiagram), "dir/Plan");
    EXPECT_EQ(RemoveFileTypeExtension("dir/Plan.kdf", ftSymbol), "dir/Plan.kdf");
    EXPECT_EQ(FileTypeMask(ftDiagram), "*.kdf");
}

TEST(FileTypes, DescriptionsStayInsideTheTable) {
    EXPECT_STREQ(FileTypeDescription(0), "Unknown");
    EXPECT_STREQ(FileTypeDescription(ftPackedDiagram), "Korvane Diagram File");
    EXPECT_STREQ(FileTypeDescription(ftAllFiles), "All File");
    EXPECT_STREQ(FileTypeDescription(200), "Unknown");
    EXPECT_STREQ(FileExtension(0), "");
    EXPECT_STREQ(FileExtension(200), "");
}

TEST(FindFiles, PlainFilesInCaseInsensitiveOrder) {
    TTempTree t;
    for (const char* name :
         {"b.kdf", "c.KDF", "A.kdf", "x.kdf", "X.kdf", ".hidden.kdf", "notes.txt", "sub/deep.kdf"})
        t.File(name);
    fs::create_directory(t.Root / "folder.kdf");
    const std::string r = t.Root.string();

    EXPECT_THAT(FindFiles(r, "*.kdf"), ElementsAre(r + "/.hidden.kdf", r + "/A.kdf", r + "/b.kdf",
                                                   r + "/c.KDF", r + "/X.kdf", r + "/x.kdf"));
    // A trailing separator on the folder still gives exactly one between folder and name.
    EXPECT_THAT(FindFiles(r + "/", "n*"), ElementsAre(r + "/notes.txt"));
    EXPECT_THAT(FindFiles(r + "/missing", "*.*"), IsEmpty());
    EXPECT_EQ(FindFiles(r, "*.*").size(), 7u);
}

TEST(FindFiles, MaskMatching) {
    const std::string longName(200, 'a');
    const struct {
        const char* Name;
        const char* Mask;
        bool Match;
    } cases[] = {
        {"plan.kdf", "*.kdf", true},
        {"plan.kdfx", "*.kdf", false},
        {"plan.KDF", "*.kdf", true},
        {"a.kdf", "?.kdf", true},
        {"ab.kdf", "?.kdf", false},
        {"\xC3\xA4.kdf", "?.kdf", true},
        {"README", "*.*", true},
        {"aXbXc", "a*b*c", true},
        {"aXbXcX", "a*b*c", false},
        {"page10.pdf", "page*.pdf", true},
        {"", "*", true},
        {"abc", "", false},
        {longName.c_str(), "*a*a*a*a*a*a*b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchesFileMask(c.Name, c.Mask), c.Match) << c.Name << " ~ " << c.Mask;
}

TEST(Folders, ForceAndDelete) {
    TTempTree t;
    EXPECT_FALSE(ForceFolder(""));
    const std::string deep = (t.Root / "a/b/c").string();
    EXPECT_TRUE(ForceFolder(deep));
    EXPECT_TRUE(fs::is_directory(deep));
    EXPECT_TRUE(ForceFolder(deep + "/"));
    EXPECT_FALSE(ForceFolder(t.File("plain").string()));

    t.File("a/b/c/file.txt");
    EXPECT_TRUE(DeleteFolder((t.Root / "a").string() + "/"));
    EXPECT_FALSE(fs::exists(t.Root / "a"));
}

TEST(Folders, DeleteNeverFollowsLinks) {
    TTempTree t;
    const fs::path keep = t.File("keep/precious.txt").parent_path();
    fs::create_directories(t.Root / "tree");
    fs::create_directory_symlink(keep, t.Root / "tree/inner-link");
    fs::create_directory_symlink(keep, t.Root / "top-link");

    EXPECT_TRUE(DeleteFolder((t.Root / "tree").string()));
    // With the trailing separator kept, the path would name the linked folder itself.
    EXPECT_TRUE(DeleteFolder((t.Root / "top-link").string() + "/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(t.Root / "top-link")));
    EXPECT_TRUE(fs::exists(keep / "precious.txt"));
}

TEST(Folders, LongFileName) {
    TTempTree t;
    t.File("sub/plan.kdf");
    const fs::path old = fs::current_path();
    fs::current_path(t.Root);
    EXPECT_EQ(GetLongFileName("./sub/../sub/plan.kdf"), (t.Root / "sub/plan.kdf").string());
    EXPECT_EQ(GetLongFileName("sub/missing.kdf"), "");
    fs::current_path(old);
    EXPECT_EQ(GetLongFileName(""), "");
}

TEST(ProgramFolders, FollowTheDesktopFolders) {
    TScopedEnv config("XDG_CONFIG_HOME", "/home/u/cfg/");
    TScopedEnv cache("XDG_CACHE_HOME", "/home/u/cache");
    TScopedEnv data("XDG_DATA_HOME", "/home/u/data");
    TScopedEnv tmp("TMPDIR", "/scratch//tmp/");

    EXPECT_EQ(GetTempFolder(), "/scratch/tmp/");
    // Nothing of the program sits in the shared temporary folder under a name known in advance.
    EXPECT_EQ(GetProgramTempFolder(), "/home/u/cache/QUAV/KorvaneViewer2023_temp/");
    EXPECT_EQ(GetWebLibTempFolder(), "/home/u/cache/QUAV/KorvaneViewer2023_temp/WebLib/");
    EXPECT_EQ(GetDefaultDataSheetFolder(), "/home/u/cache/QUAV/KorvaneViewer/Data Sheets/");
    EXPECT_EQ(GetUserDataFolder(), "/home/u/cfg/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetCommonDataFolder(), "/home/u/data/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetLocalMakerFolder(), "/home/u/cache/QUAV/");
    EXPECT_EQ(GetIniFolder(), "/home/u/cfg/QUAV/KorvaneViewer/Ini/");
    EXPECT_EQ(GetIniFileName(), "/home/u/cfg/QUAV/KorvaneViewer/Ini/test_platform.ini");
    EXPECT_EQ(GetWindowPosIniFileName(), "/home/u/cfg/QUAV/KorvaneViewer/Ini/test_platform_WindowPos.ini");
    EXPECT_EQ(GetProgramVersionText(), "KorvaneViewer 2023 build 112");
}

TEST(ProgramFolders, UnsetOrRelativeVariablesFallBackBelowHome) {
    TScopedEnv home("HOME", "/home/u");
    TScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
    TScopedEnv cache("XDG_CACHE_HOME", nullptr);
    TScopedEnv data("XDG_DATA_HOME", "");
    TScopedEnv tmp("TMPDIR", nullptr);

    EXPECT_EQ(GetUserDataFolder(), "/home/u/.config/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetLocalMakerFolder(), "/home/u/.cache/QUAV/");
    EXPECT_EQ(GetDefaultDataSheetFolder(), "/home/u/.cache/QUAV/KorvaneViewer/Data Sheets/");
    EXPECT_EQ(GetProgramTempFolder(), "/home/u/.cache/QUAV/KorvaneViewer2023_temp/");
    EXPECT_EQ(GetCommonDataFolder(), "/home/u/.local/share/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetTempFolder(), "/tmp/");
}

namespace {

fs::perms PermissionsOf(const fs::path& p) {
    return fs::symlink_status(p).permissions() & fs::perms::mask;
}

class TScopedUmask {
public:
    explicit TScopedUmask(mode_t mask) : fOld(::umask(mask)) {}
    ~TScopedUmask() { ::umask(fOld); }

private:
    mode_t fOld;
};

} // namespace

TEST(PrivateFolders, MadeForThisUserAlone) {
    TTempTree t;
    const TScopedUmask readableByAll(022);
    const std::string made = ForcePrivateFolder(t.Root.string() + "/base/", "QUAV/Viewer/Data Sheets");
    EXPECT_EQ(made, t.Root.string() + "/base/QUAV/Viewer/Data Sheets/");
    for (const char* folder : {"base/QUAV", "base/QUAV/Viewer", "base/QUAV/Viewer/Data Sheets"})
        EXPECT_EQ(PermissionsOf(t.Root / folder), fs::perms::owner_all) << folder;

    // A folder that is already there and ours is tightened, and making it again changes nothing.
    fs::permissions(t.Root / "base/QUAV/Viewer/Data Sheets", fs::perms(0755));
    fs::permissions(t.Root / "base/QUAV", fs::perms(0755));
    EXPECT_EQ(ForcePrivateFolder((t.Root / "base").string(), "QUAV/Viewer/Data Sheets"), made);
    EXPECT_EQ(PermissionsOf(t.Root / "base/QUAV/Viewer/Data Sheets"), fs::perms::owner_all);
    EXPECT_EQ(PermissionsOf(t.Root / "base/QUAV"), fs::perms(0755))
        << "only the last folder is the program's";
}

TEST(PrivateFolders, LinksAndStrangersAreRefusedAndLeftAlone) {
    TTempTree t;
    const fs::path base = t.Root / "cache";
    const fs::path elsewhere = t.Root / "elsewhere";
    fs::create_directories(base / "QUAV");
    fs::create_directories(elsewhere);
    fs::permissions(elsewhere, fs::perms(0755));
    const struct {
        const char* Case;
        std::function<void()> Plant;
        const char* Relative;
    } cases[] = {
        {"link as the last folder", [&] { fs::create_directory_symlink(elsewhere, base / "QUAV/temp"); },
         "QUAV/temp"},
        {"link on the way", [&] { fs::create_directory_symlink(elsewhere, base / "QUAV/via"); },
         "QUAV/via/temp"},
        {"dangling link", [&] { fs::create_symlink(t.Root / "nothing", base / "QUAV/dangling"); },
         "QUAV/dangling"},
        {"a file", [&] { std::ofstream(base / "QUAV/file") << "x"; }, "QUAV/file"},
        {"others may write on the way",
         [&] {
             fs::create_directories(base / "QUAV/open");
             fs::permissions(base / "QUAV/open", fs::perms(0777));
         },
         "QUAV/open/temp"},
        {"climbing out", [] {}, "QUAV/../../elsewhere"},
        {"no name", [] {}, "/"},
    };
    for (const auto& c : cases) {
        c.Plant();
        std::string error;
        EXPECT_EQ(ForcePrivateFolder(base.string(), c.Relative, &error), "") << c.Case;
        EXPECT_FALSE(error.empty()) << c.Case;
    }
    // Nothing was made or changed through the links.
    EXPECT_TRUE(fs::is_empty(elsewhere));
    EXPECT_EQ(PermissionsOf(elsewhere), fs::perms(0755));
    EXPECT_FALSE(fs::exists(t.Root / "nothing"));
    EXPECT_EQ(PermissionsOf(base / "QUAV/open"), fs::perms(0777));
}

TEST(PrivateFolders, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "giving a folder to another user takes root";
    TTempTree t;
    fs::create_directories(t.Root / "cache/QUAV/temp");
    fs::create_directories(t.Root / "cache/theirs");
    ASSERT_EQ(::chown((t.Root / "cache/QUAV/temp").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chown((t.Root / "cache/theirs").c_str(), 65534, 65534), 0);
    fs::permissions(t.Root / "cache/QUAV/temp", fs::perms(0755));
    std::string error;
    EXPECT_EQ(ForcePrivateFolder((t.Root / "cache").string(), "QUAV/temp", &error), "");
    EXPECT_THAT(error, ::testing::HasSubstr("another user"));
    EXPECT_EQ(ForcePrivateFolder((t.Root / "cache").string(), "theirs/temp"), "");
    EXPECT_FALSE(fs::exists(t.Root / "cache/theirs/temp"));
    EXPECT_EQ(PermissionsOf(t.Root / "cache/QUAV/temp"), fs::perms(0755));
}

TEST(PrivateFolders, ProgramFoldersGoBelowTheUsersCacheWhenFirstUsed) {
    TTempTree t;
    fs::create_directories(t.Root / "tmp");
    TScopedEnv home("HOME", (t.Root / "home").c_str());
    TScopedEnv cache("XDG_CACHE_HOME", nullptr);
    TScopedEnv tmp("TMPDIR", (t.Root / "tmp").c_str());

    // Only asking for the names makes nothing.
    EXPECT_EQ(GetDefaultDataSheetFolder(), (t.Root / "home/.cache/QUAV/KorvaneViewer/Data Sheets/").string());
    EXPECT_FALSE(fs::exists(t.Root / "home"));

    EXPECT_EQ(ForceDefaultDataSheetFolder(), GetDefaultDataSheetFolder());
    EXPECT_EQ(ForceWebLibTempFolder(), GetWebLibTempFolder());
    EXPECT_EQ(ForceProgramTempFolder(), GetProgramTempFolder());
    for (const std::string& folder :
         {GetDefaultDataSheetFolder(), GetWebLibTempFolder(), GetProgramTempFolder()})
        EXPECT_EQ(PermissionsOf(folder), fs::perms::owner_all) << folder;
    EXPECT_TRUE(fs::is_empty(t.Root / "tmp"));

    // Someone who planted a link in the user's cache gets nothing written through it.
    DeleteFolder(GetProgramTempFolder());
    fs::create_directory_symlink(t.Root / "tmp", ExcludeTrailingPathDelimiter(GetProgramTempFolder()));
    EXPECT_EQ(ForceWebLibTempFolder(), "");
    EXPECT_TRUE(fs::is_empty(t.Root / "tmp"));
}

TEST(Messages, BoxesAndTexts) {
    TRecordingMessageBoxes boxes;
    {
        TScopedMessageBoxes use(boxes);
        ShowWarningMessage("careful");
        ShowCannotHandleFile("/data/plan.zip");
        boxes.QuestionAnswer = true;
        EXPECT_TRUE(ShowQuestionMessage("sure?"));
    }
    ShowInformationMessage("after the scope: not recorded");
    using M = TRecordingMessageBoxes::TMessage;
    EXPECT_THAT(boxes.Messages, ElementsAre(M{TMessageKind::mkWarning, "careful"},
                                            M{TMessageKind::mkError, "Cannot handle file:\n/data/plan.zip"},
                                            M{TMessageKind::mkQuestion, "sure?"}));
    // With nobody to answer, a question is declined.
    EXPECT_FALSE(TStdErrMessageBoxes().Show(TMessageKind::mkQuestion, "overwrite?"));
}

TEST(Messages, FormatAndTranslateFallBackToTheIds) {
    EXPECT_EQ(_("Cannot open %s !"), "Cannot open %s !");
    EXPECT_EQ(_(""), "");
    EXPECT_EQ(FormatText("saved with %s %s, yours is %s", {"A", "B", "C"}), "saved with A B, yours is C");
    EXPECT_EQ(FormatText("100%% of %s", {"x"}), "100% of x");
    EXPECT_EQ(FormatText("%s and %s", {"only"}), "only and %s");
    EXPECT_EQ(FormatText("%s", {"%s twice"}), "%s twice");
}

TEST(Messages, OpenDocumentReportsFailures) {
    TTempTree t;
    const std::string sheet = t.File("sheet.pdf").string();
    std::vector<std::string> asked;
    bool accept = true;
    const TDocumentOpener previous = SetDocumentOpener([&](const std::string& path) {
        asked.push_back(path);
        return accept;
    });
    TRecordingMessageBoxes boxes;
    TScopedMessageBoxes use(boxes);

    EXPECT_TRUE(OpenDocument(sheet));
    EXPECT_THAT(boxes.Messages, IsEmpty());

    accept = false;
    EXPECT_FALSE(OpenDocument(sheet));
    // A missing file never reaches the desktop: the user gets the same clear message.
    EXPECT_FALSE(OpenDocument((t.Root / "gone.pdf").string()));
    EXPECT_THAT(asked, ElementsAre(sheet, sheet));
    using M = TRecordingMessageBoxes::TMessage;
    EXPECT_THAT(boxes.Messages, ElementsAre(M{TMessageKind::mkError, "Cannot open " + sheet + " !"},
                                            M{TMessageKind::mkError,
                                              "Cannot open " + (t.Root / "gone.pdf").string() + " !"}));
    SetDocumentOpener(previous);
}
