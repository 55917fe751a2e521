#include "objects/ElementObjects.h"

#include "model/BOM.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "objects/ShapeHelpers.h"
#include "render/PointUtils.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

using namespace std::string_view_literals;

const std::string_view SolenoidOptionNames[SolenoidOptionCount] = {
    "None", "Solenoid", "Button Side", "Button Top", "Proportional", "Pilot"};
const std::string_view OrificeOptionNames[OrificeOptionCount] = {
    "None", "Restrictor", "Viscosity Independent", "Closed", "Filled", "None with Line", "Replaceable"};
const std::string_view SignalConverterInputNames[SignalConverterInputCount] = {
    "None", "Flow", "Gauging", "Level", "Pressure", "Speed", "Temperature", "Weight"};
const std::string_view SignalConverterOutputNames[SignalConverterOutputCount] = {
    "None", "ElecSwitch", "ElecAnalogue", "ElecDigital"};
const std::string_view ElectricalContactTypeNames[ElectricalContactTypeCount] = {
    "None", "BreakContact", "MakeContact", "SwitchContact"};

namespace {

template <size_t N> std::string_view IdentOf(const std::string_view (&idents)[N], size_t index) {
    return index < N ? idents[index] : std::string_view();
}

constexpr std::string_view SolenoidOptionIdents[] = {"solNone",      "solSolenoid",     "solButtonSide",
                                                     "solButtonTop", "solProportional", "solPilot"};
constexpr std::string_view OrificeOptionIdents[] = {"ooNone",   "ooValue1", "ooValue2",     "ooClosed",
                                                    "ooFilled", "ooLine",   "ooReplaceable"};
constexpr std::string_view InputIdents[] = {"svInputNone",        "svInputFlow",     "svInputGauging",
                                            "svInputLevel",       "svInputPressure", "svInputSpeed",
                                            "svInputTemperature", "svInputWeight"};
constexpr std::string_view OutputIdents[] = {"svOutputNone", "svOutputElecSwitch", "svOutputElecAnalogue",
                                             "svOutputElecDigital"};
constexpr std::string_view ContactIdents[] = {"ecNone", "ecBreakContact", "ecMakeContact", "ecSwitchContact"};

TXYPoint XY(double x, double y) {
    return {x, y};
}

TShapePart Segment(const TXYPoint& a, const TXYPoint& b) {
    TShapePart p;
    p.Kind = TShapePartKind::Lines;
    p.Pts = {a, b};
    return p;
}

// The axis-parallel box P1-P2: one polygon with a solid pen, four patterned sides otherwise.
TShapePart Box(const TPoint& p1, const TPoint& p2) {
    TShapePart p;
    p.Kind = TShapePartKind::StyledPolygon;
    p.Pts = {PointToXYPoint(p1), XY(p2.X, p1.Y), PointToXYPoint(p2), XY(p1.X, p2.Y)};
    return p;
}

TShapePart Circle(const TXYPoint& centre, double radius, bool filled) {
    TShapePart p;
    p.Kind = TShapePartKind::Circle;
    p.Centre = centre;
    p.Radius = radius;
    p.Filled = filled;
    return p;
}

TShapePart Arc(const TXYPoint& centre, double radius, const TXYPoint& from, const TXYPoint& to) {
    TShapePart p;
    p.Kind = TShapePartKind::Arc;
    p.Centre = centre;
    p.Radius = radius;
    p.Pts = {from, to};
    return p;
}

// A text mark is told by the square of its height about its centre: near enough for a click.
void AddTextMarkArea(TShapeGeometry& g, const TXYPoint& c, double height) {
    const double h = height / 2;
    TShapePart p;
    p.Kind = TShapePartKind::Polygon;
    p.Filled = true;
    p.Pts = {XY(c.X - h, c.Y - h), XY(c.X + h, c.Y - h), XY(c.X + h, c.Y + h), XY(c.X - h, c.Y + h)};
    g.Parts.push_back(std::move(p));
}

// Objects whose geometry came out empty still stand at their stored points.
bool PointsHitTestRect(std::span<const TPoint> pts, const TRect& rt) {
    TExtentsRect e;
    for (const TPoint& p : pts)
        ExtentsAddPoint(p, e);
    if (!e.Defined) return false;
    const int32_t left = std::min(rt.P1.X, rt.P2.X), right = std::max(rt.P1.X, rt.P2.X);
    const int32_t bottom = std::min(rt.P1.Y, rt.P2.Y), top = std::max(rt.P1.Y, rt.P2.Y);
    if (rt.P2.X < rt.P1.X) return e.Left <= right && e.Right >= left && e.Bottom <= top && e.Top >= bottom;
    return e.Left >= left && e.Right <= right && e.Bottom >= bottom && e.Top <= top;
}

bool HitTestOf(const TShapeGeometry& g, TPoint pt, double minPickDistance) {
    return ShapeHitTest(g, PointToXYPoint(pt), minPickDistance);
}

bool HitTestRectOf(const TShapeGeometry& g, std::span<const TPoint> stored, const TRect& rt) {
    return g.Empty() ? PointsHitTestRect(stored, rt) : ShapeHitTestRect(g, rt);
}

void ExtentsOf(const TShapeGeometry& g, std::span<const TPoint> stored, TExtentsRect& e) {
    if (!g.Empty()) {
        ShapeAddExtents(g, e);
        return;
    }
    for (const TPoint& p : stored)
        ExtentsAddPoint(p, e);
}

// The key is one of the names of the table (keys come upper-cased); -1 otherwise.
int OptionOfKey(const std::string& key, const std::string_view* names, int count) {
    return IndexOfName(key, names, count);
}

void DumpOptions(TJsonWriter& w, std::string_view key, const auto& options, auto ident) {
    w.Key(key);
    w.BeginArray();
    for (size_t i = 0; i < options.size(); ++i)
        if (options.test(i)) w.String(ident(i));
    w.EndArray();
}

// The shared frame of the boxed elements: P1, P2, their differences and the middle.
struct TBoxFrame {
    double X1, Y1, X2, Y2, Dx, Dy, Mx, My;
    explicit TBoxFrame(const TPoint& p1, const TPoint& p2)
        : X1(p1.X), Y1(p1.Y), X2(p2.X), Y2(p2.Y), Dx(X2 - X1), Dy(Y2 - Y1), Mx(X1 + Dx / 2), My(Y1 + Dy / 2) {
    }
    TXYPoint M() const { return {Mx, My}; }
    double SmallerSide() const { return std::min(std::fabs(Dx), std::fabs(Dy)); }
};

// Replaces every occurrence of What, ignoring ASCII case, in one pass, so a replacement that
// holds the placeholder again is left as it is.
std::string ReplaceIgnoringCase(const std::string& text, std::string_view what, std::string_view with) {
    const std::string upperText = UpperAscii(text), upperWhat = UpperAscii(what);
    std::string out;
    size_t from = 0;
    for (size_t at = upperText.find(upperWhat); at != std::string::npos;
         at = upperText.find(upperWhat, from)) {
        out.append(text, from, at - from);
        out.append(with);
        from = at + upperWhat.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

// Up to one decimal, trailing zeros removed.
std::string CaptionNumber(double value, char decimalSeparator) {
    if (!std::isfinite(value)) value = 0;
    std::string s = FormatFixed(value, 1);
    TrimTrailingZeros(s);
    // A negative value that rounds to nothing shows as 0, not "-0".
    if (s == "-0") return "0";
    std::replace(s.begin(), s.end(), '.', decimalSeparator);
    return s;
}

// The value of the display unit system: the stored one of that system, or the other converted
// when it is 0.
double DisplayOf(TUnitKind kind, double metric, double imperial) {
    if (IsMetric(kind)) return metric != 0 ? metric : ImperialToMetric(kind, imperial);
    return imperial != 0 ? imperial : MetricToImperial(kind, metric);
}

} // namespace

std::string_view SolenoidOptionIdent(TSolenoidOption o) {
    return IdentOf(SolenoidOptionIdents, o);
}
std::string_view OrificeOptionIdent(TOrificeOption o) {
    return IdentOf(OrificeOptionIdents, o);
}
std::string_view SignalConverterInputIdent(TSignalConverterInput v) {
    return IdentOf(InputIdents, v);
}
std::string_view SignalConverterOutputIdent(TSignalConverterOutput v) {
    return IdentOf(OutputIdents, v);
}
std::string_view ElectricalContactTypeIdent(TElectricalContactType v) {
    return IdentOf(ContactIdents, v);
}

std::string_view SignalConverterInputLetter(TSignalConverterInput input) {
    static constexpr std::string_view letters[] = {"*", "F", "G", "L", "P", "S", "T", "W"};
    return IdentOf(letters, input);
}

TSolenoidOptions SolenoidOptions(std::initializer_list<TSolenoidOption> options) {
    TSolenoidOptions s;
    for (const TSolenoidOption o : options)
        s.set(o);
    return s;
}

TOrificeOptions OrificeOptions(std::initializer_list<TOrificeOption> options) {
    TOrificeOptions s;
    for (const TOrificeOption o : options)
        s.set(o);
    return s;
}

bool ElementIsHorz(const TPoint& p1, const TPoint& p2) {
    const double a = PointAngle(p1, p2);
    return (a >= 0 && a <= 90) || (a >= 180 && a <= 270);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectSolenoid

void TSymbolObjectSolenoid::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fOptions = SolenoidOptions({solSolenoid});
}

bool TSymbolObjectSolenoid::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                       const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    // The name is the key and its presence the option: the value is not looked at. "Pilot" is
    // read as well, since the writer writes it with the others.
    const int option = OptionOfKey(key, SolenoidOptionNames, SolenoidOptionCount);
    if (option < solButtonSide) return false;
    fOptions.set(size_t(option));
    return true;
}

TShapeGeometry TSymbolObjectSolenoid::Geometry() const {
    TShapeGeometry g;
    const TBoxFrame f(fP1, fP2);
    const double o = fFlip ? -1 : 1;
    const bool horz = IsHorz();
    g.Parts.push_back(Box(fP1, fP2));
    if (horz)
        g.Parts.push_back(Segment(XY(f.Mx + o * f.Dy / 4, f.Y1), XY(f.Mx - o * f.Dy / 4, f.Y2)));
    else
        g.Parts.push_back(Segment(XY(f.X2, f.My + o * f.Dx / 4), XY(f.X1, f.My - o * f.Dx / 4)));
    const double a = o / 2;
    const double mx = f.Mx, my = f.My, dx = f.Dx, dy = f.Dy;
    if (HasOption(solButtonTop)) {
        if (horz) {
            g.Parts.push_back(Segment(XY(mx, my + 0.75 * dy), XY(mx - a * dx, my + 0.75 * dy)));
            g.Parts.push_back(Segment(XY(mx, my + 1.25 * dy), XY(mx - a * dx, my + 1.25 * dy)));
            g.Parts.push_back(Segment(XY(mx, my + 0.625 * dy), XY(mx, my + 1.375 * dy)));
            g.Parts.push_back(Segment(XY(mx - a * dx, my + 0.5 * dy), XY(mx - a * dx, my + 1.5 * dy)));
        } else {
            g.Parts.push_back(Segment(XY(mx + 0.75 * dx, my - a * dy), XY(mx + 0.75 * dx, my)));
            g.Parts.push_back(Segment(XY(mx + 1.25 * dx, my - a * dy), XY(mx + 1.25 * dx, my)));
            g.Parts.push_back(Segment(XY(mx + 0.625 * dx, my), XY(mx + 1.375 * dx, my)));
            g.Parts.push_back(Segment(XY(mx + 0.5 * dx, my - a * dy), XY(mx + 1.5 * dx, my - a * dy)));
        }
    }
    if (HasOption(solButtonSide)) {
        if (horz) {
            g.Parts.push_back(Segment(XY(mx + a * dx, my - 0.25 * dy), XY(mx + o * dx, my - 0.25 * dy)));
            g.Parts.push_back(Segment(XY(mx + a * dx, my + 0.25 * dy), XY(mx + o * dx, my + 0.25 * dy)));
            g.Parts.push_back(Segment(XY(mx + o * dx, my - 0.375 * dy), XY(mx + o * dx, my + 0.375 * dy)));
        } else {
            g.Parts.push_back(Segment(XY(mx - 0.25 * dx, my + a * dy), XY(mx - 0.25 * dx, my + o * dy)));
            g.Parts.push_back(Segment(XY(mx + 0.25 * dx, my + a * dy), XY(mx + 0.25 * dx, my + o * dy)));
            g.Parts.push_back(Segment(XY(mx - 0.375 * dx, my + o * dy), XY(mx + 0.375 * dx, my + o * dy)));
        }
    }
    return g;
}

void TSymbolObjectSolenoid::ProportionalArrow(TPoint& from, TPoint& tip) const {
    const TBoxFrame f(fP1, fP2);
    const double o = fFlip ? -1 : 1;
    if (IsHorz()) {
        from = {Round(f.Mx - o * 0.375 * f.Dy), Round(f.My - 0.75 * f.Dy)};
        tip = {Round(f.Mx + o * 0.75 * f.Dy), Round(f.My + 1.5 * f.Dy)};
    } else {
        from = {Round(f.Mx - 0.75 * f.Dx), Round(f.My + o * 0.375 * f.Dx)};
        tip = {Round(f.Mx + 1.5 * f.Dx), Round(f.My - o * 0.75 * f.Dx)};
    }
}

TShapeGeometry TSymbolObjectSolenoid::FullGeometry() const {
    TShapeGeometry g = Geometry();
    if (HasOption(solProportional)) {
        TPoint from, tip;
        ProportionalArrow(from, tip);
        TShapeGeometry arrow = TwoPointShape(soArrow, from, tip, fScale, fFill, false, false);
        for (TShapePart& part : arrow.Parts)
            g.Parts.push_back(std::move(part));
    }
    return g;
}

bool TSymbolObjectSolenoid::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(FullGeometry(), pt, minPickDistance);
}

