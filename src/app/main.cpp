#include <cctype>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "app/BomJob.h"
#include "app/CommandLine.h"
#include "app/DataSheetJob.h"
#include "app/DumpJob.h"
#include "app/OpenForJob.h"
#include "app/PrintJob.h"
#include "app/RenderJob.h"
#include "platform/LargeHeapPages.h"
#include "shell/LanguageDialog.h"
#include "shell/ViewerApp.h"

namespace {

// A job on a drawing of some megabytes ends about a third sooner on huge heap pages; on a small
// one it would not win back the restart (about 50 ms). Packages hold their drawings compressed, to
// a fraction of their size. The window restarts itself once it is sure to show one (a file handed
// to a running viewer needs none).
bool JobOnLargeDrawing(const TCommandLine& cl) {
    using TJob = TCommandLine::TJob;
    if (cl.File.empty() || cl.Job == TJob::Help || cl.Job == TJob::Version || cl.Job == TJob::Usage ||
        cl.Job == TJob::Window)
        return false;
    std::error_code ec;
    const auto size = std::filesystem::file_size(cl.File, ec);
    if (ec) return false;
    std::string extension = std::filesystem::path(cl.File).extension().string();
    for (char& c : extension)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    const bool package = extension == ".zip" || extension == ".kdx";
    return size >= (package ? 1u : 8u) * 1024 * 1024;
}

} // namespace

int main(int argc, char** argv) {
    const bool restarted = EndLargeHeapPagesRestart();
    // Every job speaks the stored language; only the window asks for one (at its first start).
    ApplyStoredLanguage(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    TCommandLine cl = ParseCommandLine(args);
    // Before a job holds anything.
    if (!restarted && JobOnLargeDrawing(cl)) RestartWithLargeHeapPages(argv);
    LeaveJobDocumentsToProcessEnd();
    switch (cl.Job) {
    case TCommandLine::TJob::Help:
        std::cout << UsageText();
        return 0;
    case TCommandLine::TJob::Version:
        std::cout << "korvane-viewer " << KORVANE_VERSION << "\n";
        return 0;
    case TCommandLine::TJob::Usage:
        std::cerr << "korvane-viewer: " << cl.Error << "\n" << UsageText();
        return 2;
    case TCommandLine::TJob::Dump:
        return RunDumpJob(cl.File);
    case TCommandLine::TJob::DataSheet:
        return RunDataSheetJob(cl.File, cl.Handle);
    case TCommandLine::TJob::Bom:
        return RunBomJob(cl.File, cl.MetricUnits, cl.Csv);
    case TCommandLine::TJob::Print:
        return RunPrintJob(cl.OutPdf, cl.File);
    case TCommandLine::TJob::Render: {
        RenderOptions o;
        o.OutPng = cl.OutPng;
        o.Width = cl.Width;
        o.Height = cl.Height;
        o.WhiteBackground = cl.WhiteBackground;
        o.GroupMode = cl.GroupMode;
        o.Sheet = cl.Sheet;
        o.File = cl.File;
        return RunRenderJob(o);
    }
    case TCommandLine::TJob::Window:
        return RunViewerWindow(argc, argv, cl.File);
    }
    return 2;
}
