#include "shell/SaveCursors.h"

#include <QCursor>
#include <QGuiApplication>

#include "qt/QtTranslate.h"

TSaveCursor::TSaveCursor(Qt::CursorShape shape)
    : fActive(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    // Without a GUI application (command-line jobs) there is no cursor to show.
    if (fActive) QGuiApplication::setOverrideCursor(QCursor(shape));
}

TSaveCursor::~TSaveCursor() {
    if (fActive && QCoreApplication::instance()) QGuiApplication::restoreOverrideCursor();
}

void TBusyIndicator::BeginBusy() {
    if (fDepth++ == 0) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        fShowedProgress = false;
    }
}

void TBusyIndicator::BusyProgress(int percent) {
    if (!fShowText) return;
    fShowText(qtr("Updating connections...") + QStringLiteral(" %1%").arg(percent));
    fShowedProgress = true;
}

void TBusyIndicator::EndBusy() {
    if (fDepth == 0 || --fDepth > 0) return;
    QGuiApplication::restoreOverrideCursor();
    if (fShowedProgress && fShowText) fShowText(QString());
}
