// Clean-up on termination signals for programs without an event loop. Each case runs in a forked
// copy of this test program, since the waiting thread and the blocked signals last for the rest of
// a process; no test here registers a clean-up in the test program itself.
#include "platform/TerminationWatch.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempFiles.h"

namespace {

// Runs Child in a forked copy with the signals at their default handling and returns its wait
// status. A child that nothing ends is ended by SIGALRM, so a broken build fails instead of hanging.
int StatusOfChild(const std::function<void()>& child) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(20);
        for (const int s : {SIGINT, SIGTERM, SIGHUP})
            ::signal(s, SIG_DFL);
        child();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

[[noreturn]] void WaitForTheEnd() {
    for (;;)
        ::pause();
}

void Append(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::app) << text << "\n";
}

std::string Read(const std::string& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool EndedBy(int status, int signalNumber) {
    return WIFSIGNALED(status) && WTERMSIG(status) == signalNumber;
}

TEST(TerminationCleanup, RunsAndThenTheSignalEndsTheProgram) {
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        TTempDir dir;
        const std::string log = dir.File("log");
        const int status = StatusOfChild([&] {
            const TTerminationCleanup kept([&] { Append(log, "kept"); });
            {
                const TTerminationCleanup gone([&] { Append(log, "gone"); });
            }
            ::kill(::getpid(), signalNumber);
            WaitForTheEnd();
        });
        EXPECT_TRUE(EndedBy(status, signalNumber)) << signalNumber << ": status " << status;
        EXPECT_EQ(Read(log), "kept\n") << signalNumber;
    }
}

TEST(TerminationCleanup, WaitsForTheCodeThatHoldsTheLock) {
    TTempDir dir;
    const std::string log = dir.File("log");
    const int status = StatusOfChild([&] {
        const TTerminationCleanup cleanup([&] { Append(log, "cleanup"); });
        {
            const auto writing = LockAgainstTermination();
            ::kill(::getpid(), SIGTERM);
            // Time enough for a clean-up that did not wait to get in first.
            ::usleep(200 * 1000);
            Append(log, "writer");
        }
        WaitForTheEnd();
    });
    EXPECT_TRUE(EndedBy(status, SIGTERM)) << status;
    EXPECT_EQ(Read(log), "writer\ncleanup\n");
}

TEST(TerminationCleanup, IgnoredSignalsStayIgnoredAndTheMaskComesBack) {
    TTempDir dir;
    const std::string log = dir.File("log");
    const int status = StatusOfChild([&] {
        ::signal(SIGHUP, SIG_IGN);
        sigset_t blocked;
        {
            const TTerminationCleanup cleanup([&] { Append(log, "cleanup"); });
            ::kill(::getpid(), SIGHUP);
            ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
            if (!sigismember(&blocked, SIGTERM) || sigismember(&blocked, SIGHUP)) ::_exit(3);
        }
        // Without clean-ups the signals are unblocked again, for child processes started later.
        ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
        ::_exit(sigismember(&blocked, SIGTERM) ? 4 : 0);
    });
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Read(log), "");
}

} // namespace
