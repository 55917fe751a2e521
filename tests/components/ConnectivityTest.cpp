#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "components/Connectivity.h"
#include "components/Ports.h"
#include "document/SymbolFile.h"

namespace {

// --- drawing text -------------------------------------------------------------------------------

std::string Num(int v) {
    return std::to_string(v);
}

std::string PortRec(int handle, TPoint p2, const std::string& extra = "") {
    return "Port:\r\nHandle=" + Num(handle) + "\r\nPoint1X=" + Num(p2.X) + "\r\nPoint1Y=" + Num(p2.Y) +
           "\r\nPoint2X=" + Num(p2.X) + "\r\nPoint2Y=" + Num(p2.Y) + "\r\n" + extra + "End.\r\n";
}

std::string IPortRec(int handle, TPoint centre, const std::string& extra = "") {
    return "IPort:\r\nHandle=" + Num(handle) + "\r\nPoint1X=" + Num(centre.X) +
           "\r\nPoint1Y=" + Num(centre.Y) + "\r\n" + extra + "End.\r\n";
}

std::string NodeRec(int handle, TPoint p, const std::string& extra = "") {
    return "ConnectionNode:\r\nHandle=" + Num(handle) + "\r\nPoint1X=" + Num(p.X) +
           "\r\nPoint1Y=" + Num(p.Y) + "\r\n" + extra + "End.\r\n";
}

std::string LineRec(int handle, int port1, int port2, const std::vector<TPoint>& points,
                    const std::string& extra = "") {
    std::string s = "ConnectionLine:\r\nHandle=" + Num(handle) + "\r\nPort1Handle=" + Num(port1) +
                    "\r\nPort2Handle=" + Num(port2) + "\r\n" + extra;
    for (const TPoint& p : points)
        s += "Point:\r\nX=" + Num(p.X) + "\r\nY=" + Num(p.Y) + "\r\nEnd.\r\n";
    return s + "End.\r\n";
}

std::string SymbolRec(int handle, const std::string& children) {
    return "Symbol:\r\nHandle=" + Num(handle) + "\r\n" + children + "End.\r\n";
}

std::string Document(const std::string& body, const std::string& rootKeys = "", bool schematic = true) {
    return "\xEF\xBB\xBFSymbolFile:\r\nHeader:\r\nFileType=" +
           std::string(schematic ? "Schematic" : "Symbol") + "\r\nEnd.\r\nSYMBOL:\r\nHandle=-1\r\n" +
           rootKeys + body + "End.\r\nEnd.\r\n";
}

// Loads the drawing and runs the full update, as opening it does.
std::unique_ptr<TSymbolFile> Open(const std::string& body, const std::string& rootKeys = "JumpMode=1\r\n",
                                  bool schematic = true) {
    auto doc = std::make_unique<TSymbolFile>();
    EXPECT_TRUE(doc->LoadFromString(Document(body, rootKeys, schematic), "t"));
    UpdateConnections(doc->Symbol(), true);
    return doc;
}

template <class T> T* Get(TSymbolFile& doc, int handle) {
    return dynamic_cast<T*>(doc.Symbol().fSymbolObjectList.Find(handle));
}

TSymbolObjectConnectionLine* LineOf(TSymbolFile& doc, int handle) {
    auto* line = Get<TSymbolObjectConnectionLine>(doc, handle);
    EXPECT_NE(line, nullptr);
    return line;
}

using Points = std::vector<TPoint>;

// --- re-attaching lines ----------------------------------------------------------------------

struct TFitCase {
    const char* Name;
    std::string Body;
    int Line;
    Points Expected;
};

class LineFit : public ::testing::TestWithParam<TFitCase> {};

TEST_P(LineFit, EndsAndCorners) {
    auto doc = Open(GetParam().Body);
    EXPECT_EQ(LineOf(*doc, GetParam().Line)->fDrawPoints.Items, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Connectivity, LineFit,
    ::testing::Values(
        TFitCase{"ReattachAlongVerticalFirstSegment",
                 PortRec(1, {20, 0}) + PortRec(2, {200, 200}) +
                     LineRec(10, 1, 2, {{0, 0}, {0, 100}, {200, 100}, {200, 200}}),
                 10,
                 {{20, 0}, {20, 100}, {200, 100}, {200, 200}}},
        TFitCase{"ReattachAlongHorizontalFirstSegment",
                 PortRec(1, {0, 30}) + PortRec(2, {200, 200}) +
                     LineRec(10, 1, 2, {{0, 0}, {100, 0}, {100, 200}, {200, 200}}),
                 10,
                 {{0, 30}, {100, 30}, {100, 200}, {200, 200}}},
        TFitCase{"ThreePointsMiddleFollowsBothEnds",
                 PortRec(1, {0, 10}) + PortRec(2, {110, 100}) +
                     LineRec(10, 1, 2, {{0, 0}, {0, 100}, {100, 100}}),
                 10,
                 {{0, 10}, {0, 100}, {110, 100}}},
        TFitCase{"CornersWhenWider",
                 PortRec(1, {0, 0}) + PortRec(2, {100, 40}) + LineRec(10, 1, 2, {}),
                 10,
                 {{0, 0}, {50, 0}, {50, 40}, {100, 40}}},
        TFitCase{"CornersWhenTaller",
                 PortRec(1, {0, 0}) + PortRec(2, {40, 100}) + LineRec(10, 1, 2, {}),
                 10,
                 {{0, 0}, {0, 50}, {40, 50}, {40, 100}}},
        TFitCase{"CornerMiddleTruncatesTowardZero",
                 PortRec(1, {0, 0}) + PortRec(2, {-101, 40}) + LineRec(10, 1, 2, {}),
                 10,
                 {{0, 0}, {-50, 0}, {-50, 40}, {-101, 40}}},
        TFitCase{"NoCornersForDiagonalLines",
                 PortRec(1, {0, 0}) + PortRec(2, {100, 40}) +
                     LineRec(10, 1, 2, {}, "NonOrthoAllowed=Yes\r\n"),
                 10,
                 {{0, 0}, {100, 40}}},
        TFitCase{"EndsOnInnerPortCircle",
                 PortRec(1, {0, 0}) + IPortRec(2, {200, 0}) + LineRec(10, 1, 2, {{0, 0}, {200, 0}}),
                 10,
                 {{0, 0}, {190, 0}}},
        TFitCase{"StartsOnInnerPortCircleOfItsScale",
                 IPortRec(2, {0, 0}, "Scale=2\r\n") + PortRec(1, {0, 300}) + LineRec(10, 2, 1, {}),
                 10,
                 {{0, 20}, {0, 300}}},
        TFitCase{"LoopThroughThreeDeep",
                 PortRec(1, {0, 0}, "PortType=LoopThrough\r\nLoopedToHandle=2\r\n") +
                     PortRec(2, {50, 50}, "PortType=LoopThrough\r\nLoopedToHandle=3\r\n") +
                     PortRec(3, {300, 0}) + PortRec(4, {300, 200}) + LineRec(10, 1, 4, {}),
                 10,
                 {{300, 0}, {300, 200}}},
        TFitCase{"NestedLineAttachesToThePortItself",
                 SymbolRec(20, PortRec(1, {0, 0}, "LoopedToHandle=3\r\n") + PortRec(2, {0, 100}) +
                                   LineRec(10, 1, 2, {})) +
                     PortRec(3, {300, 0}),
                 10,
                 {{0, 0}, {0, 100}}},
        TFitCase{"CollinearPointsReduce",
                 PortRec(1, {0, 0}) + PortRec(2, {100, 100}) +
                     LineRec(10, 1, 2, {{0, 0}, {0, 50}, {0, 100}, {100, 100}}),
                 10,
                 {{0, 0}, {0, 100}, {100, 100}}},
        TFitCase{"ZigzagKeepsItsCorners",
                 PortRec(1, {0, 0}) + PortRec(2, {100, 100}) +
                     LineRec(10, 1, 2, {{0, 0}, {0, 50}, {50, 50}, {50, 100}, {100, 100}}),
                 10,
                 {{0, 0}, {0, 50}, {50, 50}, {50, 100}, {100, 100}}},
        TFitCase{"DuplicatePointsDropped",
                 NodeRec(1, {0, 0}) + NodeRec(2, {0, 100}) + LineRec(10, 1, 2, {{0, 0}, {0, 0}, {0, 100}}),
                 10,
                 {{0, 0}, {0, 100}}},
        TFitCase{"UnknownHandleEndsAtTheOrigin",
                 PortRec(1, {50, 70}) + LineRec(10, 1, 99, {{50, 70}, {50, 300}, {200, 300}}),
                 10,
                 {{50, 70}, {50, 0}, {0, 0}}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Connectivity, LoopThroughCycleEnds) {
    auto doc = Open(PortRec(1, {0, 0}, "LoopedToHandle=2\r\nLoopedFromHandle=2\r\n") +
                    PortRec(2, {70, 0}, "LoopedToHandle=1\r\nLoopedFromHandle=1\r\n") + PortRec(3, {70, 90}) +
                    LineRec(10, 1, 3, {}));
    EXPECT_EQ(LineOf(*doc, 10)->fDrawPoints.Items, (Points{{70, 0}, {70, 90}}));
    const TConnectivityIndex index(doc->Symbol());
    auto* p1 = Get<TSymbolObjectPort>(*doc, 1);
    EXPECT_EQ(FindLastLoopedToPort(index, p1)->fHandle, 2);
    EXPECT_EQ(FindFirstLoopedFromPort(index, p1)->fHandle, 2);
    // A port that loops to itself.
    p1->fLoopedToHandle = 1;
    EXPECT_EQ(FindLastLoopedToPort(index, p1), p1);
}

// --- crossings ---------------------------------------------------------------------------------

// A vertical line 10 from (100, 0) to (100, 200) and a horizontal line 11 from (0, 100) to
// (200, 100), both between nodes.
std::string CrossingLines() {
    return NodeRec(1, {100, 0}) + NodeRec(2, {100, 200}) + NodeRec(3, {0, 100}) + NodeRec(4, {200, 100}) +
           LineRec(10, 1, 2, {}) + LineRec(11, 3, 4, {});
}

struct TJumpCase {
    TJumpMode Mode;
    Points OnVertical, OnHorizontal;
};

class JumpModes : public ::testing::TestWithParam<TJumpCase> {};

TEST_P(JumpModes, CrossPointGoesToTheBridgedLine) {
    auto doc = Open(CrossingLines(), "JumpMode=" + Num(GetParam().Mode) + "\r\n");
    auto *v = LineOf(*doc, 10), *h = LineOf(*doc, 11);
    EXPECT_EQ(v->fCrossPoints.Items, GetParam().OnVertical);
    EXPECT_EQ(h->fCrossPoints.Items, GetParam().OnHorizontal);
    if (GetParam().Mode != jmNone) {
        EXPECT_EQ(v->fJumpMode, GetParam().Mode);
        EXPECT_EQ(h->fJumpMode, GetParam().Mode);
    }
}

INSTANTIATE_TEST_SUITE_P(Connectivity, JumpModes,
                         ::testing::Values(TJumpCase{jmNone, {}, {}},
                                           TJumpCase{jmVertRight, {{100, 100}}, {}},
                                           TJumpCase{jmVertLeft, {{100, 100}}, {}},
                                           TJumpCase{jmHorzUp, {}, {{100, 100}}},
                                           TJumpCase{jmHorzDown, {}, {{100, 100}}}));

TEST(Connectivity, ParallelLinesAndCornerMeetings) {
    // Two horizontal lines never cross; a line meeting another at its end point records the
    // point, which the drawing then leaves without a jump.
    auto doc = Open(NodeRec(1, {0, 0}) + NodeRec(2, {200, 0}) + NodeRec(3, {0, 50}) + NodeRec(4, {200, 50}) +
                    NodeRec(5, {100, 50}) + NodeRec(6, {100, 300}) + LineRec(10, 1, 2, {}) +
                    LineRec(11, 3, 4, {}) + LineRec(12, 5, 6, {}));
    EXPECT_TRUE(LineOf(*doc, 10)->fCrossPoints.Items.empty());
    EXPECT_TRUE(LineOf(*doc, 11)->fCrossPoints.Items.empty());
    auto* meeting = LineOf(*doc, 12);
    EXPECT_EQ(meeting->fCrossPoints.Items, (Points{{100, 50}}));
    for (const TTaggedPoint& t : meeting->MakeTmpDrawPoints().Items)
        EXPECT_EQ(t.Tag, TagCorner);
}

TEST(Connectivity, FirstPassOnlySpreadsTheJumpMode) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString(Document(CrossingLines(), "JumpMode=2\r\n"), "t"));
    auto* v = LineOf(doc, 10);
    EXPECT_EQ(v->fJumpMode, jmVertLeft);
    EXPECT_TRUE(v->fDrawPoints.Items.empty()); // nothing selected: no line was fitted yet
    EXPECT_TRUE(v->fCrossPoints.Items.empty());
}

TEST(Connectivity, SelectionDrivenUpdateFollowsCrossings) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString(
        Document(CrossingLines() + NodeRec(5, {150, 50}) + NodeRec(6, {150, 300}) + LineRec(12, 5, 6, {}),
                 "JumpMode=1\r\n"),
        "t"));
    UpdateConnections(doc.Symbol(), true);
    // Line 12 (x = 150) crosses line 11 at (150, 100) as well.
    EXPECT_EQ(LineOf(doc, 12)->fCrossPoints.Items, (Points{{150, 100}}));
    // Node 2 moves; only the lines reached from it, directly or by crossing, are redone.
    Get<TSymbolObjectConnectionNode>(doc, 2)->fP1 = {100, 250};
    Get<TSymbolObjectConnectionNode>(doc, 6)->fP1 = {150, 400};
    Get<TSymbolObjectConnectionNode>(doc, 2)->fSelected = true;
    UpdateConnections(doc.Symbol(), false);
    EXPECT_EQ(LineOf(doc, 10)->fDrawPoints.Items, (Points{{100, 0}, {100, 250}}));
    EXPECT_EQ(LineOf(doc, 10)->fCrossPoints.Items, (Points{{100, 100}}));
    // Line 12 crosses line 11, which crosses line 10: it is redone too.
    EXPECT_EQ(LineOf(doc, 12)->fDrawPoints.Items, (Points{{150, 50}, {150, 400}}));
}

