#include "qt/QtOpenWith.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/OpenWith.h"

void InstallQtDocumentOpener() {
    SetDocumentOpener([](const std::string& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    });
}
