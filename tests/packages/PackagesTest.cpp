// ZIP packages and packed drawing archives: real archives made with Info-ZIP and Python's
// zipfile inside each test, and hostile ones patched byte by byte.
#include "packages/PackageOpener.h"
#include "packages/QuavZip.h"
#include "packages/TempDirs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::StartsWith;

namespace {

// Byte surgery on archives Python's zipfile wrote (no data descriptors, one entry per member).
constexpr const char* PythonPrelude = R"PY(
import os, struct, sys, zipfile

def entries(data):
    end = data.rfind(b'PK\x05\x06')
    count, size, start = struct.unpack_from('<HII', data, end + 10)
    pos, result = start, []
    for _ in range(count):
        nlen, elen, clen = struct.unpack_from('<HHH', data, pos + 28)
        local = struct.unpack_from('<I', data, pos + 42)[0]
        result.append((pos, local))
        pos += 46 + nlen + elen + clen
    return result

def patch(path, index, method=None, usize=None):
    data = bytearray(open(path, 'rb').read())
    central, local = entries(data)[index]
    if method is not None:
        struct.pack_into('<H', data, central + 10, method)
        struct.pack_into('<H', data, local + 8, method)
    if usize is not None:
        struct.pack_into('<I', data, central + 24, usize)
        struct.pack_into('<I', data, local + 22, usize)
    open(path, 'wb').write(bytes(data))

def flip_first_data_byte(path, index):
    data = bytearray(open(path, 'rb').read())
    local = entries(data)[index][1]
    nlen, elen = struct.unpack_from('<HH', data, local + 26)
    data[local + 30 + nlen + elen] ^= 0xFF
    open(path, 'wb').write(bytes(data))

def write(path, members, method=zipfile.ZIP_DEFLATED):
    with zipfile.ZipFile(path, 'w', method) as z:
        for name, content in members:
            z.writestr(zipfile.ZipInfo(name), content, compress_type=method)
)PY";

std::string Quote(const std::string& Text) {
    std::string Result = "'";
    for (char C : Text)
        Result += C == '\'' ? std::string("'\\''") : std::string(1, C);
    return Result + "'";
}

std::string PythonProgram() {
    return fs::exists("/usr/bin/python3") ? std::string("/usr/bin/python3") : std::string("python3");
}

class TArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string Pattern = (fs::temp_directory_path() / "kvpkgXXXXXX").string();
        ASSERT_NE(::mkdtemp(Pattern.data()), nullptr);
        Root = Pattern;
        Temp = Root / "tmp";
        Source = Root / "src";
        fs::create_directories(Temp);
        fs::create_directories(Source);
    }
    void TearDown() override {
        std::error_code Ignored;
        fs::remove_all(Root, Ignored);
    }

    fs::path File(const std::string& Relative, const std::string& Content) const {
        const fs::path P = Source / Relative;
        fs::create_directories(P.parent_path());
        std::ofstream(P, std::ios::binary) << Content;
        return P;
    }

    // Runs a shell command in the source folder; the test fails when the command does.
    void Run(const std::string& Command) const {
        const std::string Line = "cd " + Quote(Source.string()) + " && " + Command + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(Line.c_str()), 0) << Line;
    }

    void Python(const std::string& Script) const {
        const fs::path ScriptFile = Root / "make.py";
        std::ofstream(ScriptFile) << PythonPrelude << Script;
        Run(PythonProgram() + " " + Quote(ScriptFile.string()));
    }

    // Every path below Root, links listed as links and never entered.
    std::set<std::string> Tree() const {
        std::set<std::string> Paths;
        for (auto It = fs::recursive_directory_iterator(Root); It != fs::recursive_directory_iterator(); ++It)
            Paths.insert(fs::relative(It->path(), Root).string());
        return Paths;
    }

    static std::string Read(const fs::path& P) {
        std::ifstream In(P, std::ios::binary);
        std::stringstream S;
        S << In.rdbuf();
        return S.str();
    }

    fs::path Root, Temp, Source;
};

// Names the test chooses one after another, so that name clashes can be staged.
struct TSequence {
    std::vector<uint32_t> Numbers;
    size_t Next = 0;
    uint32_t operator()() { return Numbers[std::min(Next++, Numbers.size() - 1)]; }
};

} // namespace

