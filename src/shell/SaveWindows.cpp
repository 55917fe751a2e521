#include "shell/SaveWindows.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <filesystem>

#include "platform/DirectoryHandling.h"
#include "platform/IniFiles.h"

namespace {

// A stored window must show this much of itself on some monitor to be put back there.
constexpr int MinVisiblePart = 100;

int Clamp(long v) {
    // Stored values come from a file anyone could edit: keep them to what a screen can mean.
    return int(std::max(-100000L, std::min(100000L, v)));
}

} // namespace

TSaveWindowNew::TSaveWindowNew(std::string iniFileName, TWindowToFullScreen mode, QWidget* form)
    : fIniFileName(std::move(iniFileName)), fForm(form), FMode(mode),
      fSection(form->objectName().toStdString()) {
    Restore();
}

TSaveWindowNew::~TSaveWindowNew() {
    Store();
}

void TSaveWindowNew::PlaceNearlyFullScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->geometry();
    fForm->move(s.left() + 20, s.top() + 20);
    fForm->resize(std::max(s.width() - 40, 200), std::max(s.height() - 70, 150));
}

void TSaveWindowNew::Restore() {
    std::error_code ec;
    if (!std::filesystem::exists(fIniFileName, ec)) {
        if (FMode == TWindowToFullScreen::FullScreen) PlaceNearlyFullScreen();
        return;
    }
    const TIniFile ini(fIniFileName);
    long state = ini.ReadInteger(fSection, "State", 0);
    const int height = Clamp(ini.ReadInteger(fSection, "Height", 0));
    const int left = Clamp(ini.ReadInteger(fSection, "Left", 0));
    const int top = Clamp(ini.ReadInteger(fSection, "Top", 0));
    const int width = Clamp(ini.ReadInteger(fSection, "Width", 0));
    // A window that was minimised comes back where the user can see it.
    if (state == 1) state = 0;
    if (state == 2) {
        if (width > 0 && height > 0) {
            fForm->move(left, top);
            fForm->resize(width, height);
        }
        fForm->setWindowState(fForm->windowState() | Qt::WindowMaximized);
        return;
    }
    bool onSomeScreen = false;
    const QRect stored(left, top, width, height);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = stored.intersected(screen->geometry());
        onSomeScreen = onSomeScreen || (common.width() > MinVisiblePart && common.height() > MinVisiblePart);
    }
    if (width > 0 && height > 0 && onSomeScreen) {
        fForm->move(left, top);
        fForm->resize(width, height);
        fForm->setWindowState(fForm->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    } else if (FMode == TWindowToFullScreen::FullScreen) {
        PlaceNearlyFullScreen();
    }
}

void TSaveWindowNew::Store() const {
    if (!ForceFolder(ExtractFileDir(fIniFileName))) return;
    TIniFile ini(fIniFileName);
    const long state = fForm->isMinimized() ? 1 : fForm->isMaximized() ? 2 : 0;
    ini.WriteInteger(fSection, "State", state);
    ini.WriteInteger(fSection, "Height", fForm->height());
    ini.WriteInteger(fSection, "Left", fForm->x());
    ini.WriteInteger(fSection, "Top", fForm->y());
    ini.WriteInteger(fSection, "Width", fForm->width());
    std::string error;
    if (!ini.UpdateFile(&error)) std::fprintf(stderr, "korvane-viewer: %s\n", error.c_str());
}
