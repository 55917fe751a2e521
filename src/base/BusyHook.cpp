#include "base/BusyHook.h"

#include <algorithm>
#include <chrono>

namespace {

TBusyHook* gBusyHook = nullptr;

int64_t NowTicks() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

TBusyHook* SetBusyHook(TBusyHook* hook) {
    TBusyHook* previous = gBusyHook;
    gBusyHook = hook;
    return previous;
}

TBusyScope::~TBusyScope() {
    if (fShown && fHook) fHook->EndBusy();
}

void TBusyScope::Show() {
    if (fShown) return;
    fHook = gBusyHook;
    fShown = true;
    fStartTicks = NowTicks();
    if (fHook) fHook->BeginBusy();
}

void TBusyScope::Step(int64_t done, int64_t total) {
    if (!fShown || !fHook || total <= 0) return;
    // The clock is read every few hundred steps only.
    if ((++fCalls & 255) != 0 && done < total) return;
    if (NowTicks() - fStartTicks <= 1000) return;
    const int percent = int(std::clamp<int64_t>(done * 100 / total, 0, 100));
    if (percent == fLastPercent) return;
    fLastPercent = percent;
    fHook->BusyProgress(percent);
}
