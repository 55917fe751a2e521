#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "model/KeyValues.h"
#include "model/TextStyles.h"
#include "objects/TextObjects.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include "support/Records.h"
#include <algorithm>
#include <iterator>
#include <map>

// The recording surface measures every code point 0.6 font heights wide; a text of height 20
// at zoom 1 is set at 20 points, 27 pixels: one character is 16 wide, "ABC" 49, a line 27 high.

namespace {

template <class T> T* Child(const TSymbolObjectSymbol& s, int i) {
    return dynamic_cast<T*>(s.fSymbolObjectList.SymbolObjects(i));
}

std::vector<std::string> TextOuts(const TRecordingSurface& s) {
    return s.CallsStartingWith("TextOut");
}

class TextCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        Canvas.fSize = {800, 600};
        Canvas.fCanvasColors = SymbolCanvasColorsBlack();
        Canvas.fShowTextBorders = false;
        Styles.AddDefaults();
    }
    // Draws the object alone, as the paint does: measure, then draw.
    void Paint(TSymbolObject& o, TSymbolDrawMode mode = sdmNormal) {
        Surface.ClearCalls();
        o.Draw(Canvas, mode, false, &Styles);
    }
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    TTextStyleList Styles;
};

// ---------------------------------------------------------------------------------------------
// Text styles

TEST(TextStyles, FileWithoutStylesHasTheBuiltInsSorted) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString("Header:\r\nEnd.\r\n", "plain"));
    std::vector<std::string> names;
    for (const auto& s : doc.TextStyleList().fList)
        names.push_back(s->fData.StyleName);
    EXPECT_EQ(names, (std::vector<std::string>{
                         "TextStyle_Attribute", "TextStyle_BOM", "TextStyle_ConnectionLineFlow",
                         "TextStyle_ConnectionLineSize", "TextStyle_ConnectionLineVelocity",
                         "TextStyle_HoseType", "TextStyle_IPort", "TextStyle_ItemNumber", "TextStyle_Port",
                         "TextStyle_Revisions", "TextStyle_RevTriangle", "TextStyle_Text"}));
    EXPECT_EQ(doc.TextStyleList().GetDefaultHeightOf("textstyle_itemnumber"), 30);
    EXPECT_EQ(doc.TextStyleList().GetDefaultHeightOf("No such style"), 20);
    EXPECT_EQ(doc.TextStyleList().IndexOf("TEXTSTYLE_BOM"), 1);
    EXPECT_EQ(doc.TextStyleList().IndexOf("No such style"), -1);
}

TEST(TextStyles, FileStylesKeepTheirFontsAndSortAfterTheBuiltIns) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString("TextStyle:\r\n  StyleName=textstyle_port\r\n  FontName=Courier\r\n"
                                   "  DefaultHeight=33\r\n  SymLineType=Text\r\nEndTextStyle.\r\n"
                                   "TextStyle:\r\n  StyleName=Aaa\r\n  DefaultHeight=x\r\n  Bold=Yes\r\n"
                                   "  SymLineType=Nothing\r\n  UseDefaultColor=No\r\n  StyleColor=255\r\n"
                                   "  StyleColor=bad\r\nEndTextStyle.\r\n",
                                   "styles"));
    const TTextStyleList& list = doc.TextStyleList();
    ASSERT_EQ(list.GetCount(), 13);
    const TTextStyle* port = list.Find("TextStyle_Port");
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->fData.StyleName, "textstyle_port");
    EXPECT_EQ(port->fData.FontName, "Courier");
    EXPECT_EQ(port->fData.DefaultHeight, 33);
    EXPECT_EQ(port->fData.SymLineType, symlinetypePort);
    // A drawing's own style comes last even when its name sorts first.
    const TTextStyleData& own = list.GetTextStyles(12)->fData;
    EXPECT_EQ(own.StyleName, "Aaa");
    EXPECT_EQ(own.DefaultHeight, 20);
    EXPECT_TRUE(own.IsBold);
    EXPECT_EQ(own.SymLineType, symlinetypeNone);
    EXPECT_FALSE(own.UseDefaultColor);
    EXPECT_EQ(own.StyleColor, 255u);
}

TEST(TextStyles, DumpListsThemRightAfterTheHeader) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString("Header:\r\nEnd.\r\n", "plain"));
    const std::string json = doc.DumpJson();
    const size_t data = json.find("\"Data\""), styles = json.find("\"TextStyleList\""),
                 layers = json.find("\"SymbolLayerList\"");
    ASSERT_NE(styles, std::string::npos);
    EXPECT_LT(data, styles);
    EXPECT_LT(styles, layers);
    EXPECT_NE(json.find("\"StyleName\": \"TextStyle_HoseType\""), std::string::npos);
}

