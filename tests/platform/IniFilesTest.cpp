#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/IniFiles.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const char* const SampleIni = "[Options]\n"
                              "  Name =  two words  \n"
                              "Empty=\n"
                              "On=1\n"
                              "Off=0\n"
                              "Minus=-1\n"
                              "Yes=yes\n"
                              "Hex=0x1F\n"
                              "Dollar=$10\n"
                              "Lead=12abc\n"
                              "Huge=99999999999999999999999\n"
                              "Path=C:\\a=b;c\n"
                              "Twice=first\n"
                              "twice=second\n"
                              "; Commented=1\n"
                              "[ Spaced Section ]\n"
                              "k=v\n";

} // namespace

TEST(IniFiles, ReadsValuesTheWayTheProfileApiDoes) {
    TTempDir dir;
    const TIniFile ini(dir.Write("a.ini", SampleIni));
    struct TCase {
        const char *Section, *Key, *Expected;
    };
    const TCase strings[] = {
        {"options", "NAME", "two words"},  {"OPTIONS", "empty", ""},         {"Options", "Path", "C:\\a=b;c"},
        {"Options", "Twice", "first"},     {"Options", "Commented", "dflt"}, {"Options", "Missing", "dflt"},
        {"NoSuchSection", "Name", "dflt"}, {"spaced section", "K", "v"},
    };
    for (const TCase& c : strings)
        EXPECT_EQ(ini.ReadString(c.Section, c.Key, "dflt"), c.Expected) << c.Section << "/" << c.Key;

    struct TIntCase {
        const char* Key;
        long Expected;
    };
    const TIntCase integers[] = {{"On", 1},      {"Off", 0},   {"Minus", -1}, {"Yes", 77},   {"Hex", 31},
                                 {"Dollar", 16}, {"Lead", 12}, {"Huge", 77},  {"Empty", 77}, {"Missing", 77}};
    for (const TIntCase& c : integers)
        EXPECT_EQ(ini.ReadInteger("Options", c.Key, 77), c.Expected) << c.Key;

    struct TBoolCase {
        const char* Key;
        bool Def, Expected;
    };
    const TBoolCase bools[] = {{"On", false, true},   {"Minus", false, true}, {"Off", true, false},
                               {"Yes", false, false}, {"Yes", true, true},    {"Missing", true, true}};
    for (const TBoolCase& c : bools)
        EXPECT_EQ(ini.ReadBool("Options", c.Key, c.Def), c.Expected) << c.Key;

    EXPECT_TRUE(ini.SectionExists("OPTIONS"));
    EXPECT_FALSE(ini.SectionExists("Option"));
    EXPECT_TRUE(ini.ValueExists("options", "empty"));
    EXPECT_FALSE(ini.ValueExists("options", "Commented"));
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"Options", "Spaced Section"}));
    EXPECT_EQ(ini.ReadSection("Options"),
              (std::vector<std::string>{"Name", "Empty", "On", "Off", "Minus", "Yes", "Hex", "Dollar", "Lead",
                                        "Huge", "Path", "Twice"}));
}

TEST(IniFiles, RoundTripKeepsCommentsBlankLinesAndUntouchedLines) {
    TTempDir dir;
    const std::string original = "; written by hand\n"
                                 "\n"
                                 "[First]\n"
                                 "  Spaced  =  kept as it was\n"
                                 "Change=old\n"
                                 "; a note inside\n"
                                 "Gone=1\n"
                                 "not a key line\n"
                                 "\n"
                                 "[Second]\n"
                                 "x=1\n";
    const std::string file = dir.Write("r.ini", original);
    TIniFile ini(file);
    ini.WriteString("first", "CHANGE", "new");
    ini.WriteInteger("First", "Added", -5);
    ini.DeleteKey("FIRST", "gone");
    ini.WriteBool("Third", "Flag", true);
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadWholeFile(file), "; written by hand\n"
                                   "\n"
                                   "[First]\n"
                                   "  Spaced  =  kept as it was\n"
                                   "Change=new\n"
                                   "; a note inside\n"
                                   "Added=-5\n"
                                   "not a key line\n"
                                   "\n"
                                   "[Second]\n"
                                   "x=1\n"
                                   "[Third]\n"
                                   "Flag=1\n");

    TIniFile again(file);
    again.EraseSection("second");
    ASSERT_TRUE(again.UpdateFile());
    const TIniFile last(file);
    EXPECT_FALSE(last.SectionExists("Second"));
    EXPECT_EQ(last.ReadInteger("First", "Added", 0), -5);
    EXPECT_TRUE(last.ReadBool("Third", "Flag", false));
}

