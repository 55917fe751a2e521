// ZIP packages and packed drawing archives: real archives made with Info-ZIP and Python's
// zipfile inside each test, and hostile ones patched byte by byte.
#include "packages/PackageOpener.h"
#include "packages/QuavZip.h"
#include "packages/TempDirs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string Quote(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

std::string PythonProgram() {
    return fs::exists("/usr/bin/python3") ? std::string("/usr/bin/python3") : std::string("python3");
}

class TArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kvpkgXXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern;
        Temp = Root / "tmp";
        Source = Root / "src";
        fs::create_directories(Temp);
        fs::create_directories(Source);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }

    fs::path File(const std::string& relative, const std::string& content) const {
        const fs::path p = Source / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << content;
        return p;
    }

    // Runs a shell command in the source folder; the test fails when the command does.
    void Run(const std::string& command) const {
        const std::string line = "cd " + Quote(Source.string()) + " && " + command + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(line.c_str()), 0) << line;
    }

    void Python(const std::string& script) const {
        const fs::path scriptFile = Root / "make.py";
        std::ofstream(scriptFile) << PythonPrelude << script;
        Run(PythonProgram() + " " + Quote(scriptFile.string()));
    }

    // Every path below Root, links listed as links and never entered.
    std::set<std::string> Tree() const {
        std::set<std::string> paths;
        for (auto it = fs::recursive_directory_iterator(Root); it != fs::recursive_directory_iterator(); ++it)
            paths.insert(fs::relative(it->path(), Root).string());
        return paths;
    }

    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
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
    } cases[] = {
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
    for (const auto& c : cases)
        EXPECT_EQ(SafeMemberPath(c.Stored), c.Safe) << c.Stored;
}