bool TSymbolObjectSolenoid::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(FullGeometry(), std::array{fP1, fP2}, rt);
}

TExtentsRect TSymbolObjectSolenoid::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(FullGeometry(), std::array{fP1, fP2}, current);
    return current;
}

void TSymbolObjectSolenoid::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    DumpOptions(w, "Options", fOptions, [](size_t i) { return SolenoidOptionIdent(TSolenoidOption(i)); });
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectOrifice

void TSymbolObjectOrifice::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fOptions.reset();
}

bool TSymbolObjectOrifice::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                      const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    const int option = OptionOfKey(key, OrificeOptionNames, OrificeOptionCount);
    if (option <= ooNone) return false;
    fOptions.set(size_t(option));
    return true;
}

TOrificeOption TSymbolObjectOrifice::OrificeType() const {
    for (int o = ooNone; o <= ooLine; ++o)
        if (fOptions.test(size_t(o))) return TOrificeOption(o);
    return ooNone;
}

double TSymbolObjectOrifice::Radius() const {
    return PointDist(fP1, fP2) / 2;
}

TXYPoint TSymbolObjectOrifice::CenterPoint() const {
    return TBoxFrame(fP1, fP2).M();
}

TShapeGeometry TSymbolObjectOrifice::Geometry() const {
    TShapeGeometry g;
    const double l = PointDist(fP1, fP2);
    // Every construction is measured on the diameter; without one there is nothing.
    if (l == 0) return g;
    if (fOptions.test(ooValue1) || fOptions.test(ooValue2) || fOptions.test(ooLine))
        g.Parts.push_back(Segment(PointToXYPoint(fP1), PointToXYPoint(fP2)));
    g.Parts.push_back(Circle(CenterPoint(), l / 2, fFill || fOptions.test(ooFilled)));
    TShapeGeometry marks = MarkGeometry();
    for (TShapePart& part : marks.Parts)
        g.Parts.push_back(std::move(part));
    return g;
}

