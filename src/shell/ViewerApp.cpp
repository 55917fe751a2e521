#include "shell/ViewerApp.h"

#include "base/Translate.h"
#include "platform/QUAVGlobs.h"
#include "qt/QtMessageBox.h"
#include "qt/QtOpenWith.h"
#include "qt/SingleInstance.h"
#include "shell/MainForm.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <iostream>

int RunViewerWindow(int argc, char** argv, const std::string& file) {
    // A viewer that runs already takes the file; this start ends without a window (and so
    // without needing a display).
    if (SendToRunningInstance(QString::fromStdString(file))) return 0;

    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::cerr << "korvane-viewer: " << _("No display found: the viewer window needs one.") << "\n"
                  << "korvane-viewer: " << _("To draw a file without a display use --render.") << "\n";
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ProgramName));
    QApplication::setApplicationDisplayName(QString::fromUtf8(ProgramName));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/korvane-viewer.png")));
    QApplication::setDesktopFileName(QStringLiteral("korvane-viewer"));

    InstallQtDocumentOpener();
    TQtMessageBoxes boxes;
    TScopedMessageBoxes useBoxes(boxes);
    TMainForm form(file);
    boxes.SetParent(&form);
    QString error;
    // Two viewers starting at the same moment: the later one still works, it only cannot
    // receive files from later starts.
    if (!form.StartHandOffServer(HandOffSocketPath(), &error))
        std::cerr << "korvane-viewer: " << error.toStdString() << "\n";
    form.show();
    return app.exec();
}
