#pragma once
#include <cstdint>

// How long work tells the user it is busy. The core knows no cursor: the shell installs a hook
// that shows its override cursor between BeginBusy and EndBusy and, when BusyProgress arrives,
// the progress in the status bar. Calls come on the calling (user-interface) thread; the hook
// must repaint what it wants shown, as no event loop runs meanwhile.
class TBusyHook {
public:
    virtual ~TBusyHook() = default;
    virtual void BeginBusy() = 0;
    // Percent done, 0 to 100; sent only once the work has run for more than a second, and only
    // when the figure changed.
    virtual void BusyProgress(int percent) = 0;
    virtual void EndBusy() = 0;
};

// Installs the process-wide hook (not owned; nullptr removes it) and returns the previous one.
TBusyHook* SetBusyHook(TBusyHook* hook);

// Scope of a long piece of work: EndBusy is sent when the scope ends, also when an exception
// passes, if BeginBusy was sent.
class TBusyScope {
public:
    TBusyScope() = default;
    ~TBusyScope();
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;
    // Shows the hourglass from now on.
    void Show();
    // Reports done of total steps; cheap enough to call for every step.
    void Step(int64_t done, int64_t total);

private:
    TBusyHook* fHook = nullptr;
    bool fShown = false;
    int fLastPercent = -1;
    int64_t fStartTicks = 0;
    uint32_t fCalls = 0;
};