TEST(TextStyles, OnlyChangedStylesAreWritten) {
    TTextStyleList list;
    list.AddDefaults();
    list.Add()->fData.StyleName = "Mine";
    TRecordWriter w;
    list.SaveToUniCodeFile(w);
    EXPECT_EQ(w.Text(), "\r\nTextStyle:\r\n  StyleName=Mine\r\nEndTextStyle.\r\n");
}

TEST(TextStyles, ReplaceTextHeightsTakesTheStyleHeights) {
    auto s =
        ReadSymbol("Text:\r\n  Height=99\r\n  TextStyle=TextStyle_ItemNumber\r\nEnd.\r\n"
                   "Symbol:\r\n  Attribute:\r\n    Height=99\r\n    TextStyle=Unknown\r\n  End.\r\nEnd.\r\n");
    TTextStyleList styles;
    styles.AddDefaults();
    s->ReplaceTextHeights(styles);
    EXPECT_EQ(Child<TSymbolObjectText>(*s, 0)->fHeight, 30);
    auto* inner = s->fSymbolObjectList.SymbolObjects(1);
    EXPECT_EQ(dynamic_cast<TSymbolObjectAttribute*>(inner->fSymbolObjectList.SymbolObjects(0))->fHeight, 20);
}

// ---------------------------------------------------------------------------------------------
// Records

TEST(TextRecords, KeysOfTextsAndAttributes) {
    auto s = ReadSymbol("Text:\r\n  Height=30\r\n  Height=x\r\n  Rotation=90\r\n  Align=middle\r\n"
                        "  Align=nonsense\r\n  Border=dashed\r\n  TextStyle=Mine\r\n"
                        "  DoNotTranslateInOutput=Yes\r\n  Caption=one \r\n  Caption=two\r\n"
                        "  UseStyleDefault=No\r\n  IsItalic=Yes\r\n  TextColor=255\r\nEnd.\r\n"
                        "Attribute:\r\n  Tag=NOMINAL\r\n  Value=a|b\r\n  FloatValue=2.5\r\n  Decimals=3\r\n"
                        "  FloatingPoint=Yes\r\n  Border=Unknown\r\n  Align=Right\r\nEnd.\r\n");
    const auto* t = Child<TSymbolObjectText>(*s, 0);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->fHeight, 30);
    EXPECT_EQ(t->fRotation, 90);
    EXPECT_EQ(t->fAlign, taMiddle);
    EXPECT_EQ(t->fBorder, symborderstyleDashed);
    EXPECT_EQ(t->fTextStyleName, "Mine");
    EXPECT_TRUE(t->fDoNotTranslateInOutput);
    EXPECT_EQ(t->fCaptionList, (std::vector<std::string>{"one", "two"}));
    EXPECT_FALSE(t->fOverrideTextStyleSettings.UseStyleDefault);
    EXPECT_TRUE(t->fOverrideTextStyleSettings.IsItalic);
    EXPECT_EQ(t->fOverrideTextStyleSettings.TextColor, 255u);
    const auto* a = Child<TSymbolObjectAttribute>(*s, 1);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->fTag, "NOMINAL");
    EXPECT_DOUBLE_EQ(a->fFloatValue, 2.5);
    EXPECT_EQ(a->fDecimals, 3);
    EXPECT_TRUE(a->fFloatingPoint);
    EXPECT_EQ(a->fBorder, symborderstyleNone);
    EXPECT_EQ(a->fAlign, taRight);
    EXPECT_FALSE(a->IsMultiLine()); // numeric
}

