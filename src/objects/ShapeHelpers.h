#pragma once
// Constructions of the catalogue shapes: check valves, orifices, rotating machines, springs,
// arrows and arcs through three points, all in drawing units.
#include "model/SymbolObjectTypes.h"
#include "render/ShapeGeometry.h"

#include <array>

struct TCheckValveLinesEtc {
    // [0] ball centre, [1] and [2] seat or arm ends, [3] ball end or apex.
    std::array<TXYPoint, 4> P{};
    double R = 0; // ball radius
};

struct TOrificeDrawData {
    std::array<TXYPoint, 6> P{};
    double R = 0; // arc radius; 0 for the chevrons
};

class TSymbolObjectsDrawHelper {
public:
    // Ball and seat from P1 towards P2: the seat lines from P1 touch the ball.
    static void GetCheckValve1LinesEtc(const TPoint& p1, const TPoint& p2, TCheckValveLinesEtc& data);
    // Ball touching P1 and a cone whose arms from the apex touch the ball.
    static void GetCheckValve2LinesEtc(const TPoint& p1, const TPoint& p2, TCheckValveLinesEtc& data);
    // Two short arcs facing each other across the chord A-B: arc centres P[0] and P[3], drawn
    // from P[2] to P[1] and from P[5] to P[4].
    static void CreateOrificeLines(const TXYPoint& a, const TXYPoint& b, TOrificeDrawData& data);
    // Two right-angled chevrons pointing at the chord A-B from either side: P[1]-P[0]-P[2] and
    // P[4]-P[3]-P[5].
    static void CreateOrifice2Lines(const TXYPoint& a, const TXYPoint& b, TOrificeDrawData& data);
    // The same on the chord across the orifice circle whose diameter is P1-P2 (see PerpendicularChord).
    static void CreateOrificeLines(const TPoint& p1, const TPoint& p2, TOrificeDrawData& data, double ratio);
    static void CreateOrifice2Lines(const TPoint& p1, const TPoint& p2, TOrificeDrawData& data, double ratio);
    // The chord through the middle of P1-P2 and perpendicular to it, Ratio * L long; Ratio 0
    // gives the restrictor's chord of 2 * L/3 (L > 40) or 2 * L/4.
    static void PerpendicularChord(const TPoint& p1, const TPoint& p2, double ratio, TXYPoint& a,
                                   TXYPoint& b);
};

// Angle of (Dx, Dy) in radians with the atan2 in single precision; exactly +-90 degrees when
// Dx is 0 (0 for the zero vector).
double SingleVectorAngle(double dx, double dy);

// The shape a two-point object of the sub-type draws; empty when the sub-type is not one of the
// catalogue's or the shape has no size.
TShapeGeometry TwoPointShape(TSymbolObjectType subType, const TPoint& p1, const TPoint& p2, double scale,
                             bool fill, bool flip, bool alternate);
// The spring's zig-zag; none when the box has no width or height.
std::optional<TSpringShape> SpringShape(const TPoint& p1, const TPoint& p2, bool flip, bool alternate);

// An arc given by its ends S and E and a point T on it.
struct TArcThrough {
    enum TKind : uint8_t {
        akStraight, // the points are (nearly) in line or coincide: the poly-line S-T-E stands for the arc
        akArc,
    };
    TKind Kind = akStraight;
    TXYPoint Centre;
    double Radius = 0;
    // Counter-clockwise from From to To.
    TXYPoint From;
    TXYPoint To;
};
TArcThrough ArcThrough(const TXYPoint& s, const TXYPoint& e, const TXYPoint& t);
// The part that stands for the arc in hit tests and extents.
void AddArcThroughPart(const TArcThrough& a, const TXYPoint& s, const TXYPoint& e, const TXYPoint& t,
                       TShapeGeometry& g);