// Random drawings small enough to be full of coincidences: shared points, overlapping runs,
// zero-length and diagonal segments.
std::vector<std::unique_ptr<TSymbolObjectConnectionLine>> RandomLines(std::mt19937& rng, int count) {
    std::vector<std::unique_ptr<TSymbolObjectConnectionLine>> lines;
    auto coord = [&] { return int32_t(rng() % 12) * 10 - 20; };
    for (int l = 0; l < count; ++l) {
        auto line = std::make_unique<TSymbolObjectConnectionLine>();
        const int n = int(rng() % 6);
        TPoint p(coord(), coord());
        for (int k = 0; k < n; ++k) {
            line->fDrawPoints.Items.push_back(p);
            switch (rng() % 5) {
            case 0:
                p.X = coord();
                break;
            case 1:
                p.Y = coord();
                break;
            case 2:
                p = TPoint(coord(), coord());
                break;
            case 3:
                break; // zero length
            default:
                p.X += int32_t(rng() % 3) * 7 - 7;
                break;
            }
        }
        if (rng() % 4 == 0) line->fCrossPoints.Items.push_back({coord(), coord()});
        lines.push_back(std::move(line));
    }
    return lines;
}

TEST(Connectivity, SweepFindsThePairwiseCrossPointsInTheirOrder) {
    std::mt19937 rng(20240607);
    for (int round = 0; round < 60; ++round) {
        const auto mode = TJumpMode(1 + round % 4);
        std::mt19937 copy = rng;
        auto a = RandomLines(rng, 2 + round);
        auto b = RandomLines(copy, 2 + round);
        std::vector<TSymbolObjectConnectionLine*> pa, pb;
        for (auto& l : a)
            pa.push_back(l.get());
        for (auto& l : b)
            pb.push_back(l.get());
        CheckCrossesPairwise(pa, mode);
        CheckCrossesAll(pb, mode);
        size_t found = 0;
        for (size_t k = 0; k < pa.size(); ++k) {
            ASSERT_EQ(pa[k]->fCrossPoints.Items, pb[k]->fCrossPoints.Items)
                << "round " << round << " line " << k;
            EXPECT_EQ(pb[k]->fJumpMode, mode);
            found += pa[k]->fCrossPoints.Items.size();
        }
        if (round > 20) {
            EXPECT_GT(found, 0u) << "round " << round;
        }
    }
}