TShapeGeometry TSymbolObjectOrifice::MarkGeometry() const {
    TShapeGeometry g;
    const double l = PointDist(fP1, fP2);
    if (l == 0) return g;
    const TXYPoint m = CenterPoint();
    if (fOptions.test(ooClosed)) {
        const double s = l / 2 / std::numbers::sqrt2;
        std::array<TXYPoint, 4> pts = {XY(m.X - s, m.Y + s), XY(m.X + s, m.Y + s), XY(m.X - s, m.Y - s),
                                       XY(m.X + s, m.Y - s)};
        RotateXYPoints(pts, m, XYAngle(PointToXYPoint(fP1), PointToXYPoint(fP2)));
        g.Parts.push_back(Segment(pts[0], pts[3]));
        g.Parts.push_back(Segment(pts[2], pts[1]));
    }
    TOrificeDrawData d;
    if (fOptions.test(ooValue2)) {
        TSymbolObjectsDrawHelper::CreateOrifice2Lines(fP1, fP2, d, 0.5);
        for (const auto& pts : {std::array{d.P[1], d.P[0], d.P[2]}, std::array{d.P[4], d.P[3], d.P[5]}}) {
            TShapePart chevron;
            chevron.Kind = TShapePartKind::StyledLines;
            chevron.Pts.assign(pts.begin(), pts.end());
            g.Parts.push_back(std::move(chevron));
        }
    }
    if (fOptions.test(ooValue1)) {
        TSymbolObjectsDrawHelper::CreateOrificeLines(fP1, fP2, d, 0);
        g.Parts.push_back(Arc(d.P[0], d.R, d.P[2], d.P[1]));
        g.Parts.push_back(Arc(d.P[3], d.R, d.P[5], d.P[4]));
    }
    return g;
}

