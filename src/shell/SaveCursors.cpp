#include "shell/SaveCursors.h"

#include <QCursor>
#include <QGuiApplication>

TSaveCursor::TSaveCursor(Qt::CursorShape Shape)
    : fActive(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    // Without a GUI application (command-line jobs) there is no cursor to show.
    if (fActive) QGuiApplication::setOverrideCursor(QCursor(Shape));
}

TSaveCursor::~TSaveCursor() {
    if (fActive && QCoreApplication::instance()) QGuiApplication::restoreOverrideCursor();
}
