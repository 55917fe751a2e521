#pragma once
// The one drawing path of the program: drawing objects paint on a TSymbolCanvas, which owns the
// view transform from drawing units (Y up) to device pixels (Y down), the snap and grid settings,
// the colour scheme and the line-pattern drawing, and forwards everything else to a raster
// surface it does not own.
#include "base/DrawTypes.h"
#include "render/RasterSurface.h"
#include "render/XYPoints.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

enum TGridMode : uint8_t { gridNone, gridDynamic, grid10, grid20, grid40, grid80 };
enum TSnapMode : uint8_t { snapOff, snapOn };
enum TOSnapMode : uint8_t { osnapOff, osnapOn };
enum TObjectSnapType : uint8_t { osNone, osEndPoint, osMidPoint, osCenterPoint };
enum TUseFor : uint8_t { useforBoth, useforScreen, useforOutput };

// Indexes into TSymbolCanvasColorData::DrawColors.
enum TDrawColorIndex : uint8_t {
    dcBackground,
    dcForeground,
    dcGridMajor,
    dcGridMinor,
    dcSnapPoint,
    dcHighlight,
    dcClicked,
    dcDrag,
    dcSpare,
    dcInsertionPoint,
    dcHelper,
    dcSheet,
};
constexpr int DrawColorCount = 12;

struct TSymbolCanvasColorData {
    std::string Name;
    std::string Description;
    bool UseGroupColorsForConnectionLines = true;
    std::array<TColor, DrawColorCount> DrawColors{};
    std::array<TColor, SymLineTypeCount> LineTypeColors{};
    TUseFor UseFor = useforScreen;
    bool FromOnline = true;
};

// The built-in schemes "Black", "Dark gray" and "White".
const TSymbolCanvasColorData& SymbolCanvasColorsBlack();
const TSymbolCanvasColorData& SymbolCanvasColorsDarkGray();
const TSymbolCanvasColorData& SymbolCanvasColorsWhite();
// Built-in scheme by name ignoring case, or nullptr.
const TSymbolCanvasColorData* FindSymbolCanvasColors(std::string_view Name);

TPenStyle PenStyleOfLineStyle(TSymLineStyle Style);
TPenStyle PenStyleOfBorderStyle(TSymBorderStyle Style);

// Device coordinates handed to the surface stay within +-SafeDeviceCoord pixels, far outside any
// real device but well inside what raster back-ends handle without overflow.
constexpr int32_t SafeDeviceCoord = 1 << 22;

class TSymbolCanvas {
public:
    explicit TSymbolCanvas(TRasterSurface* ACanvas);

    // Settings.
    void SetDPI(int Value);
    // Multiplies the zoom by Factor (1 just refreshes snap and grid). A factor that would leave the
    // zoom non-finite or not positive is ignored.
    void SetZoom(double Factor);
    void SetGridMode(TGridMode Value);
    void SetSnapAndGridValues();
    void ClearCanvas();
    TColor DrawColor(TDrawColorIndex Index) const { return fCanvasColors.DrawColors[Index]; }

    // View transform. Results are clamped to +-SafeDeviceCoord.
    int32_t ToPtX(double X) const;
    int32_t ToPtY(double Y) const;
    TPoint ToPt(const TPoint& P) const;
    TPoint ToPt(const TXYPoint& P) const;
    // Device pixels to drawing units; (0, 0) while the zoom is not usable.
    TPoint FromPt(const TPoint& P) const;
    // Corners FromPt(fSize.X, 0) (top right) and FromPt(0, fSize.Y) (bottom left).
    TRect VisibleArea() const;
    TPoint SnapPoint(const TPoint& Pt) const;
    void ZoomExtents(const TExtentsRect& Extents);
    void ZoomCenterExtents(const TExtentsRect& Extents, double NewZoom);

