#pragma once
// Enumerations and colour type shared by the drawing model and the canvas.
#include <cstdint>

// Platform colour in its integer form 0x00BBGGRR.
using TColor = uint32_t;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
constexpr uint8_t ColorRed(TColor c) {
    return uint8_t(c & 0xFF);
}
constexpr uint8_t ColorGreen(TColor c) {
    return uint8_t((c >> 8) & 0xFF);
}
constexpr uint8_t ColorBlue(TColor c) {
    return uint8_t((c >> 16) & 0xFF);
}

enum TSymbolDrawMode : uint8_t { sdmNormal, sdmDrag, sdmHighlight };

enum TSymbolGroupDrawMode : uint8_t { drawMainGroups, drawNoGroups1, drawSubGroups, drawNoGroups2 };

enum TTextAlign : uint8_t { taLeft, taRight, taCenter, taMiddle };

enum TSymLineType : uint8_t {
    symlinetypeNone,
    symlinetypeSymbol,
    symlinetypeSolenoid,
    symlinetypeOrifice,
    symlinetypeLine,
    symlinetypePilot,
    symlinetypeDrain,
    symlinetypeBorder,
    symlinetypeIBorder,
    symlinetypeText,
    symlinetypeAttribute,
    symlinetypeItemNumber,
    symlinetypeLeader,
    symlinetypePort,
    symlinetypeConnectionLine,
    symlinetypeHose,
    symlinetypeElectric,
};
constexpr int SymLineTypeCount = 17;

enum TSymLineStyle : uint8_t {
    symlinestyleNone,
    symlinestyleDefault,
    symlinestyleSolid,
    symlinestyleHidden,
    symlinestyleDashed,
    symlinestyleBorder,
};
constexpr int SymLineStyleCount = 6;

enum TSymBorderStyle : uint8_t {
    symborderstyleNone,
    symborderstyleSolid,
    symborderstyleHidden,
    symborderstyleDashed,
    symborderstyleBorder,
};

// Default line style of each line type (used when an object's style is Default).
constexpr TSymLineStyle DefaultLineStyleOf(TSymLineType t) {
    switch (t) {
    case symlinetypeNone:
        return symlinestyleDefault;
    case symlinetypePilot:
        return symlinestyleDashed;
    case symlinetypeDrain:
        return symlinestyleHidden;
    case symlinetypeBorder:
    case symlinetypeIBorder:
        return symlinestyleBorder;
    default:
        return symlinestyleSolid;
    }
}