bool TSymbolObjectOrifice::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObjectOrifice::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), std::array{fP1, fP2}, rt);
}

TExtentsRect TSymbolObjectOrifice::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(Geometry(), std::array{fP1, fP2}, current);
    return current;
}

void TSymbolObjectOrifice::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    DumpOptions(w, "Options", fOptions, [](size_t i) { return OrificeOptionIdent(TOrificeOption(i)); });
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectElectric

std::array<TXYPoint, 8> TSymbolObjectElectric::GetDrawPoints() const {
    constexpr double a = Size;
    constexpr double spread = 15 * std::numbers::pi / 180;
    const double px = fP1.X, py = fP1.Y;
    const TXYPoint q2 = XY(px + a, py), q5 = XY(px, py - 2 * a);
    const double t = VectorAngle(q2.X - q5.X, q2.Y - q5.Y);
    const double l = XYDistance(q2, q5) / 2;
    const double m = l / std::cos(spread);
    const auto polar = [&](double length, double angle) {
        return XY(q5.X + length * std::cos(angle), q5.Y + length * std::sin(angle));
    };
    const TXYPoint q3 = polar(l, t);
    return {XY(px, py + 2 * a), XY(px - a, py), q2, q3, polar(m, t - spread), q5, polar(m, t + spread), q3};
}

