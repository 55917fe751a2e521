#include "components/Ports.h"
#include "components/SymbolObjectSymbol.h"
#include "model/KeyValues.h"
#include "model/TextStyles.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"

#include <gtest/gtest.h>

#include "support/Records.h"

// The recording surface measures every code point 0.6 font heights wide; a caption of height
// 20 at zoom 1 is set at 27 pixels: "P" is 16 wide, "gH" 27 high, the line pitch is 25.

namespace {

template <class T> T* Child(const TSymbolObject& s, int i) {
    return dynamic_cast<T*>(s.fSymbolObjectList.SymbolObjects(i));
}

class PortCanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        Canvas.fSize = {800, 600};
        Canvas.fCanvasColors = SymbolCanvasColorsBlack();
        Canvas.fShowTextBorders = false;
        Canvas.fThickConnectionLines = false;
        Styles.AddDefaults();
    }
    void Paint(TSymbolObject& o, TSymbolDrawMode mode = sdmNormal) {
        Surface.ClearCalls();
        o.Draw(Canvas, mode, false, &Styles);
    }
    std::vector<std::string> Calls(const char* prefix) const { return Surface.CallsStartingWith(prefix); }
    // A port with its stub from (100, 50) down to (100, 0) and its caption centred at (100, 100).
    static std::unique_ptr<TSymbolObjectPort> MakePort(const std::string& text) {
        auto p = std::make_unique<TSymbolObjectPort>();
        p->fP1 = {100, 50};
        p->fP2 = {100, 0};
        p->fP3 = {100, 100};
        p->fPortName = "P";
        p->fPortText = text;
        return p;
    }
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    TTextStyleList Styles;
};

// ---------------------------------------------------------------------------------------------
// Records and captions

TEST(PortRecords, KeysOfTheCurrentVariant) {
    auto s =
        ReadSymbol("Port:\r\n  Height=30\r\n  Rotation=90\r\n  Point2X=5\r\n  Point2Y=x\r\n"
                   "  PortText=A|B\r\n  Border=solid\r\n  ForExternalConnection=Yes\r\n"
                   "  PortType=loopthrough\r\n  LoopedToHandle=7\r\n  LoopedFromHandle=8\r\n"
                   "  MateWithHandle=9\r\n  JoinedWithHandle=10\r\n  ClosedPort=Yes\r\n  TextStyle=Mine\r\n"
                   "  MateText=M\r\n  JoinableFiles=a.kcf|b.kcf\r\n  UseStyleDefault=No\r\n  IsBold=Yes\r\n"
                   "  Point3X=11\r\n  Point3Y=12\r\n  PortName=P\r\n  VirtualPort=Yes\r\n"
                   "  SymGroupCode=B\r\nEnd.\r\n");
    const auto* p = Child<TSymbolObjectPort>(*s, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->fHeight, 30);
    EXPECT_EQ(p->fRotation, 90);
    EXPECT_EQ(p->fP2, TPoint(5, 0));
    EXPECT_EQ(p->fPortText, "A|B");
    EXPECT_EQ(p->fBorder, symborderstyleSolid);
    EXPECT_TRUE(p->fForExternalConnection);
    EXPECT_TRUE(p->IsLoopThrough());
    EXPECT_EQ(p->fLoopedToHandle, 7);
    EXPECT_EQ(p->fLoopedFromHandle, 8);
    EXPECT_EQ(p->fMateWithHandle, 9);
    EXPECT_EQ(p->fJoinedWithHandle, 10);
    EXPECT_TRUE(p->fClosedPort);
    EXPECT_EQ(p->fTextStyleName, "Mine");
    EXPECT_EQ(p->MateText(), "M");
    EXPECT_EQ(p->CreateJoinableFileList(), (std::vector<std::string>{"a.kcf", "b.kcf"}));
    EXPECT_TRUE(p->fOverrideTextStyleSettings.IsBold);
    EXPECT_EQ(p->fP3, TPoint(11, 12));
    EXPECT_EQ(p->fPortName, "P");
    EXPECT_TRUE(p->fVirtualPort);
    EXPECT_EQ(p->SubGroupData().Code, "B");
    EXPECT_EQ(p->fSymbolObjectMainType, somPort);
    EXPECT_EQ(p->fSymLineType, symlinetypePort);
    EXPECT_EQ(p->fLayerName, "Port");
}