TEST(IniFiles, CrLfAndByteOrderMarkAreReadAndWrittenBack) {
    TTempDir dir;
    const std::string file = dir.Write("w.ini", "\xEF\xBB\xBF[S]\r\nA=1\r\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("S", "A", ""), "1");
    ini.WriteString("S", "B", "2");
    ASSERT_TRUE(ini.UpdateFile());
    EXPECT_EQ(ReadWholeFile(file), "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFiles, TextsThatWouldBreakTheLinesAreNotWrittenAsSuch) {
    TTempDir dir;
    const std::string file = dir.File("s.ini");
    TIniFile ini(file);
    ini.WriteString("S", "Host", "proxy\n[Injected]\r\nEvil=1");
    ini.WriteString("S", "A=B", "x");
    ini.WriteString("S", "", "x");
    ini.WriteString("Bad]Section", "K", "x");
    ASSERT_TRUE(ini.UpdateFile());
    const TIniFile back(file);
    EXPECT_EQ(back.ReadSections(), std::vector<std::string>{"S"});
    EXPECT_EQ(back.ReadSection("S"), std::vector<std::string>{"Host"});
    EXPECT_EQ(back.ReadString("S", "Host", ""), "proxy [Injected]  Evil=1");
}

TEST(IniFiles, DamagedOrOddFilesReadAsEmpty) {
    TTempDir dir;
    // NUL bytes: not a text file.
    EXPECT_FALSE(TIniFile(dir.Write("nul.ini", std::string("[S]\nA=1\0\n", 9))).SectionExists("S"));
    // Absurd size, even though the text itself would be sound.
    const std::string huge = dir.Write("huge.ini", "[S]\nA=1\n;" + std::string(17u << 20, 'x') + "\n");
    EXPECT_FALSE(TIniFile(huge).SectionExists("S"));
    // A FIFO would block a plain read.
    const std::string fifo = dir.File("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(TIniFile(fifo).SectionExists("S"));
    EXPECT_FALSE(TIniFile(dir.File("missing.ini")).SectionExists("S"));
    EXPECT_TRUE(TIniFile(dir.Path().string()).ReadSections().empty());
}

TEST(IniFiles, UpdateFileWritesAtomicallyAndKeepsPermissions) {
    TTempDir dir;
    // New file: the folder is made, the mode is the one asked for.
    const std::string fresh = dir.File("made/below/new.ini");
    TIniFile a(fresh);
    a.WriteString("S", "K", "v");
    ASSERT_TRUE(a.UpdateFile(nullptr, 0600));
    EXPECT_EQ(ModeOf(fresh), 0600u);
    EXPECT_EQ(FolderEntries(dir.Path() / "made/below"), std::vector<std::string>{"new.ini"});

    // Existing file: its own mode stays, and it is replaced, not rewritten in place (a hard link
    // made before still holds the old contents).
    const std::string old = dir.Write("old.ini", "[S]\nK=old\n");
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    const std::string link = dir.File("hardlink");
    ASSERT_EQ(::link(old.c_str(), link.c_str()), 0);
    TIniFile b(old);
    b.WriteString("S", "K", "new");
    ASSERT_TRUE(b.UpdateFile(nullptr, 0600));
    EXPECT_EQ(ModeOf(old), 0640u);
    EXPECT_EQ(TIniFile(old).ReadString("S", "K", ""), "new");
    EXPECT_EQ(ReadWholeFile(link), "[S]\nK=old\n");
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"hardlink", "made", "old.ini"}));
}

TEST(IniFiles, UpdateFileReportsFailure) {
    TTempDir dir;
    // A plain file where the folder should be: no user, root included, can write below it.
    const std::string blocker = dir.Write("blocker", "x");
    TIniFile ini(blocker + "/sub/s.ini");
    ini.WriteString("S", "K", "v");
    std::string error;
    EXPECT_FALSE(ini.UpdateFile(&error));
    EXPECT_NE(error.find(blocker + "/sub/s.ini"), std::string::npos) << error;
    EXPECT_EQ(ReadWholeFile(blocker), "x");

    // A folder in the file's place: the rename fails and no temporary file is left behind.
    fs::create_directory(dir.File("taken.ini"));
    TIniFile taken(dir.File("taken.ini"));
    taken.WriteString("S", "K", "v");
    error.clear();
    EXPECT_FALSE(taken.UpdateFile(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"blocker", "taken.ini"}));
}