TEST(SafeMemberPath, KeepsOnlyNamesBelowTheFolder) {
    const struct {
        const char* Stored;
        const char* Safe;
    } Cases[] = {
        {"plan.kdf", "plan.kdf"},
        {"a/b/plan.kdf", "a/b/plan.kdf"},
        {"a\\b\\plan.kdf", "a/b/plan.kdf"},
        {"./a//b", "a/b"},
        {"...", "..."},
        {"a..b/c", "a..b/c"},
        {"../x", ""},
        {"..\\x", ""},
        {"a/../../x", ""},
        {"a/..", ""},
        {"/etc/x", ""},
        {"\\x", ""},
        {"C:x", ""},
        {"c:/x", ""},
        {"", ""},
        {".", ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(SafeMemberPath(C.Stored), C.Safe) << C.Stored;
}

TEST_F(TArchiveTest, ZipPackageWithTopLevelDrawing) {
    File("plan.kdf", "drawing");
    File("notes.txt", "n");
    Run("zip -q pack.zip notes.txt plan.kdf");
    const std::string Zip = (Source / "pack.zip").string();

    EXPECT_EQ(FindDrawingInZip(Zip), "plan.kdf");
    TTempDirs Dirs(Temp.string());
    const TPackageOpenResult R = OpenZipPackage(Zip, Dirs);
    ASSERT_EQ(R.Status, TPackageOpenStatus::posDrawingFound) << R.ErrorText;
    EXPECT_EQ(fs::path(R.UnpackFolder).parent_path(), Temp);
    EXPECT_THAT(fs::path(R.UnpackFolder).filename().string(), StartsWith("Unpack_"));
    EXPECT_EQ(R.DrawingFileName, R.UnpackFolder + "/plan.kdf");
    EXPECT_EQ(Read(R.DrawingFileName), "drawing");
    EXPECT_EQ(Read(R.UnpackFolder + "/notes.txt"), "n");
    EXPECT_EQ(fs::status(R.UnpackFolder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_THAT(Dirs.Folders(), ElementsAre(R.UnpackFolder));
}

TEST_F(TArchiveTest, DrawingInSubFolderAndFolderEntriesAreNotMembers) {
    Python(
        "write('pack.zip', [('readme.txt', 'r'), ('Dir/', ''), ('Dir/Sub/', ''), ('Dir/Sub/pump.SYM', 'sym'),"
        " ('later.kdf', 'k')])");
    const std::string Zip = (Source / "pack.zip").string();

    TZipFile Reader;
    Reader.Open(Zip, TZipMode::zmRead);
    ASSERT_EQ(Reader.GetFileCount(), 3);
    EXPECT_EQ(Reader.GetFileName(1), "Dir/Sub/pump.SYM");
    EXPECT_THROW(Reader.GetFileName(3), EZipError);

    EXPECT_EQ(FindDrawingInZip(Zip), "Dir/Sub/pump.SYM");
    TTempDirs Dirs(Temp.string());
    const TPackageOpenResult R = OpenZipPackage(Zip, Dirs);
    ASSERT_EQ(R.Status, TPackageOpenStatus::posDrawingFound) << R.ErrorText;
    EXPECT_EQ(R.DrawingFileName, R.UnpackFolder + "/Dir/Sub/pump.SYM");
    EXPECT_EQ(Read(R.DrawingFileName), "sym");
}

TEST_F(TArchiveTest, PackageWithoutDrawingOpensNothing) {
    Python("write('pack.zip', [('docs/', ''), ('docs/readme.txt', 'r')])");
    TTempDirs Dirs(Temp.string());
    const TPackageOpenResult R = OpenZipPackage((Source / "pack.zip").string(), Dirs);
    EXPECT_EQ(R.Status, TPackageOpenStatus::posNoDrawing);
    EXPECT_EQ(R.DrawingFileName, "");
    EXPECT_TRUE(fs::is_empty(Temp));

    EXPECT_EQ(OpenZipPackage((Source / "missing.zip").string(), Dirs).Status,
              TPackageOpenStatus::posFileMissing);
    EXPECT_EQ(OpenPackedDrawing((Source / "missing.kdx").string(), Dirs).Status,
              TPackageOpenStatus::posFileMissing);
}

TEST_F(TArchiveTest, MemberNamesInUtf8AndCodePage437) {
    // Python flags non-ASCII names as UTF-8; the second name is patched to the CP437 byte of "é".
    Python("write('pack.zip', [('Sch\\u00e9ma/Pumpe-\\u00e4.kdf', 'u'), ('SchXma.txt', 'c')])\n"
           "d = open('pack.zip', 'rb').read().replace(b'SchXma', b'Sch\\x82ma')\n"
           "open('pack.zip', 'wb').write(d)\n");
    const std::string Zip = (Source / "pack.zip").string();
    TZipFile Reader(Zip, TZipMode::zmRead);
    ASSERT_EQ(Reader.GetFileCount(), 2);
    EXPECT_EQ(Reader.GetFileName(0), "Sch\xC3\xA9ma/Pumpe-\xC3\xA4.kdf");
    EXPECT_EQ(Reader.GetFileName(1), "Sch\xC3\xA9ma.txt");

    TTempDirs Dirs(Temp.string());
    const TPackageOpenResult R = OpenZipPackage(Zip, Dirs);
    ASSERT_EQ(R.Status, TPackageOpenStatus::posDrawingFound) << R.ErrorText;
    EXPECT_EQ(Read(R.UnpackFolder + "/Sch\xC3\xA9ma/Pumpe-\xC3\xA4.kdf"), "u");
    EXPECT_EQ(Read(R.UnpackFolder + "/Sch\xC3\xA9ma.txt"), "c");
}

TEST_F(TArchiveTest, SamePackageTwiceGetsTwoFoldersBothGoneAtExit) {
    File("plan.kdf", "drawing");
    Run("zip -q pack.zip plan.kdf");
    std::string First, Second;
    {
        TTempDirs Dirs(Temp.string());
        First = OpenZipPackage((Source / "pack.zip").string(), Dirs).UnpackFolder;
        Second = OpenZipPackage((Source / "pack.zip").string(), Dirs).UnpackFolder;
        ASSERT_FALSE(First.empty());
        ASSERT_FALSE(Second.empty());
        EXPECT_NE(First, Second);
        EXPECT_TRUE(fs::exists(First + "/plan.kdf"));
        EXPECT_TRUE(fs::exists(Second + "/plan.kdf"));
    } // the program ends
    EXPECT_FALSE(fs::exists(First));
    EXPECT_FALSE(fs::exists(Second));
    EXPECT_TRUE(fs::is_empty(Temp));
}

TEST_F(TArchiveTest, PackedArchiveGivesFirstTopDrawingAndPreviewPages) {
    File("b.kdf", "b");
    File("A.kdf", "a");
    File("valve.pdf", "datasheet");
    File("sub/c.kdf", "c");
    File("~PrintPreview/page2.pdf", "p2");
    File("~PrintPreview/Page1.pdf", "p1");
    File("~PrintPreview/notes.txt", "t");
    Run("zip -q -r plan.kdx b.kdf sub ~PrintPreview valve.pdf A.kdf");

    TTempDirs Dirs(Temp.string());
    const TPackageOpenResult R = OpenPackedDrawing((Source / "plan.kdx").string(), Dirs);
    ASSERT_EQ(R.Status, TPackageOpenStatus::posDrawingFound) << R.ErrorText;
    EXPECT_THAT(fs::path(R.UnpackFolder).filename().string(), StartsWith("~KDX~"));
    EXPECT_EQ(R.DrawingFileName, R.UnpackFolder + "/A.kdf");
    EXPECT_THAT(R.PrintPreviewPDFs, ElementsAre(R.UnpackFolder + "/~PrintPreview/Page1.pdf",
                                                R.UnpackFolder + "/~PrintPreview/page2.pdf"));
    EXPECT_EQ(Read(R.UnpackFolder + "/valve.pdf"), "datasheet");
}

TEST_F(TArchiveTest, PackedArchiveWithDrawingOnlyInSubFolderStillOffersPages) {
    File("sub/c.kdf", "c");
    File("~printpreview/1.pdf", "p1");
    Run("zip -q -r plan.kdx sub ~printpreview");

    TTempDirs Dirs(Temp.string());
    const TPackageOpenResult R = OpenPackedDrawing((Source / "plan.kdx").string(), Dirs);
    EXPECT_EQ(R.Status, TPackageOpenStatus::posNoDrawing) << R.ErrorText;
    EXPECT_EQ(R.DrawingFileName, "");
    EXPECT_THAT(R.PrintPreviewPDFs, ElementsAre(R.UnpackFolder + "/~printpreview/1.pdf"));
}

TEST_F(TArchiveTest, UnpackFoldersAreFreshAndOwnerOnly) {
    const fs::path Victim = Root / "victim";
    fs::create_directories(Victim);
    fs::create_directory_symlink(Victim, Temp / "Unpack_5");
    fs::create_directory(Temp / "Unpack_6");

    TTempDirs Dirs(Temp.string(), TSequence{{5, 6, 5, 7}});
    std::string Error;
    const std::string Folder = Dirs.CreateUnpackFolder("Unpack_", &Error);
    EXPECT_EQ(Folder, (Temp / "Unpack_7").string()) << Error;
    EXPECT_EQ(fs::symlink_status(Folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(Victim));

    // Taken names all the way: no folder, a clear reason, and the package is not handled.
    TTempDirs Stuck(Temp.string(), TSequence{{5}});
    EXPECT_EQ(Stuck.CreateUnpackFolder("Unpack_", &Error), "");
    EXPECT_THAT(Error, HasSubstr("File exists"));
    File("plan.kdf", "drawing");
    Run("zip -q pack.zip plan.kdf");
    const std::string Zip = (Source / "pack.zip").string();
    const TPackageOpenResult R = OpenZipPackage(Zip, Stuck);
    EXPECT_EQ(R.Status, TPackageOpenStatus::posFailed);
    EXPECT_THAT(R.ErrorText, StartsWith("Cannot handle file:\n" + Zip));
}

TEST_F(TArchiveTest, CleanupDeletesOnlyFoldersThisRunMade) {
    const fs::path Victim = Root / "victim";
    fs::create_directories(Victim);
    std::ofstream(Victim / "precious.txt") << "keep";

    TTempDirs Dirs(Temp.string(), TSequence{{1, 2, 3}});
    const std::string Swapped = Dirs.CreateUnpackFolder("~KDX~");
    const std::string Replaced = Dirs.CreateUnpackFolder("~KDX~");
    const std::string Kept = Dirs.CreateUnpackFolder("~KDX~");
    // After the unpack, one folder is swapped for a link to the victim, another for a new folder.
    fs::remove(Swapped);
    fs::create_directory_symlink(Victim, Swapped);
    fs::rename(Replaced, Root / "moved-away");
    fs::create_directory(Replaced);
    std::ofstream(Replaced + "/other.txt") << "someone else's";
    fs::create_directory_symlink(Victim, Kept + "/link-inside");

    Dirs.DeleteTempDirs();
    EXPECT_EQ(Read(Victim / "precious.txt"), "keep");
    EXPECT_TRUE(fs::is_symlink(Swapped));
    EXPECT_TRUE(fs::exists(Replaced + "/other.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(Kept)));
    EXPECT_THAT(Dirs.Folders(), IsEmpty());
}

TEST_F(TArchiveTest, ArchiveObjectModesAndWriting) {
    TZipFile Closed;
    EXPECT_THROW(Closed.ExtractAll(Temp.string()), EZipError);
    try {
        Closed.Extract(0, Temp.string());
        FAIL() << "extracting from a closed archive must throw";
    } catch (const EZipError& E) {
        EXPECT_STREQ(E.what(), "File must be open for reading");
    }

    File("plan.kdf", "drawing");
    File("dir/sheet.pdf", "pdf");
    const std::string Zip = (Source / "made.zip").string();
    {
        TZipFile Writer(Zip, TZipMode::zmWrite);
        Writer.Add((Source / "plan.kdf").string());
        Writer.Add((Source / "dir/sheet.pdf").string(), "pages\\sheet.pdf");
        EXPECT_THROW(Writer.ExtractAll(Temp.string()), EZipError);
    }
    // Info-ZIP reads what was written, names and content.
    Run("unzip -q -o made.zip -d check");
    EXPECT_EQ(Read(Source / "check/plan.kdf"), "drawing");
    EXPECT_EQ(Read(Source / "check/pages/sheet.pdf"), "pdf");

    TZipFile Reader(Zip, TZipMode::zmRead);
    EXPECT_THROW(Reader.Add((Source / "plan.kdf").string()), EZipError);
    ASSERT_EQ(Reader.GetFileCount(), 2);
    EXPECT_TRUE(Reader.Extract("pages/sheet.pdf", (Root / "one").string()));
    EXPECT_EQ(Read(Root / "one/pages/sheet.pdf"), "pdf");
    EXPECT_FALSE(Reader.Extract("absent.txt", (Root / "one").string()));
    EXPECT_THAT(Reader.LastError(), HasSubstr("absent.txt"));

    // Reopening under another name reads the other archive, not the one still open.
    Run("zip -q other.zip dir/sheet.pdf");
    Reader.Open((Source / "other.zip").string(), TZipMode::zmRead);
    ASSERT_EQ(Reader.GetFileCount(), 1);
    EXPECT_EQ(Reader.GetFileName(0), "dir/sheet.pdf");
}

// Each hostile archive is refused with one message, and nothing is written anywhere: the whole
// test tree is the same before and after, the unpack folder included.
TEST_F(TArchiveTest, HostileArchivesAreRefused) {
    const std::string Outside = (Root / "outside").string();
    const struct {
        const char* Label;
        std::function<void()> Build;
        const char* Message;
        TZipExtractLimits Limits;
    } Cases[] = {
        {"absolute path",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k'), ('" + Outside + "/evil.txt', 'x')])"); },
         "unsafe name",
         {}},
        {"climbing with /",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k'), ('../outside/evil.txt', 'x')])"); },
         "unsafe name",
         {}},
        {"climbing with \\",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k'), ('..\\\\evil.txt', 'x')])"); },
         "unsafe name",
         {}},
        {"climbing from a folder",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k'), ('docs/../../evil.txt', 'x')])"); },
         "unsafe name",
         {}},
        {"symbolic link",
         [&] {
             File("plan.kdf", "k");
             fs::create_symlink("../outside", Source / "link");
             Run("zip -q -y bad.zip plan.kdf link");
         },
         "symbolic link",
         {}},
        {"encrypted member",
         [&] {
             File("plan.kdf", "secret drawing");
             Run("zip -q -P secret bad.zip plan.kdf");
         },
         "encrypted",
         {}},
        {"unsupported method",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k' * 100)])\npatch('bad.zip', 0, method=9)"); },
         "method",
         {}},
        {"CRC mismatch after a good member",
         [&] {
             Python("write('bad.zip', [('good.txt', 'fine'), ('plan.kdf', 'k' * 100)], zipfile.ZIP_STORED)\n"
                    "flip_first_data_byte('bad.zip', 1)");
         },
         "damaged",
         {}},
        {"truncated archive",
         [&] {
             Python("write('bad.zip', [('plan.kdf', os.urandom(4000).hex())])\n"
                    "d = open('bad.zip', 'rb').read()\nopen('bad.zip', 'wb').write(d[:len(d) // 2])");
         },
         "cannot be read",
         {}},
        {"declared sizes above 4 GiB",
         [&] {
             Python("write('bad.zip', [('plan.kdf', 'k'), ('big1.bin', 'b'), ('big2.bin', 'b')])\n"
                    "patch('bad.zip', 1, usize=0xF0000000)\npatch('bad.zip', 2, usize=0xF0000000)");
         },
         "more than 4 GiB",
         {}},
        {"declared sizes above a lower limit",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k'), ('zeros.bin', bytes(3 << 20))])"); },
         "would unpack to more than 2 MiB", TZipExtractLimits{2u << 20}},
        {"inflates beyond its declared size",
         [&] {
             Python("write('bad.zip', [('plan.kdf', 'k'), ('zeros.bin', bytes(3 << 20))])\n"
                    "patch('bad.zip', 1, usize=10)");
         },
         "more data than",
         {}},
    };

    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Label);
        for (const fs::path& P : {Source, Temp, fs::path(Outside)}) {
            fs::remove_all(P);
            fs::create_directories(P);
        }
        C.Build();
        if (HasFatalFailure()) return;
        const std::set<std::string> Before = Tree();

        TTempDirs Dirs(Temp.string());
        const TPackageOpenResult R = OpenZipPackage((Source / "bad.zip").string(), Dirs, C.Limits);
        EXPECT_EQ(R.Status, TPackageOpenStatus::posFailed);
        EXPECT_THAT(R.ErrorText, HasSubstr(C.Message));
        EXPECT_EQ(R.DrawingFileName, "");
        EXPECT_EQ(Tree(), Before);

        // The packed-archive path refuses the same archive the same way.
        fs::copy_file(Source / "bad.zip", Source / "bad.kdx");
        const std::set<std::string> BeforeKdx = Tree();
        const TPackageOpenResult K = OpenPackedDrawing((Source / "bad.kdx").string(), Dirs, C.Limits);
        EXPECT_EQ(K.Status, TPackageOpenStatus::posFailed);
        EXPECT_THAT(K.PrintPreviewPDFs, IsEmpty());
        EXPECT_EQ(Tree(), BeforeKdx);
    }
}
