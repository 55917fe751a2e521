#include <gtest/gtest.h>

#include "components/ConnectionLines.h"
#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"
#include "support/TempFiles.h"

namespace {

const char* const Drawing = "Header:\r\n  FileType=Schematic\r\nEnd.\r\n"
                            "SYMBOL:\r\n"
                            "  SymGroup:\r\n    Code=P1\r\n    MainGroupCode=Pressure\r\n    Color=255\r\n"
                            "    LineStyle=Dashed\r\n  End.\r\n"
                            "  SymMainGroup:\r\n    Code=pressure\r\n    Color=16711680\r\n  End.\r\n"
                            "  ConnectionLine:\r\n    Handle=1\r\n    SymGroupCode=p1  \r\n  End.\r\n"
                            "  ConnectionLine:\r\n    Handle=2\r\n    SymGroupCode=Q9\r\n  End.\r\n"
                            "  ConnectionLine:\r\n    Handle=3\r\n  End.\r\n"
                            "End.\r\nEnd.\r\n";

class GroupColours : public ::testing::Test {
protected:
    TTempDir dir;
    TSymbolFile doc;
    void SetUp() override { ASSERT_TRUE(doc.LoadFromFile(dir.Write("g.kdf", Drawing))); }
    TSymbolObjectWithGroups& Line(int handle) {
        return static_cast<TSymbolObjectWithGroups&>(*doc.Symbol().fSymbolObjectList.Find(handle));
    }
};

TEST_F(GroupColours, LinesTakeTheRootTable) {
    TSymbolObjectWithGroups& known = Line(1);
    EXPECT_EQ(known.SubGroupData().Code, "P1");
    EXPECT_EQ(known.SubGroupData().Color, 255u);
    EXPECT_EQ(known.SubGroupData().SymLineStyle, symlinestyleDashed);
    // The sub-group's main group becomes the line's, with the main table's colours.
    EXPECT_EQ(known.MainGroupData().Code, "pressure");
    EXPECT_EQ(known.MainGroupData().Color, 16711680u);
    // An unknown code keeps what the line had: the defaults.
    EXPECT_EQ(Line(2).SubGroupData().Code, "Q9");
    EXPECT_EQ(Line(2).SubGroupData().Color, 32768u);
    EXPECT_FALSE(Line(3).HasGroupFor(drawMainGroups));
}

TEST_F(GroupColours, GroupPenInEveryMode) {
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fCanvasColors = SymbolCanvasColorsBlack();
    struct Case {
        TSymbolGroupDrawMode groupMode;
        TSymbolDrawMode mode;
        TColor expected;
        TPenStyle style;
    };
    const TColor highlight = canvas.DrawColor(dcHighlight);
    const Case cases[] = {
        {drawMainGroups, sdmNormal, 16711680, TPenStyle::Solid},
        {drawSubGroups, sdmNormal, 255, TPenStyle::Dash},
        {drawNoGroups1, sdmNormal, canvas.fCanvasColors.LineTypeColors[symlinetypeConnectionLine],
         TPenStyle::Solid},
        {drawNoGroups2, sdmNormal, canvas.fCanvasColors.LineTypeColors[symlinetypeConnectionLine],
         TPenStyle::Solid},
        {drawSubGroups, sdmDrag, canvas.DrawColor(dcDrag), TPenStyle::Dash},
        {drawSubGroups, sdmHighlight, highlight, TPenStyle::Dash},
    };
    for (const auto& c : cases) {
        canvas.fSymbolGroupDrawMode = c.groupMode;
        Line(1).SetDrawColors(canvas, c.mode);
        Line(1).ApplyGroupPen(canvas, c.mode);
        EXPECT_EQ(surface.Pen().Color, c.expected) << int(c.groupMode) << "/" << int(c.mode);
        EXPECT_EQ(surface.Pen().Style, c.style) << int(c.groupMode) << "/" << int(c.mode);
        EXPECT_EQ(surface.Font().Color, surface.Pen().Color);
    }
    // A group coloured like the highlight stays distinguishable when highlighted.
    Line(1).EditMainGroupData().Color = highlight;
    canvas.fSymbolGroupDrawMode = drawMainGroups;
    Line(1).SetDrawColors(canvas, sdmHighlight);
    Line(1).ApplyGroupPen(canvas, sdmHighlight);
    EXPECT_EQ(surface.Pen().Color, RGBColor(0x77, 0x77, 0xFF));
    // Panning forces solid pens.
    canvas.fPan = true;
    canvas.fSymbolGroupDrawMode = drawSubGroups;
    Line(1).SetDrawColors(canvas, sdmNormal);
    Line(1).ApplyGroupPen(canvas, sdmNormal);
    EXPECT_EQ(surface.Pen().Style, TPenStyle::Solid);
}

TEST(GroupTables, BreakConnectionDropsGroups) {
    TSymbolObjectConnectionLine line;
    line.EditSubGroupData().Code = "P1";
    line.SetBreakConnection(true);
    EXPECT_TRUE(line.SubGroupData().Code.empty());
}

TEST(GroupTables, OrganizeToIsoAndSortCodes) {
    TSymSubGroupList list;
    for (const char* code : {"t1", "x2", "Pilot", "DR"})
        list.Add().Code = code;
    EXPECT_TRUE(list.OrganizeToISO());
    EXPECT_EQ(list.MainGroupOf("T1"), "Reservoir");
    EXPECT_EQ(list.MainGroupOf("x2"), "Control");
    EXPECT_EQ(list.MainGroupOf("pilot"), "Pressure");
    EXPECT_EQ(list.MainGroupOf("DR"), "Working");
    EXPECT_FALSE(list.OrganizeToISO());
    EXPECT_EQ(SmartSortCode("P12A"), "12PA");
    EXPECT_EQ(SmartSortCode("Pressure"), "0Pressure");
    EXPECT_EQ(SmartSortCode(""), "");

    TSymMainGroupList mains;
    EXPECT_TRUE(mains.AddISOGroups());
    EXPECT_EQ(mains.Count(), 5);
    EXPECT_EQ(mains.DataOf("drain").SymLineStyle, symlinestyleHidden);
    EXPECT_FALSE(mains.AddISOGroups());
}

} // namespace
