#pragma once
// Small drawing fixtures for the window tests: a filled box object whose outline, hit test and
// extents are exact, and drawing files written from a few lines.
#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "platform/QUAVGlobs.h"
#include "render/SymbolCanvas.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// A filled rectangle from Low (lower left) to High (upper right) in drawing units.
class TTestBox : public TSymbolObject {
public:
    TTestBox(TPoint low, TPoint high) : TSymbolObject(som2Point), fLow(low), fHigh(high) {
        fSymLineType = symlinetypeSymbol;
    }
    const char* ClassName() const override { return "TTestBox"; }

    bool HitTest(TPoint p, double pick) const override {
        return p.X >= fLow.X - pick && p.X <= fHigh.X + pick && p.Y >= fLow.Y - pick && p.Y <= fHigh.Y + pick;
    }
    bool HitTestRect(const TRect& r) const override {
        const int32_t l = std::min(r.P1.X, r.P2.X), rt = std::max(r.P1.X, r.P2.X);
        const int32_t b = std::min(r.P1.Y, r.P2.Y), t = std::max(r.P1.Y, r.P2.Y);
        return fLow.X <= rt && fHigh.X >= l && fLow.Y <= t && fHigh.Y >= b;
    }
    TExtentsRect Extents(TExtentsRect e) const override {
        ExtentsAddPoint(fLow, e);
        ExtentsAddPoint(fHigh, e);
        return e;
    }
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override {
        if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
        SetBrushStyle(canvas, true, mode);
        const TPoint a = canvas.ToPt(TPoint(fLow.X, fHigh.Y)), b = canvas.ToPt(TPoint(fHigh.X, fLow.Y));
        canvas.fCanvas->Rectangle(TRect(a, TPoint(b.X + 1, b.Y + 1)));
        return true;
    }
    TPoint Centre() const { return {(fLow.X + fHigh.X) / 2, (fLow.Y + fHigh.Y) / 2}; }

    TPoint fLow, fHigh;
};

// A component symbol holding one box; with a BOM record unless Bom is false.
inline TSymbolObjectSymbol* AddComponent(TSymbolObjectList& list, TPoint low, TPoint high, bool bom = true,
                                         bool hideInBom = false) {
    auto symbol = std::make_unique<TSymbolObjectSymbol>();
    if (bom) symbol->fBOMList.Add()->fData.HideInBOM = hideInBom;
    symbol->fSymbolObjectList.Append(std::make_unique<TTestBox>(low, high));
    return static_cast<TSymbolObjectSymbol*>(list.Append(std::move(symbol)));
}

// Gives every top-level component of a loaded drawing a box of HalfSize around its insertion
// point, so that components read from a file can be seen and clicked whatever their shapes draw.
inline void AddOutlineBoxes(TSymbolFile& doc, int32_t halfSize) {
    for (const auto& object : doc.Symbol().fSymbolObjectList)
        if (object->fSymbolObjectMainType == somSymbol)
            object->fSymbolObjectList.Append(
                std::make_unique<TTestBox>(TPoint(object->fP1.X - halfSize, object->fP1.Y - halfSize),
                                           TPoint(object->fP1.X + halfSize, object->fP1.Y + halfSize)));
}

// A schematic in the record format; Body goes between "SYMBOL:" and its "End.".
inline std::string DrawingText(const std::string& body, const std::string& fileVersion = "1.0.0-100") {
    return "SymbolFile:\n\nHeader:\n  FileType=Schematic\n  FileVersion=" + fileVersion +
           "\n  GroupDrawMode=Main\nEnd.\n\nSYMBOL:\n  Handle=-1\n" + body + "End.\n\nEnd.\n";
}

// One component at (X, Y) with a BOM record.
inline std::string ComponentText(int handle, int x, int y, const std::string& article,
                                 bool hideInBom = false) {
    return "  Symbol:\n    Handle=" + std::to_string(handle) + "\n    Point1X=" + std::to_string(x) +
           "\n    Point1Y=" + std::to_string(y) + "\n    Bom:\n      ArticleCode=" + article +
           (hideInBom ? "\n      HideInBOM=Yes" : "") + "\n    EndBom.\n  End.\n";
}

// Every test starts as a first start: the settings the windows of earlier tests wrote at their
// end are removed before it.
class TFreshSettingsEachTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        std::error_code ec;
        std::filesystem::remove(GetIniFileName(), ec);
        std::filesystem::remove(GetWindowPosIniFileName(), ec);
    }
};