// --- groups ------------------------------------------------------------------------------------

const char* const GroupTable = "SymGroup:\r\nCode=P1\r\nMainGroupCode=Pressure\r\nColor=255\r\nEnd.\r\n"
                               "SymGroup:\r\nCode=T1\r\nColor=65280\r\nEnd.\r\n"
                               "SymMainGroup:\r\nCode=Pressure\r\nColor=32767\r\nEnd.\r\n";

struct TGroupCase {
    const char* Name;
    std::string PortKeys, LineKeys;
    const char* LineCode;
    const char* PortCode;
};

class GroupExchange : public ::testing::TestWithParam<TGroupCase> {};

TEST_P(GroupExchange, BetweenLineAndPort) {
    auto doc =
        Open(PortRec(1, {0, 0}, GetParam().PortKeys) + NodeRec(2, {0, 100}, "BreakConnection=Yes\r\n") +
                 LineRec(10, 1, 2, {}, GetParam().LineKeys),
             std::string("JumpMode=1\r\n") + GroupTable);
    EXPECT_EQ(LineOf(*doc, 10)->SubGroupData().Code, GetParam().LineCode);
    EXPECT_EQ(Get<TSymbolObjectPort>(*doc, 1)->SubGroupData().Code, GetParam().PortCode);
    // The node breaks the connection: it neither gave nor took anything.
    EXPECT_EQ(Get<TSymbolObjectConnectionNode>(*doc, 2)->SubGroupData().Code, "");
}

