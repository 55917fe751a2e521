#include <cstdio>
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
#include "shell/LanguageDialog.h"
#include "shell/ViewerApp.h"

int main(int argc, char** argv) {
    // Every job speaks the stored language; only the window asks for one (at its first start).
    ApplyStoredLanguage(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    TCommandLine cl = ParseCommandLine(args);
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
