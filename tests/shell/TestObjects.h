#pragma once
// Small drawing fixtures for the window tests: a filled box object whose outline, hit test and
// extents are exact, and drawing files written from a few lines.
#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "render/SymbolCanvas.h"

#include <algorithm>
#include <memory>
#include <string>

// A filled rectangle from Low (lower left) to High (upper right) in drawing units.
class TTestBox : public TSymbolObject {
public:
    TTestBox(TPoint Low, TPoint High) : TSymbolObject(som2Point), fLow(Low), fHigh(High) {
        fSymLineType = symlinetypeSymbol;
    }
    const char* ClassName() const override { return "TTestBox"; }

    bool HitTest(TPoint P, double Pick) const override {
        return P.X >= fLow.X - Pick && P.X <= fHigh.X + Pick && P.Y >= fLow.Y - Pick && P.Y <= fHigh.Y + Pick;
    }
    bool HitTestRect(const TRect& R) const override {
        const int32_t L = std::min(R.P1.X, R.P2.X), Rt = std::max(R.P1.X, R.P2.X);
        const int32_t B = std::min(R.P1.Y, R.P2.Y), T = std::max(R.P1.Y, R.P2.Y);
        return fLow.X <= Rt && fHigh.X >= L && fLow.Y <= T && fHigh.Y >= B;
    }
    TExtentsRect Extents(TExtentsRect E) const override {
        ExtentsAddPoint(fLow, E);
        ExtentsAddPoint(fHigh, E);
        return E;
    }
    bool DrawSymbol(TSymbolCanvas& Canvas, TSymbolDrawMode Mode, bool Clip,
                    const TTextStyleList* Styles) override {
        if (!TSymbolObject::DrawSymbol(Canvas, Mode, Clip, Styles)) return false;
        SetBrushStyle(Canvas, true, Mode);
        const TPoint A = Canvas.ToPt(TPoint(fLow.X, fHigh.Y)), B = Canvas.ToPt(TPoint(fHigh.X, fLow.Y));
        Canvas.fCanvas->Rectangle(TRect(A, TPoint(B.X + 1, B.Y + 1)));
        return true;
    }
    TPoint Centre() const { return {(fLow.X + fHigh.X) / 2, (fLow.Y + fHigh.Y) / 2}; }

    TPoint fLow, fHigh;
};

// A component symbol holding one box; with a BOM record unless Bom is false.
inline TSymbolObjectSymbol* AddComponent(TSymbolObjectList& List, TPoint Low, TPoint High, bool Bom = true,
                                         bool HideInBOM = false) {
    auto Symbol = std::make_unique<TSymbolObjectSymbol>();
    if (Bom) Symbol->fBOMList.Add()->fData.HideInBOM = HideInBOM;
    Symbol->fSymbolObjectList.Append(std::make_unique<TTestBox>(Low, High));
    return static_cast<TSymbolObjectSymbol*>(List.Append(std::move(Symbol)));
}

// Gives every top-level component of a loaded drawing a box of HalfSize around its insertion
// point, so that components read from a file can be seen and clicked whatever their shapes draw.
inline void AddOutlineBoxes(TSymbolFile& Doc, int32_t HalfSize) {
    for (const auto& Object : Doc.Symbol().fSymbolObjectList)
        if (Object->fSymbolObjectMainType == somSymbol)
            Object->fSymbolObjectList.Append(
                std::make_unique<TTestBox>(TPoint(Object->fP1.X - HalfSize, Object->fP1.Y - HalfSize),
                                           TPoint(Object->fP1.X + HalfSize, Object->fP1.Y + HalfSize)));
}

// A schematic in the record format; Body goes between "SYMBOL:" and its "End.".
inline std::string DrawingText(const std::string& Body, const std::string& FileVersion = "1.0.0-100") {
    return "SymbolFile:\n\nHeader:\n  FileType=Schematic\n  FileVersion=" + FileVersion +
           "\n  GroupDrawMode=Main\nEnd.\n\nSYMBOL:\n  Handle=-1\n" + Body + "End.\n\nEnd.\n";
}

// One component at (X, Y) with a BOM record.
inline std::string ComponentText(int Handle, int X, int Y, const std::string& Article,
                                 bool HideInBOM = false) {
    return "  Symbol:\n    Handle=" + std::to_string(Handle) + "\n    Point1X=" + std::to_string(X) +
           "\n    Point1Y=" + std::to_string(Y) + "\n    Bom:\n      ArticleCode=" + Article +
           (HideInBOM ? "\n      HideInBOM=Yes" : "") + "\n    EndBom.\n  End.\n";
}