TShapeGeometry TSymbolObjectElectric::Geometry() const {
    TShapeGeometry g;
    const auto q = GetDrawPoints();
    TShapePart zigzag;
    zigzag.Kind = TShapePartKind::StyledLines;
    zigzag.Pts.assign(q.begin(), q.end());
    g.Parts.push_back(std::move(zigzag));
    if (fFill) {
        TShapePart head;
        head.Kind = TShapePartKind::Polygon;
        head.Filled = true;
        head.Pts = {q[4], q[5], q[6]};
        g.Parts.push_back(std::move(head));
    }
    return g;
}

bool TSymbolObjectElectric::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObjectElectric::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), std::array{fP1}, rt);
}

TExtentsRect TSymbolObjectElectric::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    const double px = fP1.X, py = fP1.Y;
    ExtentsAddXYPoint(XY(px - Size, py + 2 * Size), current);
    ExtentsAddXYPoint(XY(px + Size, py - 2 * Size), current);
    return current;
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectSignalConverter

void TSymbolObjectSignalConverter::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fInputSignal = svInputFlow;
    fOutputSignal = svOutputElecSwitch;
}

bool TSymbolObjectSignalConverter::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                              const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    if (key == "INPUT"sv) {
        const int i = IndexOfName(value, SignalConverterInputNames, SignalConverterInputCount);
        fInputSignal = i < 0 ? svInputFlow : TSignalConverterInput(i);
    } else if (key == "OUTPUT"sv) {
        const int i = IndexOfName(value, SignalConverterOutputNames, SignalConverterOutputCount);
        fOutputSignal = i < 0 ? svOutputElecSwitch : TSignalConverterOutput(i);
    } else {
        return false;
    }
    return true;
}

double TSymbolObjectSignalConverter::GetM() const {
    const double side = TBoxFrame(fP1, fP2).SmallerSide();
    return side == 80 ? 20 : side / 3;
}

// The marks sit in the two halves the diagonal leaves. A vertical converter is a horizontal one
// turned a quarter; its offsets are taken along the same sides of the box as the horizontal
// ones, so the marks stay inside a box of any proportions.
TXYPoint TSymbolObjectSignalConverter::OutputCentre() const {
    const TBoxFrame f(fP1, fP2);
    if (IsHorz())
        return fFlip ? XY(f.X1 + 0.675 * f.Dx, f.Y2 - 0.25 * f.Dy)
                     : XY(f.X1 + 0.325 * f.Dx, f.Y1 + 0.75 * f.Dy);
    return fFlip ? XY(f.X2 - 0.25 * f.Dx, f.Y1 + 0.675 * f.Dy) : XY(f.X1 + 0.75 * f.Dx, f.Y1 + 0.325 * f.Dy);
}

TXYPoint TSymbolObjectSignalConverter::InputCentre() const {
    const TBoxFrame f(fP1, fP2);
    if (IsHorz())
        return fFlip ? XY(f.X1 + 0.325 * f.Dx, f.Y2 - 0.75 * f.Dy)
                     : XY(f.X1 + 0.675 * f.Dx, f.Y1 + 0.25 * f.Dy);
    return fFlip ? XY(f.X2 - 0.75 * f.Dx, f.Y1 + 0.325 * f.Dy) : XY(f.X1 + 0.25 * f.Dx, f.Y1 + 0.675 * f.Dy);
}

