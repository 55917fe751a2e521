// Termination signals handed to the event loop: what arrives, what stays ignored, what is put back.
#include "qt/TerminationSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

volatile sig_atomic_t OwnHandlerCalls = 0;
void OwnHandler(int) {
    OwnHandlerCalls = OwnHandlerCalls + 1;
}

// Sets a signal's handling for one scope and puts the old one back after.
class TScopedHandling {
public:
    TScopedHandling(int signalNumber, void (*handler)(int)) : fSignal(signalNumber) {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        ::sigaction(fSignal, &action, &fOld);
    }
    ~TScopedHandling() { ::sigaction(fSignal, &fOld, nullptr); }

private:
    int fSignal;
    struct sigaction fOld {};
};

class TTerminationSignalsTest : public ::testing::Test {
protected:
    // Runs the event loop until Count signals arrived; the deadline only keeps a broken build
    // from hanging.
    static void ProcessUntil(const std::vector<int>& received, size_t count) {
        QDeadlineTimer deadline(20000);
        while (received.size() < count && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    int Argc = 1;
    char Name[16] = "test_qt";
    char* Argv[2] = {Name, nullptr};
    QCoreApplication App{Argc, Argv};
};

TEST_F(TTerminationSignalsTest, EachSignalArrivesInTheEventLoopAndTheProgramGoesOn) {
    const TScopedHandling term(SIGTERM, SIG_DFL), interrupt(SIGINT, SIG_DFL), hangUp(SIGHUP, SIG_DFL);
    TTerminationSignals relay;
    std::vector<int> received;
    QObject::connect(&relay, &TTerminationSignals::Received, [&](int s) { received.push_back(s); });
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) {
        ::raise(s);
        ProcessUntil(received, received.size() + 1);
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP}));
}

TEST_F(TTerminationSignalsTest, AnIgnoredSignalStaysIgnored) {
    const TScopedHandling hangUp(SIGHUP, SIG_IGN), term(SIGTERM, SIG_DFL);
    TTerminationSignals relay;
    std::vector<int> received;
    QObject::connect(&relay, &TTerminationSignals::Received, [&](int s) { received.push_back(s); });
    ::raise(SIGHUP);
    ::raise(SIGTERM); // arrives after SIGHUP would have
    ProcessUntil(received, 1);
    EXPECT_EQ(received, std::vector<int>{SIGTERM});
}

TEST_F(TTerminationSignalsTest, TheHandlingFoundBeforeComesBack) {
    const TScopedHandling own(SIGTERM, OwnHandler);
    { TTerminationSignals relay; }
    OwnHandlerCalls = 0;
    ::raise(SIGTERM);
    EXPECT_EQ(OwnHandlerCalls, 1);
}

TEST_F(TTerminationSignalsTest, TheThirdSignalEndsAProgramWhoseLoopHangs) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(20); // ends a child that no signal ended
        ::signal(SIGTERM, SIG_DFL);
        TTerminationSignals relay;
        // The event loop never runs: the first two wait in the pipe.
        for (int i = 0; i < 3; ++i)
            ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
}

} // namespace
