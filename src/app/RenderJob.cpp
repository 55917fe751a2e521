#include "app/RenderJob.h"

#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/OpenForJob.h"
#include "document/DrawingView.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "qt/QtRasterSurface.h"
#include "render/SymbolCanvas.h"

namespace {
// Larger pictures would need gigabytes; nobody renders a drawing that big from the command line.
constexpr int MaxSide = 16384;

// Text output into a QImage needs an application object; without a display Qt only starts with
// the offscreen platform. The caller keeps the object for the duration of the job.
// A command-line job reports its own errors in one line; Qt's notes about the session (a missing
// runtime folder and the like) would only add noise to stderr.
void QuietQtMessages(QtMsgType Type, const QMessageLogContext&, const QString& Message) {
    if (Type == QtCriticalMsg || Type == QtFatalMsg) std::cerr << Message.toStdString() << "\n";
}

std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (QCoreApplication::instance()) return nullptr;
    qInstallMessageHandler(QuietQtMessages);
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int Argc = 1;
    static char Name[] = "korvane-viewer";
    static char* Argv[] = {Name, nullptr};
    return std::make_unique<QGuiApplication>(Argc, Argv);
}
} // namespace

int RunRenderJob(const RenderOptions& Options) {
    if (Options.Width <= 0 || Options.Height <= 0 || Options.Width > MaxSide || Options.Height > MaxSide) {
        std::cerr << "korvane-viewer: the image size " << Options.Width << "x" << Options.Height
                  << " is outside 1x1 to " << MaxSide << "x" << MaxSide << "\n";
        return 2;
    }
    TSymbolFile Doc;
    TTempDirs TempDirs; // unpack folders live as long as the job
    std::string Error;
    if (!OpenForJob(Doc, Options.File, TempDirs, Error)) {
        std::cerr << "korvane-viewer: " << Error << "\n";
        return 1;
    }
    const auto App = EnsureGuiApplication();

    QImage Image(Options.Width, Options.Height, QImage::Format_RGB32);
    if (Image.isNull()) {
        std::cerr << "korvane-viewer: not enough memory for a " << Options.Width << "x" << Options.Height
                  << " image\n";
        return 1;
    }
    {
        TQtRasterSurface Surface(&Image);
        TSymbolCanvas Canvas(&Surface);
        SetupViewCanvas(Canvas, 96);
        Canvas.fCanvasColors =
            Options.WhiteBackground ? SymbolCanvasColorsWhite() : SymbolCanvasColorsBlack();
        Canvas.fSymbolGroupDrawMode = Options.GroupMode.value_or(Doc.Data().GroupDrawMode);
        Canvas.fSize = {Options.Width, Options.Height};
        ZoomCanvasToDrawing(Doc, Canvas);
        PaintDrawing(Doc, Canvas);
    }
    if (!Image.save(QString::fromStdString(Options.OutPng), "PNG")) {
        std::cerr << "korvane-viewer: the picture could not be written to \"" << Options.OutPng << "\"\n";
        return 1;
    }
    return 0;
}
