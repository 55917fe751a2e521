// The real program ended by SIGTERM, SIGINT and SIGHUP (kill, Ctrl+C, the end of the session), on
// the offscreen platform and in folders of its own. The window ends as File > Exit ends it; a
// command-line job ends by the signal. Either way no unpack folder stays behind.
#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr auto Patience = std::chrono::seconds(30);

bool WaitUntil(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string SignalName(int signalNumber) {
    const char* name = sigabbrev_np(signalNumber);
    return name != nullptr ? std::string("SIG") + name : std::to_string(signalNumber);
}

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "ended by " + SignalName(WTERMSIG(status));
    return "status " + std::to_string(status);
}

// One run of the program in a private home: every folder it may write to is below Home, and the
// variables that would let it reach a display or another viewer are dropped.
class TViewer {
public:
    TViewer() {
        for (const char* var :
             {"HOME", "TMPDIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"}) {
            fs::create_directories(fHome.File(var));
            fs::permissions(fHome.File(var), fs::perms::owner_all, fs::perm_options::replace);
            fEnvironment.push_back(std::string(var) + "=" + fHome.File(var));
        }
        fEnvironment.push_back("QT_QPA_PLATFORM=offscreen");
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string setting = *entry;
            const std::string name = setting.substr(0, setting.find('='));
            static const char* const dropped[] = {"HOME",           "TMPDIR",          "XDG_CONFIG_HOME",
                                                  "XDG_CACHE_HOME", "XDG_DATA_HOME",   "XDG_RUNTIME_DIR",
                                                  "DISPLAY",        "WAYLAND_DISPLAY", "QT_QPA_PLATFORM",
                                                  "QT_SCALE_FACTOR"};
            if (std::find(std::begin(dropped), std::end(dropped), name) == std::end(dropped))
                fEnvironment.push_back(setting);
        }
        // A user who has chosen English already: the first start would ask for a language.
        UseLanguage("");
    }
    ~TViewer() {
        if (fPid > 0) {
            ::kill(fPid, SIGKILL);
            ::waitpid(fPid, nullptr, 0);
        }
    }
    TViewer(const TViewer&) = delete;
    TViewer& operator=(const TViewer&) = delete;

    fs::path Folder(const char* var) const { return fHome.Path() / var; }
    // The language stored in the program's settings file ("" for English).
    void UseLanguage(const std::string& code) const {
        const fs::path ini = Folder("XDG_CONFIG_HOME") / "QUAV" / "KorvaneViewer" / "Ini";
        fs::create_directories(ini);
        std::ofstream(ini / "korvane-viewer.ini") << "[Main]\nLanguage=" << code << "\n";
    }
    std::string Write(const std::string& name, const std::string& content) const {
        return fHome.Write(name, content);
    }

    // A ZIP package holding a drawing, written with Python's zipfile.
    std::string MakePackage(const std::string& name, const std::string& member,
                            const std::string& source) const {
        const std::string package = fHome.File(name);
        const std::string script = "import zipfile\nz = zipfile.ZipFile(r'" + package +
                                   "', 'w', zipfile.ZIP_DEFLATED)\nz.write(r'" + source + "', '" + member +
                                   "')\nz.close()\n";
        const std::string scriptFile = fHome.Write("make.py", script);
        EXPECT_EQ(std::system(("python3 '" + scriptFile + "'").c_str()), 0);
        return package;
    }

    // Starts the program with Arguments; StdoutFd, when given, becomes its standard output. The
    // three signals start out with their default handling and unblocked, whatever this test
    // program was given: a shell ignores SIGINT for programs it starts in the background.
    void Start(const std::vector<std::string>& arguments, int stdoutFd = -1, int stderrFd = -1) {
        std::vector<std::string> argv{KORVANE_VIEWER};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> argvPointers, envPointers;
        for (std::string& a : argv)
            argvPointers.push_back(a.data());
        argvPointers.push_back(nullptr);
        for (std::string& e : fEnvironment)
            envPointers.push_back(e.data());
        envPointers.push_back(nullptr);

        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t defaults, none;
        sigemptyset(&defaults);
        for (const int s : {SIGINT, SIGTERM, SIGHUP})
            sigaddset(&defaults, s);
        sigemptyset(&none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
        if (stderrFd >= 0) posix_spawn_file_actions_adddup2(&actions, stderrFd, STDERR_FILENO);
        const int error = ::posix_spawn(&fPid, argv[0].c_str(), &actions, &attributes, argvPointers.data(),
                                        envPointers.data());
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        ASSERT_EQ(error, 0) << std::strerror(error);
    }

    // Names in the temporary folder, of unpack folders and of anything else.
    std::vector<std::string> TempEntries() const {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(Folder("TMPDIR")))
            names.push_back(entry.path().filename().string());
        return names;
    }
    bool HasUnpackFolder() const {
        for (const std::string& name : TempEntries())
            if (name.rfind("Unpack_", 0) == 0 || name.rfind("~KDX~", 0) == 0) return true;
        return false;
    }

    // Waits for the program to end by itself; false when it does not within the patience.
    bool Wait(int& status) {
        const bool ended = WaitUntil([&] { return ::waitpid(fPid, &status, WNOHANG) == fPid; });
        if (ended) fPid = -1;
        return ended;
    }

    // Sends the signal and returns the wait status; a program that does not end within the
    // patience is killed, and the test fails.
    int EndWith(int signalNumber) {
        EXPECT_EQ(::kill(fPid, signalNumber), 0);
        int status = 0;
        const bool ended = WaitUntil([&] { return ::waitpid(fPid, &status, WNOHANG) == fPid; });
        if (!ended) {
            ADD_FAILURE() << "the program did not end after " << SignalName(signalNumber);
            ::kill(fPid, SIGKILL);
            ::waitpid(fPid, &status, 0);
        }
        fPid = -1;
        return status;
    }