TEST(PortRecords, KeysOfTheLegacyVariant) {
    auto s = ReadSymbol(
        "Port:\r\nHeight=30\r\nPortName=P\r\nPoint3X=4\r\nMateText=M\r\nTextStyle=X\r\n"
        "ClosedPort=Yes\r\nSymGroupCode=B  \r\nSymGroupColor=255\r\nSymGroupLine=dashed\r\nEnd.\r\n"
        "IPort:\r\nPortText=Q\r\nHideText=Yes\r\nHandle=3\r\nEnd.\r\n",
        TRecordVariant::Legacy);
    const auto* p = Child<TSymbolObjectPort>(*s, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->fHeight, 30);
    EXPECT_EQ(p->fPortName, "P");
    EXPECT_EQ(p->fP3.X, 4);
    EXPECT_EQ(p->fMateText, "");
    EXPECT_EQ(p->fTextStyleName, "TextStyle_Port");
    EXPECT_FALSE(p->fClosedPort);
    EXPECT_EQ(p->SubGroupData().Code, "B");
    EXPECT_EQ(p->SubGroupData().Color, 255u);
    EXPECT_EQ(p->SubGroupData().SymLineStyle, symlinestyleDashed);
    // The legacy inner port knows only the common keys; IPORT: is no legacy keyword at all.
    EXPECT_EQ(s->fSymbolObjectList.Count(), 1);
}