TEST(AttributeLookUps, TheLastAttributeOfASpecialTagAnswers) {
    auto s = ReadSymbol("Attribute:\r\n  Tag=projectname\r\n  Value=old\r\nEnd.\r\n"
                        "Text:\r\n  Caption=PROJECTNAME\r\nEnd.\r\n"
                        "Attribute:\r\n  Tag=NOMINAL\r\nEnd.\r\n"
                        "Attribute:\r\n  Tag=PROJECTNAME\r\n  Value=new\r\nEnd.\r\n");
    EXPECT_EQ(s->GetAttribute(saProjectName), s->fSymbolObjectList.SymbolObjects(3));
    EXPECT_EQ(s->fSymbolObjectList.GetAttributeValue(saProjectName), "new");
    EXPECT_EQ(s->GetAttribute(saCustomer), nullptr);
    EXPECT_EQ(s->fSymbolObjectList.GetAttributeValue(saCustomer), "");
    // Attributes that are not special, and every other object, are no answer to saNone.
    EXPECT_EQ(s->GetAttribute(saNone), nullptr);

    // Creating one that exists gives the existing one; a new one sits at the owner's point.
    EXPECT_EQ(CreateAttribute(*s, saProjectName, 50), s->fSymbolObjectList.SymbolObjects(3));
    s->fP1 = {7, 8};
    TSymbolObjectAttribute* c = CreateAttribute(*s, saCustomer, 51);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(s->fSymbolObjectList.Count(), 5);
    EXPECT_EQ(c->fTag, "CUSTOMER");
    EXPECT_EQ(c->fHandle, 51);
    EXPECT_EQ(c->fP1, TPoint(7, 8));
    EXPECT_EQ(CreateAttribute(*s, saCustomer, 52), c);
}

TEST(TextRecords, LegacyVariantKnowsOnlyItsKeys) {
    auto s =
        ReadSymbol("Text:\r\n  Height=30\r\n  TextStyle=Mine\r\n  Border=Solid\r\n  Caption=x\r\nEnd.\r\n"
                   "Attribute:\r\n  Tag=T\r\n  Hide=Yes\r\n  TextStyle=Mine\r\nEnd.\r\n",
                   TRecordVariant::Legacy);
    const auto* t = Child<TSymbolObjectText>(*s, 0);
    EXPECT_EQ(t->fHeight, 30);
    EXPECT_EQ(t->fTextStyleName, "TextStyle_Text");
    EXPECT_EQ(t->fBorder, symborderstyleNone);
    EXPECT_EQ(t->fCaptionList, (std::vector<std::string>{"x"}));
    const auto* a = Child<TSymbolObjectAttribute>(*s, 1);
    EXPECT_EQ(a->fTag, "T");
    EXPECT_TRUE(a->fHide);
    EXPECT_EQ(a->fTextStyleName, "TextStyle_Attribute");
}

TEST(TextRecords, TextOfAnotherLineTypeLeavesTheStyleColourAndFont) {
    auto s =
        ReadSymbol("Text:\r\n  Handle=1\r\nEnd.\r\nText:\r\n  LineType=Attribute\r\n  Handle=2\r\nEnd.\r\n");
    EXPECT_TRUE(Child<TSymbolObjectText>(*s, 0)->fOverrideTextStyleSettings.UseStyleDefault);
    const auto& o = Child<TSymbolObjectText>(*s, 1)->fOverrideTextStyleSettings;
    EXPECT_FALSE(o.UseStyleDefault);
    EXPECT_FALSE(o.UseStyleColor);
}

TEST(TextRecords, CorrectEmpty) {
    TSymbolObjectText t;
    t.fCaptionList = {"A ", "", ""};
    t.CorrectEmpty(true);
    EXPECT_EQ(t.fCaptionList, (std::vector<std::string>{"A"}));
    t.fCaptionList = {"   "};
    t.CorrectEmpty(true);
    EXPECT_EQ(t.fCaptionList, (std::vector<std::string>{"?"}));
    t.fCaptionList = {"   "};
    t.CorrectEmpty(false);
    EXPECT_TRUE(t.fCaptionList.empty());
}

// ---------------------------------------------------------------------------------------------
// Special attributes and captions

TEST(SpecialAttributes, TagsAndOlderSpellings) {
    EXPECT_EQ(SpecialAttributeCount, 150);
    EXPECT_EQ(SpecialAttributeTag(saCompanyAddress5), "_COMPANYADDRESS5");
    EXPECT_EQ(SpecialAttributeTag(saSandwich), "_Sandwich");
    const std::pair<const char*, TSpecialAttribute> cases[] = {
        {"projectname", saProjectName},
        {"REV1NO", saRev1No},
        {"rev10drawnby", saRev10DrawnBy},
        {"Rev5DrawnBy", RevisionAttribute(5, rfDrawnBy)},
        {"_carticlecode", saArticleCode},
        {"CONNECTION LINE BOTH ARROWS2", saConnectionLineBothArrows2},
        {"REV NR. 3", RevisionAttribute(3, rfNumber)},
        {"rev name 10", RevisionAttribute(10, rfNumber)},
        {"Revision10Date", RevisionAttribute(10, rfDate)},
        {"REV DESCRIPTION 7", RevisionAttribute(7, rfDescription)},
        {"REV. APPR 2", RevisionAttribute(2, rfCheckedBy)},
        {"REV", saRevNo},
        {"REVISION", saRevision},
        {"REV DRAWN 1", saNone}, // the drawn-by field has no older spelling
        {"REV11NO", saNone},
        {"", saNone},
    };
    for (const auto& [tag, expected] : cases)
        EXPECT_EQ(SpecialAttributeOfTag(tag), expected) << tag;
    EXPECT_TRUE(IsGraphicSpecialAttribute(saConnectionLineSingleArrow));
    EXPECT_FALSE(IsGraphicSpecialAttribute(saConnectionLineBreakText));
}

