#pragma once
// Integer drawing-space arithmetic: moving, rotating, mirroring and scaling points, rectangles,
// and the hit and intersection tests of selection and connectivity. Intermediate values are
// computed in 64 bits or double, so coordinates anywhere in the 32-bit range cannot overflow;
// results saturate at the 32-bit limits.
#include "render/XYPoints.h"

double PointDist(const TPoint& P, const TPoint& Q);
bool PointIsNear(const TPoint& P, const TPoint& Q, double Tol);
// Angle of P - Q in degrees, [0, 360), evaluated in single precision.
double PointAngle(const TPoint& P, const TPoint& Q);
TPoint PointMid(const TPoint& P, const TPoint& Q);
bool PointsCollinear(const TPoint& A, const TPoint& B, const TPoint& C);
// A quarter turn counter-clockwise about C.
TPoint RotatePoint90(const TPoint& P, const TPoint& C);
// Counter-clockwise about C by Angle radians.
TPoint RotatePoint(const TPoint& P, const TPoint& C, double Angle);
TPoint ScalePoint(const TPoint& P, const TPoint& C, double F);
// Mirror in the vertical line through C.
TPoint FlipPointX(const TPoint& P, const TPoint& C);
// Mirror in the horizontal line through C.
TPoint FlipPointY(const TPoint& P, const TPoint& C);

TRect RectFromPoints(const TPoint& A, const TPoint& B);
TRect NormalRectFromPoints(const TPoint& A, const TPoint& B);
TRect InflateRectBy(const TRect& R, int32_t D);
TRect SquareAroundPoint(const TPoint& P, int32_t D);
// Inclusive on every edge; corners in either order.
bool PointInRect(const TPoint& P, const TRect& R);
bool PointInSpan(const TPoint& P, const TPoint& A, const TPoint& B);
bool SegmentMeetsRect(const TRect& R, const TPoint& A, const TPoint& B);
bool BoxOutlineMeetsRect(const TRect& R, const TPoint& A, const TPoint& B);
// Intersections of the infinite line A-B with the circle of radius Radius about C: 0, 1 or 2.
int LineCircleIntersection(const TXYPoint& A, const TXYPoint& B, const TXYPoint& C, double Radius,
                           TXYPoint& P1, TXYPoint& P2);
bool PointOnAxisSegment(const TPoint& A, const TPoint& B, double X, double Y);
bool CircleMeetsRect(const TRect& R, const TPoint& C, double Radius);
bool CircleInsideRect(const TRect& R, const TPoint& C, double Radius);
// Distance from P to the infinite line A-B and the foot parameter T; 0 and T = -1 when A = B.
double PointLineDistance(const TPoint& P, const TPoint& A, const TPoint& B, double& T);
double PointSegmentDistance(const TPoint& P, const TPoint& A, const TPoint& B);

void ExtentsAddSquare(const TPoint& P, int32_t D, TExtentsRect& E);