TEST(PortRecords, PortTypeNames) {
    const std::pair<const char*, TSymbolObjectPortType> cases[] = {
        {"LoopThrough", soptLoopThrough},
        {"LOOPTHROUGH", soptLoopThrough},
        {"Loop Through", soptNormal},
        {"Normal", soptNormal},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(Child<TSymbolObjectPort>(
                      *ReadSymbol(std::string("Port:\r\n  PortType=") + text + "\r\nEnd.\r\n"), 0)
                      ->fPortType,
                  expected)
            << text;
}

TEST(PortRecords, InnerPortKeys) {
    auto s =
        ReadSymbol("IPort:\r\n  Handle=1\r\nEnd.\r\n"
                   "IPort:\r\n  PortText=\r\n  AttachedIBorderHandle=5\r\n  AttachedIBorderSide=2\r\nEnd.\r\n"
                   "IPort:\r\n  HideText=No\r\n  SymGroupCode=K\r\nEnd.\r\n");
    const auto* plain = Child<TSymbolObjectIPort>(*s, 0);
    const auto* empty = Child<TSymbolObjectIPort>(*s, 1);
    const auto* hidden = Child<TSymbolObjectIPort>(*s, 2);
    ASSERT_TRUE(plain && empty && hidden);
    EXPECT_EQ(plain->Caption(), "*");
    EXPECT_EQ(plain->fTextStyleName, "TextStyle_IPort");
    EXPECT_EQ(empty->Caption(), "\xC2\xB7");
    EXPECT_EQ(empty->fAttachedIBorderHandle, 5);
    EXPECT_EQ(empty->fAttachedIBorderSide, 2);
    EXPECT_TRUE(hidden->fHideText);
    EXPECT_EQ(hidden->Caption(), "K");
    EXPECT_EQ(hidden->PortName(), "*");
    EXPECT_EQ(hidden->ConnectionLinePoint(), hidden->fP1);
}

TEST(PortRecords, VisibleChildrenLeaveOutTextHiddenPortsAndLinelessHelpPorts) {
    auto s = ReadSymbol("Port:\r\n  Point1X=0\r\n  Point2X=10\r\nEnd.\r\n"
                        "Port:\r\n  Point1X=0\r\n  Point2X=10\r\nEnd.\r\n"
                        "Port:\r\n  Point1X=5\r\n  Point2X=5\r\nEnd.\r\n"
                        "IPort:\r\n  Handle=4\r\nEnd.\r\n"
                        "2PointSymbol:\r\n  SymbolType=Line\r\n  Point2X=10\r\nEnd.\r\n");
    const TSymbolObjectList& l = s->fSymbolObjectList;
    EXPECT_EQ(l.VisibleCount(), 5);
    auto* withLine = Child<TSymbolObjectPort>(*s, 1);
    auto* lineless = Child<TSymbolObjectPort>(*s, 2);
    ASSERT_TRUE(withLine && lineless);
    withLine->fUsedAsHelpPort = lineless->fUsedAsHelpPort = true;
    EXPECT_EQ(l.VisibleCount(), 4); // a help port counts only with its line
    l.SymbolObjects(0)->fTemporaryHidden = temphiddenText;
    l.SymbolObjects(3)->fTemporaryHidden = temphiddenText;
    l.SymbolObjects(4)->fTemporaryHidden = temphiddenText; // the text flag is the ports' only
    EXPECT_EQ(l.VisibleCount(), 2);
}

TEST(PortRecords, Captions) {
    struct Case {
        const char* Text;
        const char* Group;
        std::vector<std::string> Lines;
    };
    const Case cases[] = {
        {"", "", {"P"}},
        {"<>1", "B", {"B1"}},
        {"<>1", "", {"*1"}},
        {"x<>|<>y", "G", {"xG", "Gy"}},
    };
    for (const Case& c : cases) {
        TSymbolObjectPort p;
        p.fPortName = "P";
        p.fPortText = c.Text;
        p.EditSubGroupData().Code = c.Group;
        EXPECT_EQ(p.CreateCaptionList(), c.Lines) << c.Text;
    }
    TSymbolObjectPort joinable;
    joinable.fPortName = "P";
    joinable.fPortType = soptLoopThrough;
    joinable.fLoopedFromHandle = 3;
    joinable.fJoinableFiles = "a.kcf";
    EXPECT_EQ(joinable.CreateCaptionList(), (std::vector<std::string>{"\xE2\x96\xBC"}));
    EXPECT_EQ(joinable.BrevindPortName(true), "P");
    joinable.fPortText = "Display";
    EXPECT_EQ(joinable.BrevindPortName(true), "Display");
    EXPECT_EQ(joinable.BrevindPortName(false), "P");
}

TEST(PortRecords, LineDirectionsAndJoining) {
    const std::tuple<TPoint, TPoint, TLineDirection> cases[] = {
        {{0, 0}, {0, 0}, ldNone}, {{0, 0}, {10, 0}, ldRight},  {{10, 0}, {0, 0}, ldLeft},
        {{0, 0}, {0, 10}, ldTop}, {{0, 10}, {0, 0}, ldBottom}, {{0, 0}, {10, 10}, ldNone},
    };
    for (const auto& [p1, p2, expected] : cases) {
        TSymbolObjectPort p;
        p.fP1 = p1;
        p.fP2 = p2;
        EXPECT_EQ(p.LineDirection(), expected) << p2.X << "," << p2.Y;
    }
    TSymbolObjectIPort ip;
    ip.SetJoinedWithHandle(4);
    EXPECT_TRUE(ip.fHideText);
    ip.SetJoinedWithHandle(-1);
    EXPECT_FALSE(ip.fHideText);
    TSymbolObjectPort p;
    p.SetJoinedWithHandle(4);
    EXPECT_EQ(p.fJoinedWithHandle, 4);
}

TEST(PortRecords, HandlesReachPortsInsideNestedSymbols) {
    auto root =
        ReadSymbol("Symbol:\r\n  Handle=1\r\n  Symbol:\r\n    Handle=2\r\n"
                   "    Port:\r\n      Handle=42\r\n    End.\r\n    IPort:\r\n      Handle=43\r\n    End.\r\n"
                   "  End.\r\nEnd.\r\nPort:\r\n  Handle=44\r\nEnd.\r\n");
    TSymbolObject* inner = root->fSymbolObjectList.Find(2);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(root->fSymbolObjectList.Find(42), inner->fSymbolObjectList.SymbolObjects(0));
    EXPECT_NE(dynamic_cast<TSymbolObjectIPort*>(root->fSymbolObjectList.Find(43)), nullptr);
    EXPECT_NE(root->fSymbolObjectList.Find(44), nullptr);
    EXPECT_EQ(root->fSymbolObjectList.Find(45), nullptr);
    EXPECT_EQ(root->GetOwner(42), inner);
    TSymbolObject* found = nullptr;
    root->FindByHandle(43, found);
    EXPECT_EQ(found, inner->fSymbolObjectList.SymbolObjects(1));
}

// ---------------------------------------------------------------------------------------------
// Caption boxes, extents and hit tests

TEST_F(PortCanvasTest, CaptionBoxes) {
    struct Case {
        const char* Text;
        int Rotation;
        TSymBorderStyle Border;
        TPoint C1, C2;
    };
    const Case cases[] = {
        {"", 0, symborderstyleNone, {92, 113}, {108, 87}},
        {"", 90, symborderstyleNone, {87, 92}, {113, 108}},
        {"A|BB", 0, symborderstyleNone, {84, 126}, {116, 74}},
        {"", 0, symborderstyleDashed, {82, 119}, {118, 81}}, // margins 10 and Round(6.5) = 6
    };
    for (const Case& c : cases) {
        auto p = MakePort(c.Text);
        p->fRotation = c.Rotation;
        p->fBorder = c.Border;
        p->PrepareDraw(Canvas, sdmNormal, &Styles);
        EXPECT_EQ(p->fExtents.C1, c.C1) << c.Text << " " << c.Rotation;
        EXPECT_EQ(p->fExtents.C2, c.C2) << c.Text << " " << c.Rotation;
    }
}

TEST_F(PortCanvasTest, ExtentsAndHitTests) {
    auto p = MakePort("");
    p->PrepareDraw(Canvas, sdmNormal, &Styles);
    const TExtentsRect e = p->Extents({});
    EXPECT_EQ(e.Top, 113);
    EXPECT_EQ(e.Bottom, 0);
    EXPECT_EQ(e.Left, 92);
    EXPECT_TRUE(p->HitTest({90, 115}, 2));
    EXPECT_FALSE(p->HitTest({100, 25}, 2)); // the stub takes no clicks
    EXPECT_FALSE(p->HitTest({89, 100}, 2));
    EXPECT_TRUE(p->HitTestRect(TRect({200, 30}, {90, 20}))); // crossing the stub
    p->fHide = true;
    EXPECT_FALSE(p->Extents({}).Defined);

    struct Case {
        bool Virtual, HelpPort, LoopThrough, LoopedFrom, Joinable, Hit;
    };
    const Case cases[] = {
        {false, false, false, false, false, true}, {true, false, false, false, false, false},
        {false, true, false, false, false, false}, {false, false, true, false, false, true},
        {false, false, true, true, false, false},  {false, false, true, true, true, true},
        {false, false, false, true, false, true},
    };
    for (const Case& c : cases) {
        auto q = MakePort("");
        q->fVirtualPort = c.Virtual;
        q->fUsedAsHelpPort = c.HelpPort;
        q->fPortType = c.LoopThrough ? soptLoopThrough : soptNormal;
        q->fLoopedFromHandle = c.LoopedFrom ? 5 : -1;
        q->fJoinableFiles = c.Joinable ? "a.kcf" : "";
        q->PrepareDraw(Canvas, sdmNormal, &Styles);
        EXPECT_EQ(q->HitTest({100, 100}, 0), c.Hit)
            << c.Virtual << c.HelpPort << c.LoopThrough << c.LoopedFrom << c.Joinable;
    }
}

TEST_F(PortCanvasTest, InnerPortCircleCaptionAndExtents) {
    TSymbolObjectIPort ip;
    ip.fP1 = {0, 0};
    ip.fP2 = {100, 100};
    ip.PrepareDraw(Canvas, sdmNormal, &Styles);
    EXPECT_EQ(ip.fExtents.C1, TPoint(92, 113)); // "*"
    EXPECT_TRUE(ip.HitTest({12, 0}, 2));
    EXPECT_FALSE(ip.fTextIsClicked);
    EXPECT_FALSE(ip.HitTest({13, 0}, 2));
    EXPECT_TRUE(ip.HitTest({100, 100}, 0));
    EXPECT_TRUE(ip.fTextIsClicked);
    ip.ClearSelection();
    EXPECT_FALSE(ip.fTextIsClicked);
    TExtentsRect e = ip.Extents({});
    EXPECT_EQ(e.Left, -10);
    EXPECT_EQ(e.Top, 113);
    ip.fClosedPort = true;
    ip.fHideText = true;
    e = ip.Extents({});
    EXPECT_EQ(e.Left, -15);
    EXPECT_EQ(e.Top, 15);
    EXPECT_FALSE(ip.HitTest({100, 100}, 0));
}

// ---------------------------------------------------------------------------------------------
// Drawing

TEST_F(PortCanvasTest, StubAndCaptionLines) {
    auto p = MakePort("A|BB");
    Paint(*p);
    // Stub in the connection-line colour; lines 25 apart about the caption centre (100, 500),
    // left-aligned in the widest line's width of 32.
    EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 100 600"}));
    EXPECT_EQ(Calls("TextOut"), (std::vector<std::string>{"TextOut 84 474 A", "TextOut 84 499 BB"}));
    EXPECT_EQ(Surface.Font().Color, RGBColor(0xFF, 0, 0)); // the port style's colour
    p->fRotation = 90;
    p->ResetExtents();
    Paint(*p);
    EXPECT_EQ(Calls("TextOut"), (std::vector<std::string>{"TextOut 74 516 A", "TextOut 99 516 BB"}));
}

TEST_F(PortCanvasTest, ClosedPortMarks) {
    auto p = MakePort("");
    p->fClosedPort = true;
    Paint(*p);
    // A bar of 20 across the end of the vertical stub.
    EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 100 600", "LineTo 110 600"}));
    EXPECT_EQ(Calls("MoveTo")[1], "MoveTo 90 600");
    p->fP1 = p->fP2;
    Paint(*p);
    // Without a stub, an X of 20 by 20 at the end.
    EXPECT_EQ(Calls("MoveTo"), (std::vector<std::string>{"MoveTo 90 610", "MoveTo 110 610"}));
    EXPECT_EQ(Calls("LineTo"), (std::vector<std::string>{"LineTo 110 590", "LineTo 90 590"}));
}

TEST_F(PortCanvasTest, LoopThroughCaptions) {
    auto p = MakePort("");
    p->fPortType = soptLoopThrough;
    p->fLoopedFromHandle = 3;
    Paint(*p);
    EXPECT_TRUE(Calls("TextOut").empty());
    p->fJoinableFiles = "a.kcf";
    p->ResetExtents();
    Paint(*p);
    EXPECT_EQ(Calls("TextOut"), (std::vector<std::string>{"TextOut 92 486 \xE2\x96\xBC"}));
    // Its frame is shown even with text borders off, solid in the solenoid colour.
    EXPECT_EQ(Calls("Rectangle"), (std::vector<std::string>{"Rectangle 92 487 108 513"}));
    EXPECT_EQ(Surface.Font().Color, RGBColor(0xFF, 0x66, 0));
    EXPECT_TRUE(Surface.Font().Italic && Surface.Font().Underline);
}

TEST_F(PortCanvasTest, FramesLeadersAndMateText) {
    Canvas.fShowTextBorders = true;
    auto p = MakePort("");
    p->fInMainSymbol = usedInMainSymbol;
    p->fMateWithHandle = 5;
    p->fMateText = "M1";
    Paint(*p);
    EXPECT_EQ(Calls("Rectangle"), (std::vector<std::string>{"Rectangle 92 487 108 513"}));
    // The leader runs from the corner of the box on P1's side (P1 is not left of the centre,
    // so the right edge; below it, so the bottom edge) to P1.
    const auto moves = Calls("MoveTo");
    EXPECT_EQ(moves[1], "MoveTo 108 513");
    EXPECT_EQ(Calls("LineTo")[1], "LineTo 100 550");
    // The mate text at 8 units (11 pixels) with its top one "H" above P1.
    EXPECT_EQ(Calls("TextOut").front(), "TextOut 100 539 M1");
}

TEST_F(PortCanvasTest, GroupColoursAndThickLines) {
    Canvas.fThickConnectionLines = true;
    Canvas.fSymbolGroupDrawMode = drawMainGroups;
    auto p = MakePort("");
    p->EditMainGroupData().Code = "H";
    p->EditMainGroupData().Color = RGBColor(1, 2, 3);
    Paint(*p);
    const auto& calls = Surface.Calls();
    const auto line = std::find(calls.begin(), calls.end(), "LineTo 100 600");
    ASSERT_NE(line, calls.end());
    const auto pen = std::find_if(std::make_reverse_iterator(line), calls.rend(),
                                  [](const std::string& c) { return c.rfind("Pen ", 0) == 0; });
    EXPECT_EQ(*pen, "Pen #010203 solid 2 copy");
    EXPECT_EQ(Surface.Font().Color, RGBColor(1, 2, 3));
    EXPECT_EQ(Surface.Pen().Width, 1);
}

TEST_F(PortCanvasTest, InnerPortDrawing) {
    TSymbolObjectIPort ip;
    ip.fP1 = {100, 100};
    ip.fP2 = {200, 200};
    ip.fPortText = "M";
    ip.fClosedPort = true;
    Paint(ip);
    EXPECT_EQ(Calls("Ellipse"), (std::vector<std::string>{"Ellipse 90 490 111 511"}));
    EXPECT_EQ(Calls("MoveTo"), (std::vector<std::string>{"MoveTo 85 515", "MoveTo 115 515"}));
    EXPECT_EQ(Calls("TextOut"), (std::vector<std::string>{"TextOut 192 386 M"}));
    ip.fHideText = true;
    Paint(ip);
    EXPECT_TRUE(Calls("TextOut").empty());
}

} // namespace