TShapeGeometry TSymbolObjectSignalConverter::Geometry() const {
    TShapeGeometry g;
    const TBoxFrame f(fP1, fP2);
    g.Parts.push_back(Box(fP1, fP2));
    if (fFlip)
        g.Parts.push_back(Segment(XY(f.X1, f.Y2), XY(f.X2, f.Y1)));
    else
        g.Parts.push_back(Segment(PointToXYPoint(fP1), PointToXYPoint(fP2)));
    const double m = GetM(), h = m / 2;
    // Marks of no size would be points in the corner of a box of no size.
    if (m <= 0) return g;
    const TXYPoint c = OutputCentre();
    const bool horz = IsHorz();
    switch (fOutputSignal) {
    case svOutputElecDigital:
        g.Parts.push_back(Segment(XY(c.X - m / 4, c.Y - h), XY(c.X - m / 4, c.Y + h)));
        g.Parts.push_back(Segment(XY(c.X + m / 4, c.Y - h), XY(c.X + m / 4, c.Y + h)));
        g.Parts.push_back(Segment(XY(c.X + h, c.Y + m / 4), XY(c.X - h, c.Y + m / 4)));
        g.Parts.push_back(Segment(XY(c.X + h, c.Y - m / 4), XY(c.X - h, c.Y - m / 4)));
        break;
    case svOutputElecAnalogue:
        if (horz) {
            g.Parts.push_back(Segment(XY(c.X - h, c.Y), XY(c.X - h, c.Y - h)));
            g.Parts.push_back(Segment(XY(c.X + h, c.Y - h), XY(c.X + h, c.Y)));
            g.Parts.push_back(Arc(c, h, XY(c.X + h, c.Y), XY(c.X - h, c.Y)));
        } else {
            g.Parts.push_back(Segment(XY(c.X, c.Y - h), XY(c.X + h, c.Y - h)));
            g.Parts.push_back(Segment(XY(c.X, c.Y + h), XY(c.X + h, c.Y + h)));
            g.Parts.push_back(Arc(c, h, XY(c.X, c.Y + h), XY(c.X, c.Y - h)));
        }
        break;
    case svOutputElecSwitch: {
        const double u = 0.625 * m, v = 0.175 * m;
        if (horz) {
            g.Parts.push_back(Segment(XY(c.X - u, c.Y), XY(c.X - u + 2 * v, c.Y)));
            g.Parts.push_back(Segment(XY(c.X - u + 2 * v, c.Y), XY(c.X + u, c.Y + 2 * v)));
            g.Parts.push_back(Segment(XY(c.X + u + v, c.Y), XY(c.X + u - v, c.Y)));
        } else {
            g.Parts.push_back(Segment(XY(c.X, c.Y - u), XY(c.X, c.Y - u + 2 * v)));
            g.Parts.push_back(Segment(XY(c.X, c.Y - u + 2 * v), XY(c.X - 2 * v, c.Y + u)));
            g.Parts.push_back(Segment(XY(c.X, c.Y + u + v), XY(c.X, c.Y + u - v)));
        }
        break;
    }
    case svOutputNone:
        break;
    }
    return g;
}

TShapeGeometry TSymbolObjectSignalConverter::HitGeometry() const {
    TShapeGeometry g = Geometry();
    const double m = GetM();
    if (m <= 0) return g;
    if (fOutputSignal == svOutputNone) AddTextMarkArea(g, OutputCentre(), m);
    AddTextMarkArea(g, InputCentre(), m);
    return g;
}

bool TSymbolObjectSignalConverter::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(HitGeometry(), pt, minPickDistance);
}

bool TSymbolObjectSignalConverter::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(HitGeometry(), std::array{fP1, fP2}, rt);
}

TExtentsRect TSymbolObjectSignalConverter::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(HitGeometry(), std::array{fP1, fP2}, current);
    return current;
}

void TSymbolObjectSignalConverter::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    w.Field("InputSignal", SignalConverterInputIdent(fInputSignal));
    w.Field("OutputSignal", SignalConverterOutputIdent(fOutputSignal));
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectElectricalContact

void TSymbolObjectElectricalContact::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fElectricalContact = ecNone;
}

bool TSymbolObjectElectricalContact::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                                const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    if (key != "CONTACTTYPE"sv) return false;
    const int i = IndexOfName(value, ElectricalContactTypeNames, ElectricalContactTypeCount);
    fElectricalContact = i < 0 ? ecNone : TElectricalContactType(i);
    return true;
}

