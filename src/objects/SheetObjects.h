#pragma once
// Sheet frames: paper sizes, inner borders and inner lines.
#include "objects/ShapeObjects.h"

class TSymbolObjectPaperSize : public TSymbolObject {
public:
    TSymbolObjectPaperSize() : TSymbolObject(somPaperSize) {}
    const char* ClassName() const override { return "TSymbolObjectPaperSize"; }
    std::string_view Terminator() const override { return "ENDPAPERSIZE."; }
};

class TSymbolObjectIBorder : public TSymbolObject2Point {
public:
    TSymbolObjectIBorder() : TSymbolObject2Point(somIBorder) {}
    const char* ClassName() const override { return "TSymbolObjectIBorder"; }
    std::string_view Terminator() const override { return "ENDIBORDER."; }
};

class TSymbolObjectILine : public TSymbolObject2Point {
public:
    TSymbolObjectILine() : TSymbolObject2Point(somILine) {}
    const char* ClassName() const override { return "TSymbolObjectILine"; }
    std::string_view Terminator() const override { return "ENDILINE."; }
};
