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
const TSymbolCanvasColorData* FindSymbolCanvasColors(std::string_view name);

TPenStyle PenStyleOfLineStyle(TSymLineStyle style);
TPenStyle PenStyleOfBorderStyle(TSymBorderStyle style);

// Device coordinates handed to the surface stay within +-SafeDeviceCoord pixels, far outside any
// real device but well inside what raster back-ends handle without overflow.
constexpr int32_t SafeDeviceCoord = 1 << 22;

class TSymbolCanvas {
public:
    explicit TSymbolCanvas(TRasterSurface* aCanvas);

    // Settings.
    void SetDPI(int value);
    // Multiplies the zoom by Factor (1 just refreshes snap and grid). A factor that would leave the
    // zoom non-finite or not positive is ignored.
    void SetZoom(double factor);
    void SetGridMode(TGridMode value);
    void SetSnapAndGridValues();
    void ClearCanvas();
    TColor DrawColor(TDrawColorIndex index) const { return fCanvasColors.DrawColors[index]; }

    // View transform. Results are clamped to +-SafeDeviceCoord.
    int32_t ToPtX(double x) const;
    int32_t ToPtY(double y) const;
    TPoint ToPt(const TPoint& p) const;
    TPoint ToPt(const TXYPoint& p) const;
    // Device pixels to drawing units; (0, 0) while the zoom is not usable.
    TPoint FromPt(const TPoint& p) const;
    // Corners FromPt(fSize.X, 0) (top right) and FromPt(0, fSize.Y) (bottom left).
    TRect VisibleArea() const;
    TPoint SnapPoint(const TPoint& pt) const;
    void ZoomExtents(const TExtentsRect& extents);
    void ZoomCenterExtents(const TExtentsRect& extents, double newZoom);

    // Drawing in drawing units (TXYPoint) or device pixels (TPoint, passed through).
    void MoveTo(const TXYPoint& p);
    void LineTo(const TXYPoint& p);
    void MoveTo(const TPoint& devicePt);
    void LineTo(const TPoint& devicePt);
    // A poly-line through every point: solid pens draw it directly, other styles draw each segment
    // through DrawNonSolidLine.
    void DrawLines(std::span<const TXYPoint> pts);
    // The pen's style drawn as a pattern measured in drawing units, symmetric about the middle of
    // the segment. SecondColor other than 0 alternates the pieces between the pen colour and it.
    void DrawNonSolidLine(const TXYPoint& p1, const TXYPoint& p2, TColor secondColor = 0);
    void DrawCircle(const TXYPoint& pm, double r);
    void DrawCircle(const TPoint& pm, double r);
    // Counter-clockwise on the screen from the ray towards P1 to the ray towards P2.
    void DrawArc(const TXYPoint& pm, const TXYPoint& p1, const TXYPoint& p2, double r);
    void DrawTextBorder(const TXYPoint& p1, const TXYPoint& p2, TSymBorderStyle border, TColor color);
    // NewHeight is the text height in drawing units times the zoom; sets the font size in points.
    void SetTextHeight(double newHeight);
    // Font size in points set by the last SetTextHeight.
    int FontSize() const { return fFontSize; }
    // 90 gives vertical text, anything else horizontal.
    void SetTextAngle(double newAngle);

    // The object pen rule: clear brush, copy mode, the colour for the mode, the style of the line
    // style (or of the line type's default), solid while panning, width 1.
    void ApplyObjectPen(TSymbolDrawMode mode, TSymLineType lineType, TSymLineStyle lineStyle,
                        bool colorIsOverruled, TColor overruledColor);
    void ApplyObjectBrush(bool solid, TSymbolDrawMode mode, TSymLineType lineType, bool colorIsOverruled,
                          TColor overruledColor);
    // Symbol-group colouring on top of the object pen, for an object whose group counts.
    void ApplyGroupPen(TSymbolDrawMode mode, TColor groupColor, TSymLineStyle groupLineStyle);
    // The colour the object pen rule picks.
    TColor ObjectColor(TSymbolDrawMode mode, TSymLineType lineType, bool colorIsOverruled,
                       TColor overruledColor) const;

    // Small conveniences over the surface's pen and brush.
    void SetPenColor(TColor color);
    void SetPenStyle(TPenStyle style);
    void SetBrushStyle(TBrushStyle style);

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
    // The user's decimal separator, for numbers the drawing shows (sheet captions); the GUI sets it.
    char fDecimalSeparator = '.';

private:
    // The zoom if it is finite and positive, else 0 (nothing can be transformed).
    double UsableZoom() const;
    // Every object of a paint asks for the visible area; it is worked out once per view.
    struct TAreaMemo {
        bool Valid = false;
        double Zoom = 0;
        TPoint Start, Size;
        TRect Area;
    };
    mutable TAreaMemo fAreaMemo;
    // Unclamped device coordinates (already rounded as the transform rounds).
    double DevX(double x) const;
    double DevY(double y) const;
    void DrawGrid();
    void Reset();
    // Draws the device segment From-To clipped to the safe range; leaves the surface at To.
    void SurfaceSegment(double x1, double y1, double x2, double y2);

    int fFontSize = 0;
    // Where the last drawing-unit MoveTo/LineTo left the pen, in unclamped device pixels.
    double fPenX = 0, fPenY = 0;
};
