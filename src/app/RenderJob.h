#pragma once
// The --render job: draws a drawing file the way the window shows it right after opening (zoomed
// to the whole drawing) and saves the picture as a PNG. Needs no display.
#include <optional>
#include <string>

#include "base/DrawTypes.h"

struct RenderOptions {
    std::string OutPng;
    int Width = 1024;
    int Height = 768;
    bool WhiteBackground = false;
    // Unset: the group draw mode stored in the file.
    std::optional<TSymbolGroupDrawMode> GroupMode;
    // Unset: the whole drawing; else the sheet numbered from 1, shown alone.
    std::optional<int> Sheet;
    std::string File;
};

// Exit status: 0 done; 1 the file could not be opened, has no such sheet, or the PNG was not
// written (one line on stderr); 2 an image size no surface can have.
int RunRenderJob(const RenderOptions& options);