INSTANTIATE_TEST_SUITE_P(
    Connectivity, GroupExchange,
    ::testing::Values(
        TGroupCase{"LineTakesThePortsGroup", "SymGroupCode=P1\r\n", "", "P1", "P1"},
        TGroupCase{"PortTakesTheLinesGroup", "", "SymGroupCode=T1\r\n", "T1", "T1"},
        TGroupCase{"BreakingPortGivesNothing", "SymGroupCode=P1\r\nBreakConnection=Yes\r\n", "", "", "P1"},
        TGroupCase{"BreakingPortTakesNothing", "BreakConnection=Yes\r\n", "SymGroupCode=T1\r\n", "T1", ""}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Connectivity, GroupsSpreadAlongAChainInLineOrder) {
    auto doc = Open(PortRec(1, {0, 0}, "SymGroupCode=P1\r\n") + NodeRec(2, {0, 100}) + PortRec(3, {0, 200}) +
                        LineRec(10, 1, 2, {}) + LineRec(11, 2, 3, {}),
                    std::string("JumpMode=1\r\n") + GroupTable);
    EXPECT_EQ(Get<TSymbolObjectPort>(*doc, 3)->SubGroupData().Code, "P1");
    EXPECT_EQ(Get<TSymbolObjectPort>(*doc, 3)->SubGroupData().Color, 255u);
    // The main group travels independently: the port's came from the table via its sub-group.
    EXPECT_EQ(LineOf(*doc, 11)->MainGroupData().Code, "Pressure");
    EXPECT_EQ(LineOf(*doc, 11)->MainGroupData().Color, 32767u);
}

// --- help ports and top-level flags ------------------------------------------------------------

struct THelpCase {
    const char* Name;
    TPoint Port;
    std::string PortKeys;
    bool Connected;
    bool Schematic;
    bool HelpPort;
};

class HelpPorts : public ::testing::TestWithParam<THelpCase> {};

TEST_P(HelpPorts, InsideTheInnerBorder) {
    const THelpCase& c = GetParam();
    const std::string manifold =
        SymbolRec(20, "IBorder:\r\nHandle=21\r\nPoint1X=400\r\nPoint1Y=300\r\nPoint2X=0\r\nPoint2Y=0\r\n"
                      "EndIBorder.\r\n" +
                          PortRec(22, c.Port, c.PortKeys) + PortRec(23, {200, 150}) +
                          LineRec(24, c.Connected ? 22 : 23, 23, {}));
    auto doc = Open(manifold, "JumpMode=1\r\n", c.Schematic);
    EXPECT_EQ(Get<TSymbolObjectPort>(*doc, 22)->fUsedAsHelpPort, c.HelpPort);
}

INSTANTIATE_TEST_SUITE_P(
    Connectivity, HelpPorts,
    ::testing::Values(THelpCase{"OneUnitInside", {1, 150}, "HideInOutput=Yes\r\n", true, true, true},
                      THelpCase{"OnTheEdge", {0, 150}, "HideInOutput=Yes\r\n", true, true, false},
                      THelpCase{"OnTheTopEdge", {100, 300}, "HideInOutput=Yes\r\n", true, true, false},
                      THelpCase{"ShownInOutput", {1, 150}, "", true, true, false},
                      THelpCase{"NoInternalLine", {1, 150}, "HideInOutput=Yes\r\n", false, true, false},
                      THelpCase{"SymbolFile", {1, 150}, "HideInOutput=Yes\r\n", true, false, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Connectivity, InMainSymbolAndNodeRadius) {
    for (bool schematic : {true, false}) {
        auto doc = Open(NodeRec(1, {0, 0}) + SymbolRec(20, NodeRec(2, {5, 5})), "JumpMode=1\r\n", schematic);
        auto* top = Get<TSymbolObjectConnectionNode>(*doc, 1);
        auto* inner = Get<TSymbolObjectConnectionNode>(*doc, 2);
        EXPECT_TRUE(top->InMainSymbol());
        EXPECT_EQ(top->Radius(), schematic ? 8 : 5);
        EXPECT_EQ(inner->fInMainSymbol, 0);
        EXPECT_EQ(inner->Radius(), 5);
    }
}

// --- list queries ------------------------------------------------------------------------------

TEST(Connectivity, ListQueries) {
    // Loaded without the full update, which would spread the groups along the lines.
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromString(
        Document(PortRec(1, {0, 0}, "SymGroupCode=P1\r\n") + PortRec(2, {0, 100}) +
                 PortRec(3, {0, 200}, "SymGroupCode=p1\r\nPortType=LoopThrough\r\n") +
                 SymbolRec(20, PortRec(21, {50, 0}, "SymGroupCode=P1\r\n") + IPortRec(22, {60, 0}) +
                                   SymbolRec(30, PortRec(31, {70, 0}, "SymGroupCode=P1\r\n"))) +
                 LineRec(10, 1, 2, {}) + LineRec(11, 2, 2, {}) + NodeRec(40, {9, 9})),
        "t"));
    const TSymbolObjectList& list = doc.Symbol().fSymbolObjectList;
    EXPECT_EQ(CountConnectionLinesTo(list, 2), 2);
    EXPECT_EQ(CountConnectionLinesTo(list, 1), 1);
    EXPECT_EQ(CountConnectionLinesTo(list, 77), 0);

    TIntegerList ports{{99}};
    FindPortsWithGroup(list, "p1", ports);
    EXPECT_EQ(ports.fItems, (std::vector<int32_t>{1, 21})); // not the loop-through port, not depth 2
    FindPortsWithGroup(list, "", ports);
    EXPECT_TRUE(ports.fItems.empty());
    FindPortsWithoutGroup(list, ports);
    EXPECT_EQ(ports.fItems, (std::vector<int32_t>{2, 22}));
    FindConnectionLinesWithoutGroup(list, ports);
    EXPECT_EQ(ports.fItems, (std::vector<int32_t>{10, 11, 40}));
}

TEST(Connectivity, IndexAnswersAsTheListSearches) {
    // Handles repeat: the first match of the walk, replaced by later matches among the siblings
    // visited after it; composites are not entered once something was found.
    TSymbolObjectSymbol root;
    auto add = [](TSymbolObjectList& list, TSymbolObjectMainType t, int32_t h) {
        TSymbolObject* o = list.Add(t);
        o->fHandle = h;
        return o;
    };
    TSymbolObject* s1 = add(root.fSymbolObjectList, somSymbol, 1);
    TSymbolObject* deep = add(s1->fSymbolObjectList, somPort, 5);
    TSymbolObject* sibling = add(s1->fSymbolObjectList, somPort, 5);
    TSymbolObject* s2 = add(root.fSymbolObjectList, somSymbol, 2);
    add(s2->fSymbolObjectList, somPort, 5); // never reached: found before s2
    TSymbolObject* top = add(root.fSymbolObjectList, somPort, 6);
    TSymbolObject* later = add(root.fSymbolObjectList, somPort, 6);
    TSymbolObject* shape = add(root.fSymbolObjectList, som2Point, 7);
    add(shape->fSymbolObjectList, somPort, 8); // shapes do not search their children

    const TConnectivityIndex index(root);
    EXPECT_EQ(index.Find(5), sibling);
    EXPECT_NE(index.Find(5), deep);
    EXPECT_EQ(index.Find(6), later);
    EXPECT_NE(index.Find(6), top);
    EXPECT_EQ(index.Find(8), nullptr);
    EXPECT_EQ(index.Owner(8), shape);
    EXPECT_EQ(index.Owner(5), s1);
    EXPECT_EQ(index.Owner(-1), &root);
    EXPECT_EQ(index.Owner(1234), nullptr);
}

// --- the sample ------------------------------------------------------------------------------

TEST(Connectivity, SampleCircuitLinesEndOnTheirPorts) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromFile(KORVANE_SAMPLES "/hydraulic-circuit.kdf"));
    UpdateConnections(doc.Symbol(), true);
    const TConnectivityIndex index(doc.Symbol());
    auto endOf = [&](int32_t handle) -> std::optional<TPoint> {
        TSymbolObject* o = index.Find(handle);
        if (auto* port = dynamic_cast<TSymbolObjectPort*>(o)) return port->fP2;
        if (auto* node = dynamic_cast<TSymbolObjectConnectionNode*>(o)) return node->fP1;
        return std::nullopt;
    };
    int lines = 0;
    size_t crossings = 0;
    doc.Symbol().ForEachInSubtree([&](TSymbolObject* o) {
        auto* line = dynamic_cast<TSymbolObjectConnectionLine*>(o);
        if (!line) return;
        ++lines;
        crossings += line->fCrossPoints.Items.size();
        const auto& p = line->fDrawPoints.Items;
        ASSERT_GE(p.size(), 2u);
        EXPECT_EQ(endOf(line->fPort1Handle), p.front()) << "line " << line->fHandle;
        EXPECT_EQ(endOf(line->fPort2Handle), p.back()) << "line " << line->fHandle;
        for (size_t k = 1; k < p.size(); ++k)
            EXPECT_TRUE(p[k].X == p[k - 1].X || p[k].Y == p[k - 1].Y) << "line " << line->fHandle;
    });
    EXPECT_EQ(lines, 13);
    EXPECT_GE(crossings, 5u);
}

// --- busy hook ---------------------------------------------------------------------------------

struct TRecordingHook : TBusyHook {
    int Begun = 0, Ended = 0;
    void BeginBusy() override { ++Begun; }
    void BusyProgress(int) override {}
    void EndBusy() override { ++Ended; }
};

TEST(Connectivity, HourglassAroundLongUpdatesOnly) {
    TRecordingHook hook;
    TBusyHook* previous = SetBusyHook(&hook);
    auto doc = Open(CrossingLines());
    EXPECT_EQ(hook.Begun, 0);
    std::string many;
    for (int k = 0; k < 51; ++k)
        many += NodeRec(1000 + k, {k * 10, 0}) + LineRec(k + 1, 1000 + k, 1000 + k, {});
    doc = Open(many);
    EXPECT_EQ(hook.Begun, 2); // the load's first pass and the full update
    EXPECT_EQ(hook.Ended, hook.Begun);
    SetBusyHook(previous);
}

} // namespace
