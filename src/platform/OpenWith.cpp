#include "platform/OpenWith.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QProcess>
#include <QUrl>

namespace {

TDocumentOpener gOpener;

bool OpenWithDesktop(const std::string& Path) {
    const QString File = QString::fromStdString(Path);
    // QDesktopServices needs the GUI platform plugin; without a QGuiApplication ask the desktop's
    // own launcher directly.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr)
        return QDesktopServices::openUrl(QUrl::fromLocalFile(File));
    return QProcess::startDetached(QStringLiteral("xdg-open"), {File});
}

} // namespace

bool OpenWithAssociatedApplication(const std::string& Path) {
    return gOpener ? gOpener(Path) : OpenWithDesktop(Path);
}

TDocumentOpener SetDocumentOpener(TDocumentOpener Opener) {
    TDocumentOpener Previous = std::move(gOpener);
    gOpener = std::move(Opener);
    return Previous;
}
