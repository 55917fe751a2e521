#include "platform/TerminationWatch.h"

#include <csignal>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct TWatch {
    std::recursive_mutex Mutex;
    std::vector<std::function<void()>*> Cleanups;
    sigset_t Signals;     // the ones the waiting thread takes: not ignored when it started
    bool Started = false; // the waiting thread runs for the rest of the program
};

// Never destroyed: the waiting thread may need it while the program's statics go away.
TWatch& Watch() {
    static TWatch* const watch = new TWatch;
    return *watch;
}

[[noreturn]] void WaitForSignals() {
    TWatch& watch = Watch();
    int signalNumber = 0;
    while (::sigwait(&watch.Signals, &signalNumber) != 0) {
    }
    // Kept locked: whoever would change what the clean-ups remove waits until the program ends.
    watch.Mutex.lock();
    for (std::function<void()>* cleanup : watch.Cleanups) {
        try {
            (*cleanup)();
        } catch (...) {
            // One clean-up failing must not keep the others from running.
        }
    }
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    ::sigaction(signalNumber, &action, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signalNumber);
    ::pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signalNumber);
    ::_exit(128 + signalNumber); // not reached: the default action of these signals ends the program
}

void StartWatching(TWatch& watch) {
    sigemptyset(&watch.Signals);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(s, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
            sigaddset(&watch.Signals, s);
    }
    watch.Started = true;
    if (sigisemptyset(&watch.Signals)) return;
    // Blocked before the thread starts, so that it inherits the mask too.
    ::pthread_sigmask(SIG_BLOCK, &watch.Signals, nullptr);
    try {
        std::thread(WaitForSignals).detach();
    } catch (const std::system_error&) {
        // Blocked signals nobody waits for would make a program that cannot be ended: without
        // the thread they keep their default handling, and there is no clean-up.
        ::pthread_sigmask(SIG_UNBLOCK, &watch.Signals, nullptr);
        sigemptyset(&watch.Signals);
    }
}

} // namespace

std::unique_lock<std::recursive_mutex> LockAgainstTermination() {
    return std::unique_lock<std::recursive_mutex>(Watch().Mutex);
}

TTerminationCleanup::TTerminationCleanup(std::function<void()> cleanup) : fCleanup(std::move(cleanup)) {
    TWatch& watch = Watch();
    const std::lock_guard<std::recursive_mutex> lock(watch.Mutex);
    if (!watch.Started)
        StartWatching(watch);
    else if (watch.Cleanups.empty())
        ::pthread_sigmask(SIG_BLOCK, &watch.Signals, nullptr);
    watch.Cleanups.push_back(&fCleanup);
}

TTerminationCleanup::~TTerminationCleanup() {
    TWatch& watch = Watch();
    const std::lock_guard<std::recursive_mutex> lock(watch.Mutex);
    std::erase(watch.Cleanups, &fCleanup);
    // With nothing left to clean up the default handling is as good, and child processes started
    // from now on get the signals as usual.
    if (watch.Cleanups.empty()) ::pthread_sigmask(SIG_UNBLOCK, &watch.Signals, nullptr);
}