TEST(SpecialAttributes, OlderRevisionTagsMoveIntoRevisions) {
    TSymbolFile doc;
    auto attr = [](const char* tag, const char* value) {
        return std::string("  Attribute:\r\n    Tag=") + tag + "\r\n    Value=" + value +
               "\r\n  EndAttribute.\r\n";
    };
    ASSERT_TRUE(doc.LoadFromString("Header:\r\n  FileType=Schematic\r\nEnd.\r\nAttributeList:\r\n" +
                                       attr("Revision 4", "D") + attr("REV DATE 2", "2024-03-15") +
                                       attr("rev. appr 1", "KV") + attr("REV DRAWN 1", "XY") +
                                       attr("REV NR. 6", "F") + "EndAttributeList.\r\n",
                                   "revisions"));
    ASSERT_EQ(doc.fRevisionList.Count(), 4);
    EXPECT_EQ(doc.fRevisionList.fList[3].Number, "D");
    EXPECT_DOUBLE_EQ(doc.fRevisionList.fList[1].Date, 45366);
    EXPECT_EQ(doc.fRevisionList.fList[0].CheckedBy, "KV");
    ASSERT_EQ(doc.fAttributeList.Count(), 2);
    EXPECT_EQ(doc.fAttributeList.fAttributeList[0].Tag, "REV DRAWN 1");
    EXPECT_EQ(doc.fAttributeList.fAttributeList[1].Tag, "REV NR. 6");
}

TEST(AttributeCaption, ValuesDefaultsAndNumbers) {
    struct Case {
        bool Numeric;
        double Float;
        int Decimals;
        const char* Value;
        const char* Default;
        const char* Expected;
    };
    const Case cases[] = {
        {true, 12.5, 2, "", "", "12.50"},
        {true, 12.5, 0, "", "", "12.5"},
        {true, 12.5, 0, "", "\xC3\xB8<>",
         "\xC3\xB8"
         "12.5"},
        {true, 0, 0, "", "\xC3\xB8<>", "\xC3\xB8**"},
        {true, 3, 0, "", "<> x <>", "3 x 3"},
        {true, 3, 0, "", "fixed", "fixed"},
        {true, 0.1, 3, "", "", "0.100"},                 // single precision, 7 digits: no 0.1000000015
        {true, 2.5, -4, "", "", "2.5"},                  // a negative count reads as none
        {true, 0.5, 400, "", "", "0.50000000000000000"}, // clamped to 17 decimals
        {true, -0.000001, 0, "", "", "0"},
        {false, 7, 2, "V", "D", "V"},
        {false, 7, 2, "", "D", "D"},
        {false, 7, 2, "", "", "TAG"},
    };
    for (const Case& c : cases) {
        TSymbolObjectAttribute a;
        a.fTag = "TAG";
        a.fFloatingPoint = c.Numeric;
        a.fFloatValue = c.Float;
        a.fDecimals = c.Decimals;
        a.fValue = c.Value;
        a.fDefaultValue = c.Default;
        EXPECT_EQ(a.GetCaption(), c.Expected) << c.Float << " " << c.Decimals << " " << c.Default;
    }
    // Values far beyond single precision are shown, not turned into infinity.
    EXPECT_EQ(FormatAttributeValue(1e300, 2).substr(0, 8), "10000000");
}

TEST(AttributeCaption, NumbersTakeTheGivenDecimalSeparator) {
    TSymbolObjectAttribute a;
    a.fFloatingPoint = true;
    a.fFloatValue = 12.5;
    a.fDefaultValue = "\xC3\xB8<> x <>";
    a.fDecimals = 2;
    EXPECT_EQ(a.GetCaption(','), "\xC3\xB8"
                                 "12,50 x 12,50");
    a.fDecimals = 0;
    EXPECT_EQ(a.GetCaption(','), "\xC3\xB8"
                                 "12,5 x 12,5");
    EXPECT_EQ(a.GetCaption(), "\xC3\xB8"
                              "12.5 x 12.5");
    // Only the number changes: a point in the surrounding text stays.
    a.fDefaultValue = "v.<>";
    EXPECT_EQ(a.GetCaption(','), "v.12,5");
    EXPECT_EQ(FormatAttributeValue(3, 0, ','), "3");
    // A text attribute is shown as written.
    a.fFloatingPoint = false;
    a.fValue = "1.5";
    EXPECT_EQ(a.GetCaption(','), "1.5");
}

