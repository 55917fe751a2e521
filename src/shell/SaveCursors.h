#pragma once
// Shows a cursor (the hourglass by default) over the whole application for the lifetime of the
// object, and restores the previous one when it ends, however the scope is left.
#include <Qt>

class TSaveCursor {
public:
    explicit TSaveCursor(Qt::CursorShape Shape = Qt::WaitCursor);
    ~TSaveCursor();
    TSaveCursor(const TSaveCursor&) = delete;
    TSaveCursor& operator=(const TSaveCursor&) = delete;

private:
    bool fActive;
};
