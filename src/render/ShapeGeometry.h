#pragma once
// The geometry a shape object draws, in drawing units, with the way each part reaches the canvas.
// One description serves drawing, hit tests and extents, so what is hit is what is drawn.
#include "base/DrawTypes.h"
#include "render/XYPoints.h"

#include <cstdint>
#include <optional>
#include <vector>

class TSymbolCanvas;
class TSymbolObject;

enum class TShapePartKind : uint8_t {
    Lines,         // poly-line of platform lines
    StyledLines,   // poly-line; with a pen that is not solid each edge is drawn as a pattern
    Polygon,       // platform polygon, filled while drawing when Filled
    StyledPolygon, // closed outline: a solid pen or a fill gives a platform polygon, otherwise
                   // each edge (the closing one too) is drawn as a pattern
    Circle,        // circle about Centre
    Arc,           // counter-clockwise from the ray towards Pts[0] to the ray towards Pts[1]
};

struct TShapePart {
    TShapePartKind Kind = TShapePartKind::Lines;
    bool Filled = false;
    std::vector<TXYPoint> Pts;
    TXYPoint Centre;
    double Radius = 0;
};

// A zig-zag between two opposite edges of the box S-E. The teeth advance along X when AlongX
// (alternating between the Y values of E and S), along Y otherwise.
struct TSpringShape {
    TXYPoint S;
    TXYPoint E;
    int64_t Count = 1; // teeth
    bool Alternate = false;
    bool AlongX = true;

    // Number of points of the zig-zag.
    int64_t PointCount() const { return Alternate ? Count + 1 : Count + 2; }
    TXYPoint PointAt(int64_t k) const;
    // The continuous point index at which the zig-zag reaches axis coordinate A.
    double IndexAt(double a) const;
    // Indexes of the first and last point needed to cover the axis range [A0, A1], one point to spare.
    void IndexRange(double a0, double a1, int64_t& first, int64_t& last) const;
    // The same zig-zag with at most MaxCount teeth, keeping the rule that an open spring has an
    // even count.
    TSpringShape WithAtMost(int64_t maxCount) const;
};

struct TShapeGeometry {
    std::vector<TShapePart> Parts;
    std::optional<TSpringShape> Spring;

    bool Empty() const { return Parts.empty() && !Spring; }
};

// Whether some part lies within Distance of P (filled parts: P inside counts too).
bool ShapeHitTest(const TShapeGeometry& g, const TXYPoint& p, double distance);
// Some part touches the axis-aligned box (inclusive).
bool ShapeMeetsBox(const TShapeGeometry& g, double left, double bottom, double right, double top);
// The smallest box holding every part; false when there is nothing.
bool ShapeBounds(const TShapeGeometry& g, double& left, double& bottom, double& right, double& top);
// Window or crossing test as the selection reads the rectangle.
bool ShapeHitTestRect(const TShapeGeometry& g, const TRect& rt);
void ShapeAddExtents(const TShapeGeometry& g, TExtentsRect& e);

// Draws the parts with the pen the caller set; fills set the owner's solid brush and clear it again.
void DrawShapeParts(const TShapeGeometry& g, TSymbolCanvas& canvas, const TSymbolObject& owner,
                    TSymbolDrawMode mode);