TEST(AttributeCaption, GraphicArrows) {
    const TPoint a(-20, 16), b(20, -16);
    EXPECT_EQ(GraphicAttributeArrows(saConnectionLineBothArrows, 0, a, b),
              (std::vector<TAttributeArrow>{{{-20, 0}, {0, 0}}, {{20, 0}, {0, 0}}}));
    EXPECT_EQ(GraphicAttributeArrows(saConnectionLineDoubleArrow2, 0, a, b),
              (std::vector<TAttributeArrow>{{{-20, -10}, {20, -10}}, {{20, 10}, {-20, 10}}}));
    EXPECT_EQ(GraphicAttributeArrows(saConnectionLineSingleArrow, 180, a, b),
              (std::vector<TAttributeArrow>{{{20, 0}, {-20, 0}}}));
    const TPoint va(-16, -20), vb(16, 20);
    EXPECT_EQ(GraphicAttributeArrows(saConnectionLineSingleArrow, 90, va, vb),
              (std::vector<TAttributeArrow>{{{0, -20}, {0, 20}}}));
    EXPECT_EQ(GraphicAttributeArrows(saConnectionLineSingleRightArrow2, 270, va, vb),
              (std::vector<TAttributeArrow>{{{0, -20}, {0, 20}}}));
    EXPECT_TRUE(GraphicAttributeArrows(saProjectName, 0, a, b).empty());
}

// ---------------------------------------------------------------------------------------------
// Boxes and drawing positions

TEST_F(TextCanvasTest, OneLineBoxesAndOutputByAlignmentAndRotation) {
    struct Case {
        TTextAlign Align;
        int Rotation;
        TPoint C1, C2; // drawing units
        TPoint Out;    // device pixels; the anchor (100, 200) is at (100, 400)
    };
    const Case cases[] = {
        {taLeft, 0, {100, 227}, {149, 200}, {100, 373}},  {taRight, 0, {51, 227}, {100, 200}, {51, 373}},
        {taCenter, 0, {76, 227}, {124, 200}, {76, 373}},  {taMiddle, 0, {76, 213}, {124, 187}, {76, 387}},
        {taLeft, 90, {73, 200}, {100, 249}, {73, 400}},   {taRight, 90, {73, 151}, {100, 200}, {73, 449}},
        {taCenter, 90, {73, 176}, {100, 224}, {73, 424}}, {taMiddle, 90, {87, 176}, {113, 224}, {87, 424}},
    };
    for (const Case& c : cases) {
        TSymbolObjectText t;
        t.fP1 = {100, 200};
        t.fAlign = c.Align;
        t.fRotation = c.Rotation;
        t.fCaptionList = {"ABC"};
        Paint(t);
        const std::string label = std::string(TextAlignNames[c.Align]) + " " + std::to_string(c.Rotation);
        EXPECT_EQ(t.fExtents.C1, c.C1) << label;
        EXPECT_EQ(t.fExtents.C2, c.C2) << label;
        EXPECT_EQ(TextOuts(Surface), (std::vector<std::string>{"TextOut " + std::to_string(c.Out.X) + " " +
                                                               std::to_string(c.Out.Y) + " ABC"}))
            << label;
        // The text leaves the canvas horizontal for whatever draws next.
        EXPECT_EQ(Surface.Font().Escapement, 0) << label;
    }
}

TEST_F(TextCanvasTest, BorderMarginsAndHitTests) {
    TSymbolObjectText t;
    t.fP1 = {100, 200};
    t.fBorder = symborderstyleSolid;
    t.fCaptionList = {"ABC"};
    Paint(t);
    // a = 10, b = Round((40 - 27) / 2) = 6 (halves to even).
    EXPECT_EQ(t.fExtents.C1, TPoint(90, 233));
    EXPECT_EQ(t.fExtents.C2, TPoint(159, 194));
    EXPECT_EQ(Surface.CallsStartingWith("Rectangle"), (std::vector<std::string>{"Rectangle 90 367 159 406"}));
    EXPECT_TRUE(t.HitTest({87, 235}, 3));
    EXPECT_FALSE(t.HitTest({86, 235}, 3));
    EXPECT_TRUE(t.HitTestRect(TRect({80, 240}, {170, 190})));
    EXPECT_FALSE(t.HitTestRect(TRect({95, 240}, {170, 190}))); // window: not wholly inside
    EXPECT_TRUE(t.HitTestRect(TRect({170, 240}, {155, 190}))); // crossing: touching is enough
    EXPECT_TRUE(t.HitTestRect(TRect({120, 210}, {110, 205}))); // crossing inside the box
    TExtentsRect e = t.Extents({});
    EXPECT_EQ(e.Left, 90);
    EXPECT_EQ(e.Top, 233);
}

