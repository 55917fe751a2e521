#pragma once
// Integer drawing-space arithmetic: moving, rotating, mirroring and scaling points, rectangles,
// and the hit and intersection tests of selection and connectivity. Intermediate values are
// computed in 64 bits or double, so coordinates anywhere in the 32-bit range cannot overflow;
// results saturate at the 32-bit limits.
#include "render/XYPoints.h"

double PointDist(const TPoint& p, const TPoint& q);
bool PointIsNear(const TPoint& p, const TPoint& q, double tol);
// Angle of P - Q in degrees, [0, 360), evaluated in single precision.
double PointAngle(const TPoint& p, const TPoint& q);
TPoint PointMid(const TPoint& p, const TPoint& q);
bool PointsCollinear(const TPoint& a, const TPoint& b, const TPoint& c);
// A quarter turn counter-clockwise about C.
TPoint RotatePoint90(const TPoint& p, const TPoint& c);
// Counter-clockwise about C by Angle radians.
TPoint RotatePoint(const TPoint& p, const TPoint& c, double angle);
TPoint ScalePoint(const TPoint& p, const TPoint& c, double f);
// Mirror in the vertical line through C.
TPoint FlipPointX(const TPoint& p, const TPoint& c);
// Mirror in the horizontal line through C.
TPoint FlipPointY(const TPoint& p, const TPoint& c);

TRect RectFromPoints(const TPoint& a, const TPoint& b);
TRect NormalRectFromPoints(const TPoint& a, const TPoint& b);
TRect InflateRectBy(const TRect& r, int32_t d);
TRect SquareAroundPoint(const TPoint& p, int32_t d);
// Inclusive on every edge; corners in either order.
bool PointInRect(const TPoint& p, const TRect& r);
bool PointInSpan(const TPoint& p, const TPoint& a, const TPoint& b);
bool SegmentMeetsRect(const TRect& r, const TPoint& a, const TPoint& b);
bool BoxOutlineMeetsRect(const TRect& r, const TPoint& a, const TPoint& b);
// Intersections of the infinite line A-B with the circle of radius Radius about C: 0, 1 or 2.
int LineCircleIntersection(const TXYPoint& a, const TXYPoint& b, const TXYPoint& c, double radius,
                           TXYPoint& p1, TXYPoint& p2);
bool PointOnAxisSegment(const TPoint& a, const TPoint& b, double x, double y);
bool CircleMeetsRect(const TRect& r, const TPoint& c, double radius);
bool CircleInsideRect(const TRect& r, const TPoint& c, double radius);
// Distance from P to the infinite line A-B and the foot parameter T; 0 and T = -1 when A = B.
double PointLineDistance(const TPoint& p, const TPoint& a, const TPoint& b, double& t);
double PointSegmentDistance(const TPoint& p, const TPoint& a, const TPoint& b);

void ExtentsAddSquare(const TPoint& p, int32_t d, TExtentsRect& e);