TEST_F(TArchiveTest, ZipPackageWithTopLevelDrawing) {
    File("plan.kdf", "drawing");
    File("notes.txt", "n");
    Run("zip -q pack.zip notes.txt plan.kdf");
    const std::string zip = (Source / "pack.zip").string();

    EXPECT_EQ(FindDrawingInZip(zip), "plan.kdf");
    TTempDirs dirs(Temp.string());
    const TPackageOpenResult r = OpenZipPackage(zip, dirs);
    ASSERT_EQ(r.Status, TPackageOpenStatus::posDrawingFound) << r.ErrorText;
    EXPECT_EQ(fs::path(r.UnpackFolder).parent_path(), Temp);
    EXPECT_THAT(fs::path(r.UnpackFolder).filename().string(), StartsWith("Unpack_"));
    EXPECT_EQ(r.DrawingFileName, r.UnpackFolder + "/plan.kdf");
    EXPECT_EQ(Read(r.DrawingFileName), "drawing");
    EXPECT_EQ(Read(r.UnpackFolder + "/notes.txt"), "n");
    EXPECT_EQ(fs::status(r.UnpackFolder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_THAT(dirs.Folders(), ElementsAre(r.UnpackFolder));
}

TEST_F(TArchiveTest, DrawingInSubFolderAndFolderEntriesAreNotMembers) {
    Python(
        "write('pack.zip', [('readme.txt', 'r'), ('Dir/', ''), ('Dir/Sub/', ''), ('Dir/Sub/pump.SYM', 'sym'),"
        " ('later.kdf', 'k')])");
    const std::string zip = (Source / "pack.zip").string();

    TZipFile reader;
    reader.Open(zip, TZipMode::zmRead);
    ASSERT_EQ(reader.GetFileCount(), 3);
    EXPECT_EQ(reader.GetFileName(1), "Dir/Sub/pump.SYM");
    EXPECT_THROW(reader.GetFileName(3), EZipError);

    EXPECT_EQ(FindDrawingInZip(zip), "Dir/Sub/pump.SYM");
    TTempDirs dirs(Temp.string());
    const TPackageOpenResult r = OpenZipPackage(zip, dirs);
    ASSERT_EQ(r.Status, TPackageOpenStatus::posDrawingFound) << r.ErrorText;
    EXPECT_EQ(r.DrawingFileName, r.UnpackFolder + "/Dir/Sub/pump.SYM");
    EXPECT_EQ(Read(r.DrawingFileName), "sym");
}

TEST_F(TArchiveTest, PackageWithoutDrawingOpensNothing) {
    Python("write('pack.zip', [('docs/', ''), ('docs/readme.txt', 'r')])");
    TTempDirs dirs(Temp.string());
    const TPackageOpenResult r = OpenZipPackage((Source / "pack.zip").string(), dirs);
    EXPECT_EQ(r.Status, TPackageOpenStatus::posNoDrawing);
    EXPECT_EQ(r.DrawingFileName, "");
    EXPECT_TRUE(fs::is_empty(Temp));

    EXPECT_EQ(OpenZipPackage((Source / "missing.zip").string(), dirs).Status,
              TPackageOpenStatus::posFileMissing);
    EXPECT_EQ(OpenPackedDrawing((Source / "missing.kdx").string(), dirs).Status,
              TPackageOpenStatus::posFileMissing);
}

TEST_F(TArchiveTest, MemberNamesInUtf8AndCodePage437) {
    // Python flags non-ASCII names as UTF-8; the second name is patched to the CP437 byte of "é".
    Python("write('pack.zip', [('Sch\\u00e9ma/Pumpe-\\u00e4.kdf', 'u'), ('SchXma.txt', 'c')])\n"
           "d = open('pack.zip', 'rb').read().replace(b'SchXma', b'Sch\\x82ma')\n"
           "open('pack.zip', 'wb').write(d)\n");
    const std::string zip = (Source / "pack.zip").string();
    TZipFile reader(zip, TZipMode::zmRead);
    ASSERT_EQ(reader.GetFileCount(), 2);
    EXPECT_EQ(reader.GetFileName(0), "Sch\xC3\xA9ma/Pumpe-\xC3\xA4.kdf");
    EXPECT_EQ(reader.GetFileName(1), "Sch\xC3\xA9ma.txt");

    TTempDirs dirs(Temp.string());
    const TPackageOpenResult r = OpenZipPackage(zip, dirs);
    ASSERT_EQ(r.Status, TPackageOpenStatus::posDrawingFound) << r.ErrorText;
    EXPECT_EQ(Read(r.UnpackFolder + "/Sch\xC3\xA9ma/Pumpe-\xC3\xA4.kdf"), "u");
    EXPECT_EQ(Read(r.UnpackFolder + "/Sch\xC3\xA9ma.txt"), "c");
}

TEST_F(TArchiveTest, SamePackageTwiceGetsTwoFoldersBothGoneAtExit) {
    File("plan.kdf", "drawing");
    Run("zip -q pack.zip plan.kdf");
    std::string first, second;
    {
        TTempDirs dirs(Temp.string());
        first = OpenZipPackage((Source / "pack.zip").string(), dirs).UnpackFolder;
        second = OpenZipPackage((Source / "pack.zip").string(), dirs).UnpackFolder;
        ASSERT_FALSE(first.empty());
        ASSERT_FALSE(second.empty());
        EXPECT_NE(first, second);
        EXPECT_TRUE(fs::exists(first + "/plan.kdf"));
        EXPECT_TRUE(fs::exists(second + "/plan.kdf"));
    } // the program ends
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(second));
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

    TTempDirs dirs(Temp.string());
    const TPackageOpenResult r = OpenPackedDrawing((Source / "plan.kdx").string(), dirs);
    ASSERT_EQ(r.Status, TPackageOpenStatus::posDrawingFound) << r.ErrorText;
    EXPECT_THAT(fs::path(r.UnpackFolder).filename().string(), StartsWith("~KDX~"));
    EXPECT_EQ(r.DrawingFileName, r.UnpackFolder + "/A.kdf");
    EXPECT_THAT(r.PrintPreviewPDFs, ElementsAre(r.UnpackFolder + "/~PrintPreview/Page1.pdf",
                                                r.UnpackFolder + "/~PrintPreview/page2.pdf"));
    EXPECT_EQ(Read(r.UnpackFolder + "/valve.pdf"), "datasheet");
}

TEST_F(TArchiveTest, PackedArchiveWithDrawingOnlyInSubFolderStillOffersPages) {
    File("sub/c.kdf", "c");
    File("~printpreview/1.pdf", "p1");
    Run("zip -q -r plan.kdx sub ~printpreview");

    TTempDirs dirs(Temp.string());
    const TPackageOpenResult r = OpenPackedDrawing((Source / "plan.kdx").string(), dirs);
    EXPECT_EQ(r.Status, TPackageOpenStatus::posNoDrawing) << r.ErrorText;
    EXPECT_EQ(r.DrawingFileName, "");
    EXPECT_THAT(r.PrintPreviewPDFs, ElementsAre(r.UnpackFolder + "/~printpreview/1.pdf"));
}

TEST_F(TArchiveTest, UnpackFoldersAreFreshAndOwnerOnly) {
    const fs::path victim = Root / "victim";
    fs::create_directories(victim);
    fs::create_directory_symlink(victim, Temp / "Unpack_5");
    fs::create_directory(Temp / "Unpack_6");

    TTempDirs dirs(Temp.string(), TSequence{{5, 6, 5, 7}});
    std::string error;
    const std::string folder = dirs.CreateUnpackFolder("Unpack_", &error);
    EXPECT_EQ(folder, (Temp / "Unpack_7").string()) << error;
    EXPECT_EQ(fs::symlink_status(folder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty(victim));

    // Taken names all the way: no folder, a clear reason, and the package is not handled.
    TTempDirs stuck(Temp.string(), TSequence{{5}});
    EXPECT_EQ(stuck.CreateUnpackFolder("Unpack_", &error), "");
    EXPECT_THAT(error, HasSubstr("File exists"));
    File("plan.kdf", "drawing");
    Run("zip -q pack.zip plan.kdf");
    const std::string zip = (Source / "pack.zip").string();
    const TPackageOpenResult r = OpenZipPackage(zip, stuck);
    EXPECT_EQ(r.Status, TPackageOpenStatus::posFailed);
    EXPECT_THAT(r.ErrorText, StartsWith("Cannot handle file:\n" + zip));
}

TEST_F(TArchiveTest, CleanupDeletesOnlyFoldersThisRunMade) {
    const fs::path victim = Root / "victim";
    fs::create_directories(victim);
    std::ofstream(victim / "precious.txt") << "keep";

    TTempDirs dirs(Temp.string(), TSequence{{1, 2, 3}});
    const std::string swapped = dirs.CreateUnpackFolder("~KDX~");
    const std::string replaced = dirs.CreateUnpackFolder("~KDX~");
    const std::string kept = dirs.CreateUnpackFolder("~KDX~");
    // After the unpack, one folder is swapped for a link to the victim, another for a new folder.
    fs::remove(swapped);
    fs::create_directory_symlink(victim, swapped);
    fs::rename(replaced, Root / "moved-away");
    fs::create_directory(replaced);
    std::ofstream(replaced + "/other.txt") << "someone else's";
    fs::create_directory_symlink(victim, kept + "/link-inside");

    dirs.DeleteTempDirs();
    EXPECT_EQ(Read(victim / "precious.txt"), "keep");
    EXPECT_TRUE(fs::is_symlink(swapped));
    EXPECT_TRUE(fs::exists(replaced + "/other.txt"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(kept)));
    EXPECT_THAT(dirs.Folders(), IsEmpty());
}

TEST_F(TArchiveTest, ASignalDeletesTheFoldersOfAProgramWithoutEventLoop) {
    // In a forked copy: the signal ends it, and the watching thread lasts for the rest of a process.
    const fs::path planted = Temp / "Unpack_planted";
    fs::create_directory(planted);
    std::string folder;
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(20);
        ::signal(SIGTERM, SIG_DFL);
        TTempDirs dirs(Temp.string());
        dirs.DeleteOnTerminationSignals();
        const std::string made = dirs.CreateUnpackFolder("Unpack_");
        std::ofstream(made + "/plan.kdf") << "drawing";
        [[maybe_unused]] const ssize_t told = ::write(pipeFds[1], made.data(), made.size());
        ::close(pipeFds[1]);
        ::kill(::getpid(), SIGTERM);
        for (;;)
            ::pause();
    }
    ::close(pipeFds[1]);
    char buffer[4096];
    ssize_t count;
    while ((count = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        folder.append(buffer, size_t(count));
    ::close(pipeFds[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    ASSERT_THAT(folder, StartsWith((Temp / "Unpack_").string()));
    EXPECT_FALSE(fs::exists(fs::symlink_status(folder)));
    EXPECT_TRUE(fs::exists(planted)) << "a folder this run did not make stays";
}

TEST_F(TArchiveTest, ArchiveObjectModesAndWriting) {
    TZipFile closed;
    EXPECT_THROW(closed.ExtractAll(Temp.string()), EZipError);
    try {
        closed.Extract(0, Temp.string());
        FAIL() << "extracting from a closed archive must throw";
    } catch (const EZipError& e) {
        EXPECT_STREQ(e.what(), "File must be open for reading");
    }

    File("plan.kdf", "drawing");
    File("dir/sheet.pdf", "pdf");
    const std::string zip = (Source / "made.zip").string();
    {
        TZipFile writer(zip, TZipMode::zmWrite);
        writer.Add((Source / "plan.kdf").string());
        writer.Add((Source / "dir/sheet.pdf").string(), "pages\\sheet.pdf");
        EXPECT_THROW(writer.ExtractAll(Temp.string()), EZipError);
    }
    // Info-ZIP reads what was written, names and content.
    Run("unzip -q -o made.zip -d check");
    EXPECT_EQ(Read(Source / "check/plan.kdf"), "drawing");
    EXPECT_EQ(Read(Source / "check/pages/sheet.pdf"), "pdf");

    TZipFile reader(zip, TZipMode::zmRead);
    EXPECT_THROW(reader.Add((Source / "plan.kdf").string()), EZipError);
    ASSERT_EQ(reader.GetFileCount(), 2);
    EXPECT_TRUE(reader.Extract("pages/sheet.pdf", (Root / "one").string()));
    EXPECT_EQ(Read(Root / "one/pages/sheet.pdf"), "pdf");
    EXPECT_FALSE(reader.Extract("absent.txt", (Root / "one").string()));
    EXPECT_THAT(reader.LastError(), HasSubstr("absent.txt"));

    // Reopening under another name reads the other archive, not the one still open.
    Run("zip -q other.zip dir/sheet.pdf");
    reader.Open((Source / "other.zip").string(), TZipMode::zmRead);
    ASSERT_EQ(reader.GetFileCount(), 1);
    EXPECT_EQ(reader.GetFileName(0), "dir/sheet.pdf");
}

// Each hostile archive is refused with one message, and nothing is written anywhere: the whole
// test tree is the same before and after, the unpack folder included.
TEST_F(TArchiveTest, HostileArchivesAreRefused) {
    const std::string outside = (Root / "outside").string();
    const struct {
        const char* Label;
        std::function<void()> Build;
        const char* Message;
        TZipExtractLimits Limits;
    } cases[] = {
        {"absolute path",
         [&] { Python("write('bad.zip', [('plan.kdf', 'k'), ('" + outside + "/evil.txt', 'x')])"); },
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

    for (const auto& c : cases) {
        SCOPED_TRACE(c.Label);
        for (const fs::path& p : {Source, Temp, fs::path(outside)}) {
            fs::remove_all(p);
            fs::create_directories(p);
        }
        c.Build();
        if (HasFatalFailure()) return;
        const std::set<std::string> before = Tree();

        TTempDirs dirs(Temp.string());
        const TPackageOpenResult r = OpenZipPackage((Source / "bad.zip").string(), dirs, c.Limits);
        EXPECT_EQ(r.Status, TPackageOpenStatus::posFailed);
        EXPECT_THAT(r.ErrorText, HasSubstr(c.Message));
        EXPECT_EQ(r.DrawingFileName, "");
        EXPECT_EQ(Tree(), before);

        // The packed-archive path refuses the same archive the same way.
        fs::copy_file(Source / "bad.zip", Source / "bad.kdx");
        const std::set<std::string> beforeKdx = Tree();
        const TPackageOpenResult k = OpenPackedDrawing((Source / "bad.kdx").string(), dirs, c.Limits);
        EXPECT_EQ(k.Status, TPackageOpenStatus::posFailed);
        EXPECT_THAT(k.PrintPreviewPDFs, IsEmpty());
        EXPECT_EQ(Tree(), beforeKdx);
    }
}