TEST_F(TextCanvasTest, EmptyTextIsAPointAndDrawsNothing) {
    TSymbolObjectText t;
    t.fP1 = {5, 6};
    t.fBorder = symborderstyleSolid;
    Paint(t);
    EXPECT_EQ(t.fExtents.C1, TPoint(5, 6));
    EXPECT_EQ(t.fExtents.C2, TPoint(5, 6));
    EXPECT_TRUE(TextOuts(Surface).empty());
    EXPECT_TRUE(Surface.CallsStartingWith("Rectangle").empty());
}

TEST_F(TextCanvasTest, TextsOfOnePointOrLessAreNotDrawn) {
    TSymbolObjectText t;
    t.fCaptionList = {"A"};
    Canvas.fZoom = 0.04; // 20 units at 0.8 points, rounded to 1
    Paint(t);
    EXPECT_EQ(Canvas.FontSize(), 1);
    EXPECT_TRUE(TextOuts(Surface).empty());
    Canvas.fZoom = 0.08;
    Paint(t);
    EXPECT_EQ(TextOuts(Surface).size(), 1u);
}

TEST_F(TextCanvasTest, MultiLineBlockIsCentredOnTheAnchor) {
    auto s = ReadSymbol("Text:\r\n  SymbolType=Multiline Text\r\n  Point1X=100\r\n  Point1Y=200\r\n"
                        "  Align=Right\r\n  Caption=ABC\r\n  Caption=\r\n  Caption=A\r\nEnd.\r\n");
    auto* t = Child<TSymbolObjectText>(*s, 0);
    ASSERT_TRUE(t->IsMultiLine());
    Paint(*t);
    // W = 49, H = 27, T = 81: the box is centred, each line right-aligned; the empty line is
    // skipped.
    EXPECT_EQ(t->fExtents.C1, TPoint(76, 240));
    EXPECT_EQ(t->fExtents.C2, TPoint(124, 160));
    EXPECT_EQ(TextOuts(Surface), (std::vector<std::string>{"TextOut 76 360 ABC", "TextOut 108 414 A"}));
}

TEST_F(TextCanvasTest, AttributeLinesFollowThePitch) {
    TSymbolObjectAttribute a;
    a.fP1 = {100, 200};
    a.fValue = "AB|C";
    a.fAlign = taCenter;
    Paint(a);
    // Block 27 + 25 = 52 units above the anchor; lines 25 apart, each centred.
    EXPECT_EQ(a.fExtents.C1, TPoint(84, 252));
    EXPECT_EQ(a.fExtents.C2, TPoint(116, 200));
    EXPECT_EQ(TextOuts(Surface), (std::vector<std::string>{"TextOut 84 348 AB", "TextOut 92 373 C"}));
    a.fBorder = symborderstyleSolid;
    a.ResetExtents();
    Paint(a);
    // The frame keeps its margins around every line.
    EXPECT_EQ(a.fExtents.C1, TPoint(74, 258));
    EXPECT_EQ(a.fExtents.C2, TPoint(126, 194));
}

TEST_F(TextCanvasTest, GraphicAttributeBoxAndNoText) {
    TSymbolObjectAttribute a;
    a.fTag = "connection line both arrows";
    a.fHeight = 40;
    Paint(a);
    // a = 20, b = 27 div 2 at the fixed height of 20.
    EXPECT_EQ(a.fExtents.C1, TPoint(-20, 13));
    EXPECT_EQ(a.fExtents.C2, TPoint(20, -13));
    EXPECT_TRUE(TextOuts(Surface).empty());
    a.fRotation = 90;
    a.ResetExtents();
    Paint(a);
    EXPECT_EQ(a.fExtents.C1, TPoint(-13, -20));
    a.Rotate90Degrees();
    EXPECT_EQ(a.fRotation, 180);
    TSymbolObjectAttribute plain;
    plain.fRotation = 90;
    plain.Rotate90Degrees();
    EXPECT_EQ(plain.fRotation, 0);
}

