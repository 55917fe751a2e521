#pragma once
// How item numbers and leaders look: the document holds four layouts, and each item number or
// leader keeps a copy of the one its type names.
#include <array>
#include <cstdint>
#include <string>

#include "base/DrawTypes.h"
#include "model/JsonWriter.h"
#include "model/SymbolObjectTypes.h"

enum TItemNumberBorderType : uint8_t {
    itemborderNone,
    itemborderRectangle,
    itemborderRoundedRectangle,
    itemborderCircle,
    itemborderCircledRectangle
};
enum TItemNumberOrientationType : uint8_t { itemorientationHorz, itemorientationVert };
enum TItemNumberLayouts : uint8_t { layout_Leader, layout_Item1, layout_Item2, layout_Item3 };

struct TItemNumberLayout {
    int32_t Height = 30;
    int32_t FixedWidth = 0;
    TItemNumberBorderType Border = itemborderCircledRectangle;
    TItemNumberOrientationType Orientation = itemorientationHorz;
    std::string TextStyleName = "TextStyle_ItemNumber";
    bool FilledArrow = true;
    TTextAlign TextAlign = taMiddle;
};

using TItemNumberLayoutSet = std::array<TItemNumberLayout, 4>;

// The layouts of a new document: the two smaller item styles are 20 high in a rectangle.
inline TItemNumberLayoutSet DefaultItemNumberLayouts() {
    TItemNumberLayoutSet l{};
    for (auto i : {layout_Item2, layout_Item3}) {
        l[i].Height = 20;
        l[i].Border = itemborderRectangle;
    }
    return l;
}

inline void DumpItemNumberLayout(TJsonWriter& w, const TItemNumberLayout& l) {
    static constexpr std::string_view borderIdents[] = {"itemborderNone", "itemborderRectangle",
                                                        "itemborderRoundedRectangle", "itemborderCircle",
                                                        "itemborderCircledRectangle"};
    static constexpr std::string_view orientationIdents[] = {"itemorientationHorz", "itemorientationVert"};
    w.BeginObject();
    w.Field("Height", l.Height);
    w.Field("FixedWidth", l.FixedWidth);
    w.Field("Border", borderIdents[l.Border]);
    w.Field("Orientation", orientationIdents[l.Orientation]);
    w.Field("TextStyleName", l.TextStyleName);
    w.Field("FilledArrow", l.FilledArrow);
    w.Field("TextAlign", TextAlignIdent(l.TextAlign));
    w.EndObject();
}
