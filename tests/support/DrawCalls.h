#pragma once
// Reading the recording surface's log in the tests of drawing objects.
#include <sstream>
#include <string>
#include <vector>

#include "render/RecordingSurface.h"

// The drawing calls of a log, each run of MoveTo/LineTo folded into one "Lines x y x y ..."
// entry; pens are left out, brushes and fonts kept only when asked for.
inline std::vector<std::string> FoldedCalls(const TRecordingSurface& s, bool keepBrush, bool keepFonts) {
    std::vector<std::string> out;
    bool inLines = false;
    for (const std::string& call : s.Calls()) {
        std::istringstream in(call);
        std::string op;
        in >> op;
        if (op == "Pen" || (op == "Font" && !keepFonts) || (op == "Brush" && !keepBrush)) continue;
        if (op == "MoveTo") {
            out.push_back("Lines" + call.substr(6));
            inLines = true;
        } else if (op == "LineTo" && inLines) {
            out.back() += call.substr(6);
        } else {
            out.push_back(call);
            inLines = false;
        }
    }
    return out;
}