TEST_F(TextCanvasTest, GraphicAttributeDrawsArrows) {
    TSymbolObjectAttribute a;
    a.fTag = "CONNECTION LINE BOTH ARROWS";
    a.fHeight = 40;
    a.fP1 = {100, 100};
    Paint(a);
    EXPECT_TRUE(TextOuts(Surface).empty());
    // Box (80, 113)-(120, 87): two filled heads of 30 units, tips at (80, 100) and (120, 100),
    // that is (80, 500) and (120, 500) on the device.
    const auto heads = Surface.CallsStartingWith("Polygon");
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[0], "Polygon 110 508 110 492 80 500");
    EXPECT_EQ(heads[1], "Polygon 90 492 90 508 120 500");
}

TEST_F(TextCanvasTest, FontColours) {
    const TColor green = RGBColor(0, 0xFF, 0), yellow = RGBColor(0xFF, 0xFF, 0);
    TTextStyle* own = Styles.Add();
    own->fData.StyleName = "Own";
    own->fData.UseDefaultColor = false;
    own->fData.StyleColor = RGBColor(1, 2, 3);
    TTextStyle* black = Styles.Add();
    black->fData.StyleName = "Black";
    black->fData.UseDefaultColor = false;
    black->fData.StyleColor = 0;
    struct Case {
        const char* Style;
        TOverrideTextStyleSettingsData Override;
        TSymbolDrawMode Mode;
        TColor Expected;
    };
    TOverrideTextStyleSettingsData lineType, ownColour;
    lineType.UseStyleDefault = lineType.UseStyleColor = false;
    ownColour = lineType;
    ownColour.UseDefaultColor = false;
    ownColour.TextColor = RGBColor(9, 9, 9);
    const Case cases[] = {
        {"TextStyle_Text", {}, sdmNormal, green},
        {"Own", {}, sdmNormal, RGBColor(1, 2, 3)},
        {"Black", {}, sdmNormal, RGBColor(0xFF, 0xFF, 0xFF)}, // the background colour would vanish
        {"Missing", {}, sdmNormal, yellow},                   // the pen of an attribute
        {"TextStyle_Text", lineType, sdmNormal, yellow},
        {"TextStyle_Text", ownColour, sdmNormal, RGBColor(9, 9, 9)},
        {"TextStyle_Text", ownColour, sdmHighlight, Canvas.DrawColor(dcHighlight)},
    };
    for (const Case& c : cases) {
        Canvas.ApplyObjectPen(c.Mode, symlinetypeAttribute, symlinestyleDefault, false, 0);
        EXPECT_EQ(SelectTextStyle(Canvas, &Styles, c.Style, symlinetypeAttribute, c.Override, c.Mode).Color,
                  c.Expected)
            << c.Style;
    }
}

TEST_F(TextCanvasTest, StrikeOutReachesTheSurfaceFont) {
    TTextStyle* struck = Styles.Add();
    struck->fData.StyleName = "Struck";
    struck->fData.IsStrikeOut = true;
    TOverrideTextStyleSettingsData own, plain;
    own.UseStyleDefault = plain.UseStyleDefault = false;
    own.IsStrikeOut = true;
    struct Case {
        const char* Style;
        TOverrideTextStyleSettingsData Override;
        bool Expected;
    };
    // In this order each case undoes what the one before it set.
    const Case cases[] = {
        {"Struck", {}, true},
        {"TextStyle_Text", {}, false},
        {"TextStyle_Text", own, true},
        {"Struck", plain, false}, // the object's own settings win over its style's
    };
    for (const Case& c : cases) {
        SelectTextStyle(Canvas, &Styles, c.Style, symlinetypeText, c.Override, sdmNormal);
        EXPECT_EQ(Surface.Font().StrikeOut, c.Expected) << c.Style << " " << c.Override.UseStyleDefault;
    }

    TSymbolObjectText t;
    t.fTextStyleName = "Struck";
    t.fCaptionList = {"ABC"};
    Paint(t);
    const std::vector<std::string> calls = Surface.Calls();
    const auto out = std::find_if(calls.begin(), calls.end(),
                                  [](const std::string& c) { return c.rfind("TextOut", 0) == 0; });
    ASSERT_NE(out, calls.end());
    const auto font = std::find_if(std::make_reverse_iterator(out), calls.rend(),
                                   [](const std::string& c) { return c.rfind("Font ", 0) == 0; });
    ASSERT_NE(font, calls.rend());
    EXPECT_NE(font->find(" S #"), std::string::npos) << *font;
}

