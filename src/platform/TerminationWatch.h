#pragma once
// Clean-up when SIGINT, SIGTERM or SIGHUP ends a program that has no event loop (the
// command-line jobs, the benchmarks). Almost nothing is safe inside a signal handler, and a flag
// the program checks now and then does not help while it is blocked (a job writing to a pipe
// nobody reads). So the signals are blocked, and a thread of their own waits for them: it runs
// the clean-ups as ordinary code and then ends the program by the same signal, as if nobody had
// caught it. A window has an event loop and closes itself instead (qt/TerminationSignals.h).
#include <functional>
#include <mutex>

// Held while the program makes or fills what a clean-up removes: a clean-up waits for it, and so
// never races the code that writes. Costs an uncontended lock when no clean-up is registered.
std::unique_lock<std::recursive_mutex> LockAgainstTermination();

class TTerminationCleanup {
public:
    // Registers Cleanup. While any clean-up is registered, the signals are blocked in the thread
    // that registered the first one and the threads it starts later, so register before starting
    // other threads: a thread started earlier takes the signal the default way, without clean-up.
    // Child processes started meanwhile inherit the blocked signals. A signal the program was
    // started with ignored (nohup, a background job) stays ignored.
    explicit TTerminationCleanup(std::function<void()> cleanup);
    // Unregisters; a clean-up that runs at this moment is waited for (and ends the program).
    ~TTerminationCleanup();
    TTerminationCleanup(const TTerminationCleanup&) = delete;
    TTerminationCleanup& operator=(const TTerminationCleanup&) = delete;

private:
    std::function<void()> fCleanup;
};