    // Drawing in drawing units (TXYPoint) or device pixels (TPoint, passed through).
    void MoveTo(const TXYPoint& P);
    void LineTo(const TXYPoint& P);
    void MoveTo(const TPoint& DevicePt);
    void LineTo(const TPoint& DevicePt);
    // A poly-line through every point: solid pens draw it directly, other styles draw each segment
    // through DrawNonSolidLine.
    void DrawLines(std::span<const TXYPoint> Pts);
    // The pen's style drawn as a pattern measured in drawing units, symmetric about the middle of
    // the segment. SecondColor other than 0 alternates the pieces between the pen colour and it.
    void DrawNonSolidLine(const TXYPoint& P1, const TXYPoint& P2, TColor SecondColor = 0);
    void DrawCircle(const TXYPoint& PM, double R);
    void DrawCircle(const TPoint& PM, double R);
    // Counter-clockwise on the screen from the ray towards P1 to the ray towards P2.
    void DrawArc(const TXYPoint& PM, const TXYPoint& P1, const TXYPoint& P2, double R);
    void DrawTextBorder(const TXYPoint& P1, const TXYPoint& P2, TSymBorderStyle Border, TColor Color);
    // NewHeight is the text height in drawing units times the zoom; sets the font size in points.
    void SetTextHeight(double NewHeight);
    // Font size in points set by the last SetTextHeight.
    int FontSize() const { return fFontSize; }
    // 90 gives vertical text, anything else horizontal.
    void SetTextAngle(double NewAngle);

    // The object pen rule: clear brush, copy mode, the colour for the mode, the style of the line
    // style (or of the line type's default), solid while panning, width 1.
    void ApplyObjectPen(TSymbolDrawMode Mode, TSymLineType LineType, TSymLineStyle LineStyle,
                        bool ColorIsOverruled, TColor OverruledColor);
    void ApplyObjectBrush(bool Solid, TSymbolDrawMode Mode, TSymLineType LineType, bool ColorIsOverruled,
                          TColor OverruledColor);
    // Symbol-group colouring on top of the object pen, for an object whose group counts.
    void ApplyGroupPen(TSymbolDrawMode Mode, TColor GroupColor, TSymLineStyle GroupLineStyle);
    // The colour the object pen rule picks.
    TColor ObjectColor(TSymbolDrawMode Mode, TSymLineType LineType, bool ColorIsOverruled,
                       TColor OverruledColor) const;

    // Small conveniences over the surface's pen and brush.
    void SetPenColor(TColor Color);
    void SetPenStyle(TPenStyle Style);
    void SetBrushStyle(TBrushStyle Style);

    TSymbolDrawMode fDrawMode = sdmNormal;
    double fZoom = 1.0;
    TRasterSurface* fCanvas = nullptr;
    TPoint fStart;
    TPoint fSize;
    int32_t fSnap = 20;
    int32_t fGrid = 40;
    bool fShowGrid = true;
    bool fShowTextBorders = true;
    int32_t fDPI = 96;
    bool fPan = false;
    double fDPIFactor = 1.0;
    bool fThickConnectionLines = true;
    TSymbolCanvasColorData fCanvasColors;
    TGridMode fGridMode = gridDynamic;
    TSnapMode fSnapMode = snapOn;
    TOSnapMode fOSnapMode = osnapOn;
    bool fShowHideInOutput = false;
    bool fHideImageRectangles = false;
    bool fMoveMode = false;
    bool fOrthoMode = false;
    bool fAutoJoin = false;
    TSymbolGroupDrawMode fSymbolGroupDrawMode = drawMainGroups;

private:
    // The zoom if it is finite and positive, else 0 (nothing can be transformed).
    double UsableZoom() const;
    // Unclamped device coordinates (already rounded as the transform rounds).
    double DevX(double X) const;
    double DevY(double Y) const;
    void DrawGrid();
    void Reset();
    // Draws the device segment From-To clipped to the safe range; leaves the surface at To.
    void SurfaceSegment(double X1, double Y1, double X2, double Y2);

    int fFontSize = 0;
    // Where the last drawing-unit MoveTo/LineTo left the pen, in unclamped device pixels.
    double fPenX = 0, fPenY = 0;
};