TEST_F(TextCanvasTest, NumericAttributesAreDrawnWithTheCanvasSeparator) {
    TSymbolObjectAttribute a;
    a.fP1 = {100, 200};
    a.fFloatingPoint = true;
    a.fFloatValue = 2.5;
    a.fDecimals = 2;
    Canvas.fDecimalSeparator = ',';
    Paint(a);
    EXPECT_EQ(TextOuts(Surface), std::vector<std::string>{"TextOut 100 373 2,50"});
}

// ---------------------------------------------------------------------------------------------
// Fitting and measuring

// Widths that grow faster than the font, so that shrinking is needed to fit; counts what it is
// asked to measure.
class TWideningSurface : public TRecordingSurface {
public:
    TSize TextExtent(const std::string& text) override {
        ++Measured;
        const int64_t h = Font().Height;
        return {int32_t(std::min<int64_t>(int64_t(text.size()) * h * h / 8, INT32_MAX)), int32_t(h)};
    }
    int Measured = 0;
};

TEST(TextFit, BisectionFindsTheSizeSteppingWouldFind) {
    TWideningSurface surface;
    TSymbolCanvas canvas(&surface);
    const std::vector<std::string> lines = {"wide line", "x"};
    for (int start : {1, 2, 7, 40, 333}) {
        for (int64_t maxWidth : {int64_t(0), int64_t(30), int64_t(500), int64_t(123456)}) {
            SetFontPoints(canvas, start);
            int stepped = canvas.FontSize();
            while (WidestLine(canvas, lines) > maxWidth && stepped >= 1)
                SetFontPoints(canvas, --stepped);
            SetFontPoints(canvas, start);
            EXPECT_EQ(FitFontPoints(canvas, lines, maxWidth), stepped) << start << " " << maxWidth;
            EXPECT_EQ(canvas.FontSize(), stepped);
        }
    }
}

TEST(TextFit, HugeSizesAreSearchedNotStepped) {
    TWideningSurface surface;
    TSymbolCanvas canvas(&surface);
    SetFontPoints(canvas, 200000000);
    EXPECT_EQ(FitFontPoints(canvas, {"a line", "another line"}, 500), 13);
    EXPECT_LT(surface.Measured, 200);

    surface.Measured = 0;
    canvas.fSize = {800, 600};
    canvas.fZoom = 200;
    TSymbolObjectText t;
    t.fSymbolObjectSubType = soMultiText;
    t.fHeight = 1000000;
    t.fCaptionList = {"huge fitted text", "second"};
    t.Draw(canvas, sdmNormal, false, nullptr);
    EXPECT_LT(surface.Measured, 200);
    EXPECT_FALSE(surface.CallsStartingWith("TextOut").empty() &&
                 surface.CallsStartingWith("Rectangle").empty());
}

TEST(TextFit, TooSmallToReadBecomesARectangle) {
    TRecordingSurface surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {800, 600};
    canvas.fZoom = 0.07; // 1.4 points
    canvas.fShowTextBorders = false;
    TSymbolObjectText t;
    t.fSymbolObjectSubType = soMultiText;
    t.fP1 = {400, 300};
    t.fHeight = 20;
    t.fCaptionList = {"ABCDEFGHIJ", "KLM"};
    t.Draw(canvas, sdmNormal, false, nullptr);
    EXPECT_TRUE(surface.CallsStartingWith("TextOut").empty());
    // The box (319, 327)-(481, 273) in drawing units is (22, 19)-(34, 23) on the device.
    EXPECT_EQ(surface.CallsStartingWith("Rectangle"), (std::vector<std::string>{"Rectangle 23 20 33 22"}));
}

TEST(TextFit, APaintMeasuresEachStringOnce) {
    class TCounting : public TRecordingSurface {
    public:
        TSize TextExtent(const std::string& text) override {
            ++Counts[text];
            return TRecordingSurface::TextExtent(text);
        }
        std::map<std::string, int> Counts;
    } surface;
    TSymbolCanvas canvas(&surface);
    canvas.fSize = {800, 600};
    auto s = ReadSymbol("Attribute:\r\n  Value=once only\r\nEnd.\r\nAttribute:\r\n  Value=once only\r\n"
                        "  Point1X=50\r\nEnd.\r\nText:\r\n  Caption=once only\r\nEnd.\r\n");
    s->Draw(canvas, sdmNormal, false, nullptr);
    s->ResetExtents();
    s->Draw(canvas, sdmNormal, false, nullptr);
    for (const auto& [text, n] : surface.Counts)
        EXPECT_EQ(n, 1) << text;
    EXPECT_EQ(surface.Counts.count("once only"), 1u);
}

} // namespace
