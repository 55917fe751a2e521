#pragma once
// Where a window was: its position, size and state, kept per window in the window-position file
// and given back when it is made again.
#include <string>

class QWidget;

enum class TWindowToFullScreen { FullScreen, NoFullScreen };

class TSaveWindowNew {
public:
    // Restores Form from its section (named after the form) of IniFileName at once.
    TSaveWindowNew(std::string iniFileName, TWindowToFullScreen mode, QWidget* form);
    // Stores where the form is now.
    ~TSaveWindowNew();
    TSaveWindowNew(const TSaveWindowNew&) = delete;
    TSaveWindowNew& operator=(const TSaveWindowNew&) = delete;

private:
    void Restore();
    void Store() const;
    // Left 20, top 20, the screen's width less 40 and height less 70.
    void PlaceNearlyFullScreen();

    std::string fIniFileName;
    QWidget* fForm;
    TWindowToFullScreen FMode;
    std::string fSection;
};
