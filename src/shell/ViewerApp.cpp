#include "shell/ViewerApp.h"

#include "base/Translate.h"
#include "document/DocumentOpener.h"
#include "platform/LargeHeapPages.h"
#include "platform/QUAVGlobs.h"
#include "qt/QtMessageBox.h"
#include "qt/QtOpenWith.h"
#include "qt/QtTranslate.h"
#include "qt/SingleInstance.h"
#include "qt/TerminationSignals.h"
#include "shell/LanguageDialog.h"
#include "shell/MainForm.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <iostream>

int RunViewerWindow(int argc, char** argv, const std::string& file) {
    // A viewer that runs already takes the file; this start ends without a window (and so
    // without needing a display). A file that cannot be opened at all is said here too, and the
    // window says it as well.
    if (SendToRunningInstance(QString::fromStdString(file))) {
        if (file.empty()) return 0;
        const std::string refusal = RefusalBeforeOpening(file);
        if (refusal.empty()) return 0;
        std::cerr << "korvane-viewer: " << refusal << "\n";
        return 1;
    }

    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::cerr << "korvane-viewer: " << _("No display found: the viewer window needs one.") << "\n"
                  << "korvane-viewer: " << _("To draw a file without a display use --render.") << "\n";
        return 1;
    }
    // Whatever the window opens later (File > Open, a hand-off, a recent file) may be large, so the
    // window always runs on huge heap pages; the restart costs about 50 ms of a start that shows
    // no window yet.
    RestartWithLargeHeapPages(argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(ProgramName));
    QApplication::setApplicationDisplayName(QString::fromUtf8(ProgramName));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/korvane-viewer.png")));
    QApplication::setDesktopFileName(QStringLiteral("korvane-viewer"));
    ApplyStoredLanguage(true);
    InstallQtOwnTranslations(app);

    // Ctrl+C, kill and the end of the session end the window as File > Exit does, so that it is
    // destroyed normally and deletes its unpack folders. Quitting as well ends the event loops of
    // dialogs that are open, which closing the window alone would not.
    TTerminationSignals termination;
    QObject::connect(&termination, &TTerminationSignals::Received, &app, [] {
        QApplication::closeAllWindows();
        QApplication::quit();
    });
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