private:
    TTempDir fHome;
    std::vector<std::string> fEnvironment;
    pid_t fPid = -1;
};

TEST(ViewerExit, ASignalClosesTheWindowAsExitDoesAndItsUnpackFolderGoes) {
    const struct {
        int Signal;
        const char* Package;
        const char* Member;
        const char* Drawing; // the member's content: a sample, or "" for text that is no drawing
        const char* Case;
    } cases[] = {
        {SIGTERM, "pack.zip", "plan.kdf", KORVANE_SAMPLES "/pump-unit.kdf", "a ZIP package"},
        {SIGINT, "pack.zip", "plan.kdf", KORVANE_SAMPLES "/pump-unit.kdf", "a ZIP package"},
        {SIGHUP, "pack.zip", "plan.kdf", KORVANE_SAMPLES "/pump-unit.kdf", "a ZIP package"},
        // The window tells in an error box that the drawing cannot be read, and waits there.
        {SIGTERM, "plan.kdx", "A.kdf", "", "a packed archive whose drawing cannot be read"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SignalName(c.Signal) + ", " + c.Case);
        TViewer viewer;
        const std::string drawing =
            *c.Drawing != '\0' ? std::string(c.Drawing) : viewer.Write("junk.kdf", "no drawing\n");
        viewer.Start({viewer.MakePackage(c.Package, c.Member, drawing)});
        ASSERT_TRUE(WaitUntil([&] { return viewer.HasUnpackFolder(); })) << "no unpack folder appeared";

        const int status = viewer.EndWith(c.Signal);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << DescribeStatus(status);
        EXPECT_EQ(viewer.TempEntries(), std::vector<std::string>{}) << "the temporary folder keeps something";
        EXPECT_FALSE(fs::exists(viewer.Folder("XDG_CACHE_HOME") / "QUAV"))
            << "the datasheet folder is made at the first look-up, not by a start";
    }
}

TEST(ViewerExit, ASignalEndsABlockedJobAndItsUnpackFolderGoes) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(SignalName(signalNumber));
        TViewer viewer;
        const std::string package =
            viewer.MakePackage("pack.zip", "plan.kdf", KORVANE_SAMPLES "/hydraulic-circuit.kdf");
        // Nobody reads the output: with the smallest pipe the job blocks in its first writes, with
        // its unpack folder in place and no event loop to notice anything.
        int pipeFds[2];
        ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
        ::fcntl(pipeFds[1], F_SETPIPE_SZ, 4096);
        viewer.Start({"--dump", package}, pipeFds[1]);
        ::close(pipeFds[1]);
        ASSERT_TRUE(WaitUntil([&] { return viewer.HasUnpackFolder(); })) << "no unpack folder appeared";

        const int status = viewer.EndWith(signalNumber);
        ::close(pipeFds[0]);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signalNumber) << DescribeStatus(status);
        EXPECT_EQ(viewer.TempEntries(), std::vector<std::string>{}) << "the temporary folder keeps something";
    }
}

} // namespace

// The stored language reaches the command-line jobs: their messages, and the usage of a wrong
// command line, come out in it. A catalog that was removed leaves English.
TEST(ViewerLanguage, JobsSpeakTheStoredLanguage) {
    const struct {
        const char* Language;
        std::vector<std::string> Arguments;
        int Status;
        const char* Says;
    } cases[] = {
        {"de",
         {"--dump", "/nonexistent/plan.kdf"},
         1,
         "Die Datei \"/nonexistent/plan.kdf\" existiert nicht."},
        {"de", {"--size", "x"}, 2, "Aufruf:"},
        {"fr", {"--dump", "/nonexistent/plan.kdf"}, 1, "/nonexistent/plan.kdf"},
        {"", {"--dump", "/nonexistent/plan.kdf"}, 1, "The file \"/nonexistent/plan.kdf\" does not exist."},
        {"xx", {"--dump", "/nonexistent/plan.kdf"}, 1, "The file \"/nonexistent/plan.kdf\" does not exist."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Language) + " " + c.Arguments.front());
        TViewer viewer;
        viewer.UseLanguage(c.Language);
        const std::string errFile = viewer.Write("stderr.txt", "");
        const int fd = ::open(errFile.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        viewer.Start(c.Arguments, -1, fd);
        ::close(fd);
        int status = 0;
        ASSERT_TRUE(viewer.Wait(status));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == c.Status) << DescribeStatus(status);
        const std::string said = ReadWholeFile(errFile);
        EXPECT_NE(said.find(c.Says), std::string::npos) << said;
        if (std::string(c.Language) == "fr") {
            EXPECT_EQ(said.find("does not exist"), std::string::npos) << said;
        }
    }
}