double TSymbolObjectElectricalContact::GetM() const {
    return TBoxFrame(fP1, fP2).SmallerSide() / 3;
}

void TSymbolObjectElectricalContact::CreateLines(TXYLineList& lines) const {
    if (fElectricalContact == ecNone) return;
    const double m = GetM();
    const double a = 0.25 * m, b = 0.375 * m, c = 0.5 * m, d = 0.875 * m, e = 0.925 * m;
    const TBoxFrame f(fP1, fP2);
    const double mx = f.Mx, my = f.My;
    const bool stop = fElectricalContact == ecBreakContact || fElectricalContact == ecSwitchContact;
    if (IsHorz()) {
        lines.Add(XY(mx - e, my - a), XY(mx - e + c, my - a));
        lines.Add(XY(mx - e + c, my - a), XY(mx + d, my + a));
        lines.Add(XY(mx + e, my - a), XY(mx + e - c, my - a));
        if (stop) lines.Add(XY(mx + e - c, my - a), XY(mx + e - c, my + b));
        if (fElectricalContact == ecSwitchContact) lines.Add(XY(mx + e, my + c), XY(mx + e - c, my + c));
    } else {
        lines.Add(XY(mx + a, my - e), XY(mx + a, my - e + c));
        lines.Add(XY(mx + a, my - e + c), XY(mx - a, my + d));
        lines.Add(XY(mx + a, my + e), XY(mx + a, my + e - c));
        if (stop) lines.Add(XY(mx + a, my + e - c), XY(mx - b, my + e - c));
        if (fElectricalContact == ecSwitchContact) lines.Add(XY(mx - c, my + e), XY(mx - c, my + e - c));
    }
}

TShapeGeometry TSymbolObjectElectricalContact::Geometry() const {
    TShapeGeometry g;
    g.Parts.push_back(Box(fP1, fP2));
    TXYLineList lines;
    CreateLines(lines);
    for (const auto& line : lines.fList)
        g.Parts.push_back(Segment(line->fP1, line->fP2));
    return g;
}

TShapeGeometry TSymbolObjectElectricalContact::HitGeometry() const {
    TShapeGeometry g = Geometry();
    if (fElectricalContact == ecNone && GetM() > 0) AddTextMarkArea(g, TBoxFrame(fP1, fP2).M(), GetM());
    return g;
}

bool TSymbolObjectElectricalContact::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(HitGeometry(), pt, minPickDistance);
}

bool TSymbolObjectElectricalContact::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(HitGeometry(), std::array{fP1, fP2}, rt);
}

TExtentsRect TSymbolObjectElectricalContact::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsOf(HitGeometry(), std::array{fP1, fP2}, current);
    return current;
}

void TSymbolObjectElectricalContact::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    w.Field("ElectricalContact", ElectricalContactTypeIdent(fElectricalContact));
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectHose

void TSymbolObjectHose::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fData = {};
}

bool TSymbolObjectHose::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    struct TStringKey {
        std::string_view Key;
        std::string TSymbolObjectHoseData::*Field;
    };
    struct TFloatKey {
        std::string_view Key;
        double TSymbolObjectHoseData::*Field;
    };
    static constexpr TStringKey strings[] = {
        {"CONNECTION1", &TSymbolObjectHoseData::Connection1},
        {"CONNECTION2", &TSymbolObjectHoseData::Connection2},
        {"HOSENUMBER", &TSymbolObjectHoseData::HoseNumber},
        {"REMARK", &TSymbolObjectHoseData::Remark},
        {"REMARK2", &TSymbolObjectHoseData::Remark2},
        {"DESCRIPTION", &TSymbolObjectHoseData::Description},
        {"HOSETYPE", &TSymbolObjectHoseData::HoseType},
        {"HOSEROTATION", &TSymbolObjectHoseData::HoseRotation},
    };
    static constexpr TFloatKey floats[] = {
        {"HOSELENGTH", &TSymbolObjectHoseData::HoseLength},
        {"HOSELENGTHIN", &TSymbolObjectHoseData::HoseLengthIN},
        {"PMAX", &TSymbolObjectHoseData::PMax},
        {"PMAXPSI", &TSymbolObjectHoseData::PMaxPSI},
    };
    for (const TStringKey& k : strings)
        if (key == k.Key) {
            fData.*k.Field = value;
            return true;
        }
    for (const TFloatKey& k : floats)
        if (key == k.Key) {
            fData.*k.Field = ParseRecordFloat(value, 0.0);
            return true;
        }
    return false;
}

