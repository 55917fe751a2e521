#pragma once
// Shows a cursor (the hourglass by default) over the whole application for the lifetime of the
// object, and restores the previous one when it ends, however the scope is left.
#include <QString>
#include <Qt>
#include <functional>

#include "base/BusyHook.h"

class TSaveCursor {
public:
    explicit TSaveCursor(Qt::CursorShape shape = Qt::WaitCursor);
    ~TSaveCursor();
    TSaveCursor(const TSaveCursor&) = delete;
    TSaveCursor& operator=(const TSaveCursor&) = delete;

private:
    bool fActive;
};

// Shows long model updates to the user: the hourglass while they run and, past a second, their
// progress through a text sink (the status bar), repainted at once since no events run meanwhile.
class TBusyIndicator : public TBusyHook {
public:
    using TShowText = std::function<void(const QString& text)>;
    explicit TBusyIndicator(TShowText showText) : fShowText(std::move(showText)) {}

    void BeginBusy() override;
    void BusyProgress(int percent) override;
    void EndBusy() override;

private:
    TShowText fShowText;
    int fDepth = 0;
    bool fShowedProgress = false;
};
