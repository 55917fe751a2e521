#pragma once
// The viewer's command line: the window with an optional file, or a job without a window.
#include <optional>
#include <string>
#include <vector>

#include "base/DrawTypes.h"

struct TCommandLine {
    enum class TJob { Window, Dump, Render, DataSheet, Print, Bom, Help, Version, Usage };
    TJob Job = TJob::Window;
    std::string File;
    std::string OutPng;
    // --print: the PDF file the print-preview pages go into.
    std::string OutPdf;
    // --datasheet: the handle of the component whose datasheets are looked up.
    int Handle = 0;
    int Width = 1024;
    int Height = 768;
    bool WhiteBackground = false;
    std::optional<TSymbolGroupDrawMode> GroupMode;
    // The sheet to show alone, numbered as the user sees it (from 1); unset: the whole drawing.
    std::optional<int> Sheet;
    // --bom: the units of the values (unset: as the window shows them) and CSV instead of text.
    std::optional<bool> MetricUnits;
    bool Csv = false;
    std::string Error; // with TJob::Usage: what was wrong
};

TCommandLine ParseCommandLine(const std::vector<std::string>& args);
std::string UsageText();