double TSymbolObjectHose::HoseLength() const {
    return DisplayOf(TUnitKind::Size, fData.HoseLength, fData.HoseLengthIN);
}

double TSymbolObjectHose::HosePMax() const {
    return DisplayOf(TUnitKind::Pressure, fData.PMax, fData.PMaxPSI);
}

std::string TSymbolObjectHose::HoseType(char decimalSeparator) const {
    std::string s = fData.HoseType;
    s = ReplaceIgnoringCase(s, "<conn1>", fData.Connection1);
    s = ReplaceIgnoringCase(s, "<conn2>", fData.Connection2);
    s = ReplaceIgnoringCase(s, "<descr>", fData.Description);
    s = ReplaceIgnoringCase(s, "<rotation>", fData.HoseRotation);
    s = ReplaceIgnoringCase(s, "<length>", CaptionNumber(HoseLength(), decimalSeparator));
    s = ReplaceIgnoringCase(s, "<pressure>", CaptionNumber(HosePMax(), decimalSeparator));
    return ReplaceIgnoringCase(s, "%u", UnitText(TUnitKind::Size));
}

namespace {
// The arc's centre lies to the right of P1 -> P2, so that the arc rises a quarter of the length
// on its left: in the frame of P1 with X along P1 -> P2, at (L/2, -3L/8) with radius 5L/8.
struct THoseFrame {
    TXYPoint P1;
    double L;
    double Angle; // degrees of P2 - P1
    TXYPoint Local(double x, double y) const {
        return RotateXYPointDeg(XY(P1.X + x * L, P1.Y + y * L), P1, Angle);
    }
};
THoseFrame HoseFrame(const TPoint& p1, const TPoint& p2) {
    return {PointToXYPoint(p1), PointDist(p1, p2), XYAngle(PointToXYPoint(p2), PointToXYPoint(p1))};
}
} // namespace

void TSymbolObjectHose::GetCnterAndRadius(TXYPoint& centre, double& radius) const {
    const THoseFrame f = HoseFrame(fP1, fP2);
    centre = f.Local(0.5, -0.375);
    radius = 0.625 * f.L;
}

std::array<TXYPoint, 5> TSymbolObjectHose::IntermediatePoints() const {
    const THoseFrame f = HoseFrame(fP1, fP2);
    std::array<TXYPoint, 5> pts;
    for (int i = 1; i <= 5; ++i) {
        const double theta = (i * 106.0 / 6 - 53) * std::numbers::pi / 180;
        pts[size_t(i - 1)] = f.Local(0.5 + 0.625 * std::sin(theta), -0.375 + 0.625 * std::cos(theta));
    }
    return pts;
}

TShapeGeometry TSymbolObjectHose::Geometry() const {
    TShapeGeometry g;
    const TXYPoint p1 = PointToXYPoint(fP1), p2 = PointToXYPoint(fP2);
    g.Parts.push_back(Circle(p1, DotRadius(), fFill));
    g.Parts.push_back(Circle(p2, DotRadius(), fFill));
    if (fP1 == fP2) return g;
    TXYPoint c;
    double r;
    GetCnterAndRadius(c, r);
    g.Parts.push_back(Arc(c, r, p2, p1));
    return g;
}

bool TSymbolObjectHose::HitTest(TPoint pt, double minPickDistance) const {
    return HitTestOf(Geometry(), pt, minPickDistance);
}

bool TSymbolObjectHose::HitTestRect(const TRect& rt) const {
    return HitTestRectOf(Geometry(), std::array{fP1, fP2}, rt);
}

TExtentsRect TSymbolObjectHose::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsAddSquare(fP1, DotRadius(), current);
    ExtentsAddSquare(fP2, DotRadius(), current);
    for (const TXYPoint& p : IntermediatePoints())
        ExtentsAddXYPoint(p, current);
    return current;
}

void TSymbolObjectHose::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    w.Key("Data");
    w.BeginObject();
    w.Field("Connection1", fData.Connection1);
    w.Field("Connection2", fData.Connection2);
    w.Field("HoseLength", fData.HoseLength);
    w.Field("HoseLengthIN", fData.HoseLengthIN);
    w.Field("HoseNumber", fData.HoseNumber);
    w.Field("PMax", fData.PMax);
    w.Field("PMaxPSI", fData.PMaxPSI);
    w.Field("Remark", fData.Remark);
    w.Field("Remark2", fData.Remark2);
    w.Field("Description", fData.Description);
    w.Field("HoseType", fData.HoseType);
    w.Field("HoseRotation", fData.HoseRotation);
    w.EndObject();
}
