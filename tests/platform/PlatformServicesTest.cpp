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
#include <optional>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class TTempTree {
public:
    TTempTree() {
        std::string Pattern = (fs::temp_directory_path() / "kvshellXXXXXX").string();
        Root = ::mkdtemp(Pattern.data());
    }
    ~TTempTree() {
        std::error_code Ignored;
        fs::remove_all(Root, Ignored);
    }
    fs::path File(const std::string& Relative, const std::string& Content = "x") const {
        const fs::path P = Root / Relative;
        fs::create_directories(P.parent_path());
        std::ofstream(P) << Content;
        return P;
    }
    fs::path Root;
};

// Sets an environment variable for one scope and puts the old value back after.
class TScopedEnv {
public:
    TScopedEnv(const char* Name, const char* Value) : fName(Name) {
        if (const char* Old = std::getenv(Name)) fOld = Old;
        if (Value)
            ::setenv(Name, Value, 1);
        else
            ::unsetenv(Name);
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
    } Cases[] = {
        {"plan.kdf", 6},     {"PLAN.KDF", 6},        {"pack.Zip", 11},    {"pump.sym", 7},
        {"archive.kdx", 62}, {"sheet.pdf", 5},       {"plan.kdf.bak", 0}, {"README", 1},
        {"trailing.", 0},    {"/dir.kdf/README", 1}, {"old.mnf", 9},      {"old.PTR", 10},
        {"data.sqlite", 22}, {"model.fcstd", 44},    {"any.*", 66},       {"", 1},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(GetFileType(C.Name), C.Type) << C.Name;
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
    TTempTree T;
    for (const char* Name :
         {"b.kdf", "c.KDF", "A.kdf", "x.kdf", "X.kdf", ".hidden.kdf", "notes.txt", "sub/deep.kdf"})
        T.File(Name);
    fs::create_directory(T.Root / "folder.kdf");
    const std::string R = T.Root.string();

    EXPECT_THAT(FindFiles(R, "*.kdf"), ElementsAre(R + "/.hidden.kdf", R + "/A.kdf", R + "/b.kdf",
                                                   R + "/c.KDF", R + "/X.kdf", R + "/x.kdf"));
    // A trailing separator on the folder still gives exactly one between folder and name.
    EXPECT_THAT(FindFiles(R + "/", "n*"), ElementsAre(R + "/notes.txt"));
    EXPECT_THAT(FindFiles(R + "/missing", "*.*"), IsEmpty());
    EXPECT_EQ(FindFiles(R, "*.*").size(), 7u);
}

TEST(FindFiles, MaskMatching) {
    const std::string Long(200, 'a');
    const struct {
        const char* Name;
        const char* Mask;
        bool Match;
    } Cases[] = {
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
        {Long.c_str(), "*a*a*a*a*a*a*b", false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(MatchesFileMask(C.Name, C.Mask), C.Match) << C.Name << " ~ " << C.Mask;
}

TEST(Folders, ForceAndDelete) {
    TTempTree T;
    EXPECT_FALSE(ForceFolder(""));
    const std::string Deep = (T.Root / "a/b/c").string();
    EXPECT_TRUE(ForceFolder(Deep));
    EXPECT_TRUE(fs::is_directory(Deep));
    EXPECT_TRUE(ForceFolder(Deep + "/"));
    EXPECT_FALSE(ForceFolder(T.File("plain").string()));

    T.File("a/b/c/file.txt");
    EXPECT_TRUE(DeleteFolder((T.Root / "a").string() + "/"));
    EXPECT_FALSE(fs::exists(T.Root / "a"));
}

TEST(Folders, DeleteNeverFollowsLinks) {
    TTempTree T;
    const fs::path Keep = T.File("keep/precious.txt").parent_path();
    fs::create_directories(T.Root / "tree");
    fs::create_directory_symlink(Keep, T.Root / "tree/inner-link");
    fs::create_directory_symlink(Keep, T.Root / "top-link");

    EXPECT_TRUE(DeleteFolder((T.Root / "tree").string()));
    // With the trailing separator kept, the path would name the linked folder itself.
    EXPECT_TRUE(DeleteFolder((T.Root / "top-link").string() + "/"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(T.Root / "top-link")));
    EXPECT_TRUE(fs::exists(Keep / "precious.txt"));
}

TEST(Folders, LongFileName) {
    TTempTree T;
    T.File("sub/plan.kdf");
    const fs::path Old = fs::current_path();
    fs::current_path(T.Root);
    EXPECT_EQ(GetLongFileName("./sub/../sub/plan.kdf"), (T.Root / "sub/plan.kdf").string());
    EXPECT_EQ(GetLongFileName("sub/missing.kdf"), "");
    fs::current_path(Old);
    EXPECT_EQ(GetLongFileName(""), "");
}

TEST(ProgramFolders, FollowTheDesktopFolders) {
    TScopedEnv Config("XDG_CONFIG_HOME", "/home/u/cfg/");
    TScopedEnv Cache("XDG_CACHE_HOME", "/home/u/cache");
    TScopedEnv Data("XDG_DATA_HOME", "/home/u/data");
    TScopedEnv Tmp("TMPDIR", "/scratch//tmp/");

    EXPECT_EQ(GetTempFolder(), "/scratch/tmp/");
    EXPECT_EQ(GetProgramTempFolder(), "/scratch/tmp/KorvaneViewer1.0.0_temp/");
    EXPECT_EQ(GetWebLibTempFolder(), "/scratch/tmp/KorvaneViewer1.0.0_temp/WebLib/");
    EXPECT_EQ(GetUserDataFolder(), "/home/u/cfg/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetCommonDataFolder(), "/home/u/data/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetLocalMakerFolder(), "/home/u/cache/QUAV/");
    EXPECT_EQ(GetIniFolder(), "/home/u/cfg/QUAV/KorvaneViewer/Ini/");
    EXPECT_EQ(GetIniFileName(), "/home/u/cfg/QUAV/KorvaneViewer/Ini/test_platform.ini");
    EXPECT_EQ(GetWindowPosIniFileName(), "/home/u/cfg/QUAV/KorvaneViewer/Ini/test_platform_WindowPos.ini");
    EXPECT_EQ(GetProgramVersionText(), "KorvaneViewer 1.0.0 build 1300");
}

TEST(ProgramFolders, UnsetOrRelativeVariablesFallBackBelowHome) {
    TScopedEnv Home("HOME", "/home/u");
    TScopedEnv Config("XDG_CONFIG_HOME", "relative/cfg");
    TScopedEnv Cache("XDG_CACHE_HOME", nullptr);
    TScopedEnv Data("XDG_DATA_HOME", "");
    TScopedEnv Tmp("TMPDIR", nullptr);

    EXPECT_EQ(GetUserDataFolder(), "/home/u/.config/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetLocalMakerFolder(), "/home/u/.cache/QUAV/");
    EXPECT_EQ(GetCommonDataFolder(), "/home/u/.local/share/QUAV/KorvaneViewer/");
    EXPECT_EQ(GetTempFolder(), "/tmp/");
}

TEST(Messages, BoxesAndTexts) {
    TRecordingMessageBoxes Boxes;
    {
        TScopedMessageBoxes Use(Boxes);
        ShowWarningMessage("careful");
        ShowCannotHandleFile("/data/plan.zip");
        Boxes.QuestionAnswer = true;
        EXPECT_TRUE(ShowQuestionMessage("sure?"));
    }
    ShowInformationMessage("after the scope: not recorded");
    using M = TRecordingMessageBoxes::TMessage;
    EXPECT_THAT(Boxes.Messages, ElementsAre(M{TMessageKind::mkWarning, "careful"},
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
    TTempTree T;
    const std::string Sheet = T.File("sheet.pdf").string();
    std::vector<std::string> Asked;
    bool Accept = true;
    const TDocumentOpener Previous = SetDocumentOpener([&](const std::string& Path) {
        Asked.push_back(Path);
        return Accept;
    });
    TRecordingMessageBoxes Boxes;
    TScopedMessageBoxes Use(Boxes);

    EXPECT_TRUE(OpenDocument(Sheet));
    EXPECT_THAT(Boxes.Messages, IsEmpty());

    Accept = false;
    EXPECT_FALSE(OpenDocument(Sheet));
    // A missing file never reaches the desktop: the user gets the same clear message.
    EXPECT_FALSE(OpenDocument((T.Root / "gone.pdf").string()));
    EXPECT_THAT(Asked, ElementsAre(Sheet, Sheet));
    using M = TRecordingMessageBoxes::TMessage;
    EXPECT_THAT(Boxes.Messages, ElementsAre(M{TMessageKind::mkError, "Cannot open " + Sheet + " !"},
                                            M{TMessageKind::mkError,
                                              "Cannot open " + (T.Root / "gone.pdf").string() + " !"}));
    SetDocumentOpener(Previous);
}
