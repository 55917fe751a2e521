#include "objects/ImageObject.h"

#include "base/Translate.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "platform/MessageBox.h"
#include "render/PictureFiles.h"
#include "render/PointUtils.h"
#include "render/SymbolCanvas.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

using namespace std::string_view_literals;

namespace {

constexpr int32_t ImageMargin = 8;
// The name on a picture that could not be read, in drawing units; below the pixel height it is
// left out rather than drawn as a smudge.
constexpr double PlaceholderTextHeight = 20;
constexpr int MinReadableTextPixels = 6;

// Where the file name starts: after the last separator of either kind, as drawings made on
// Windows write "\".
size_t FolderPartEnd(std::string_view name) {
    const size_t p = name.find_last_of("/\\");
    return p == std::string_view::npos ? 0 : p + 1;
}

std::string_view WithoutTrailingSeparators(std::string_view folder) {
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.remove_suffix(1);
    return folder;
}

} // namespace

void TSymbolObjectImage::SetDefaults() {
    TSymbolObject2Point::SetDefaults();
    fData = {};
    fIsLoaded = false;
    fBitmap = {};
}

bool TSymbolObjectImage::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    if (TSymbolObject2Point::LoadOwnKey(reader, key, value)) return true;
    if (key != "IMAGEFILENAME"sv) return false;
    // Stored as written: the drawing's folder is handed over only after the whole file is read.
    fData.ImageFileName = value;
    fIsLoaded = false;
    fBitmap = {};
    return true;
}

std::string TSymbolObjectImage::ImageFileName() const {
    const std::string& name = fData.ImageFileName;
    if (name.empty() || FolderPartEnd(name) != 0 || fImageFolder.empty()) return name;
    return (std::filesystem::path(fImageFolder) / name).string();
}

void TSymbolObjectImage::SetImageFileName(const std::string& value) {
    const size_t end = FolderPartEnd(value);
    const bool inImageFolder =
        end != 0 && !fImageFolder.empty() &&
        SameTextAscii(WithoutTrailingSeparators(std::string_view(value).substr(0, end)),
                      WithoutTrailingSeparators(fImageFolder));
    fData.ImageFileName = inImageFolder ? value.substr(end) : value;
    fIsLoaded = false;
    fBitmap = {};
}

void TSymbolObjectImage::LoadPicture() {
    if (fIsLoaded) return;
    const std::string file = ImageFileName();
    if (file.empty()) return;
    TRgbaImage picture;
    std::string reason;
    switch (ReadPictureFile(file, picture, reason)) {
    case TPictureStatus::psOk:
        fBitmap = std::move(picture);
        fIsLoaded = true;
        return;
    case TPictureStatus::psMissing:
        // It may yet appear (a package still unpacking, a network folder): the next draw looks again.
        return;
    default:
        break;
    }
    // Settled before the box is shown: a paint while it is open must not report it again.
    fIsLoaded = true;
    fBitmap = {};
    fData.ImageFileName = "?" + fData.ImageFileName;
    ShowErrorMessage(CannotHandleFileText(file) + "\n" + reason);
}

TPoint TSymbolObjectImage::UpperLeft() const {
    return {std::min(fP1.X, fP2.X), std::max(fP1.Y, fP2.Y)};
}

TPoint TSymbolObjectImage::LowerRight() const {
    const TPoint ul = UpperLeft();
    const TPoint boxCorner(std::max(fP1.X, fP2.X), std::min(fP1.Y, fP2.Y));
    if (!fBitmap.Valid()) return boxCorner;
    const double g =
        std::min((double(ul.Y) - boxCorner.Y) / fBitmap.Height, (double(boxCorner.X) - ul.X) / fBitmap.Width);
    return {Round(ul.X + g * fBitmap.Width), Round(ul.Y - g * fBitmap.Height)};
}

bool TSymbolObjectImage::HitTest(TPoint pt, double minPickDistance) const {
    // A picture is solid: anywhere on it picks it, not only its frame.
    const double d = std::isfinite(minPickDistance) ? std::max(minPickDistance, 0.0) : 0.0;
    return pt.X >= double(std::min(fP1.X, fP2.X)) - d && pt.X <= double(std::max(fP1.X, fP2.X)) + d &&
           pt.Y >= double(std::min(fP1.Y, fP2.Y)) - d && pt.Y <= double(std::max(fP1.Y, fP2.Y)) + d;
}

bool TSymbolObjectImage::HitTestRect(const TRect& rt) const {
    const TRect box = NormalRectFromPoints(fP1, fP2);
    if (rt.P2.X < rt.P1.X) {
        // A crossing rectangle takes the picture when the two overlap at all.
        const TRect r = NormalRectFromPoints(rt.P1, rt.P2);
        return box.P1.X <= r.P2.X && box.P2.X >= r.P1.X && box.P1.Y <= r.P2.Y && box.P2.Y >= r.P1.Y;
    }
    return PointInRect(box.P1, rt) && PointInRect(box.P2, rt);
}

TExtentsRect TSymbolObjectImage::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsAddPoint(fP1, current);
    ExtentsAddPoint(fP2, current);
    return current;
}

void TSymbolObjectImage::PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode,
                                     const TTextStyleList* styles) {
    TSymbolObject2Point::PrepareDraw(canvas, mode, styles);
    // Read here rather than while painting: opening a drawing measures it before the first
    // paint, so a picture that cannot be read is reported then and not from inside a paint.
    LoadPicture();
}

bool TSymbolObjectImage::DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                                    const TTextStyleList* styles) {
    if (!TSymbolObject::DrawSymbol(canvas, mode, clip, styles)) return false;
    // The children set pens of their own.
    if (fSymbolObjectList.Count() > 0) SetDrawColors(canvas, mode);
    // A picture that was read and failed shows a crossed-out frame with its name.
    const bool placeholder = mode == sdmNormal && fIsLoaded && !fBitmap.Valid();

    if (!canvas.fHideImageRectangles) {
        if (mode == sdmNormal) canvas.SetPenColor(canvas.DrawColor(dcHelper));
        const TXYPoint a = PointToXYPoint(fP1), b = PointToXYPoint(fP2);
        const TXYPoint c{a.X, b.Y}, d{b.X, a.Y};
        const TPenStyle style = canvas.fCanvas->Pen().Style;
        if (style == TPenStyle::Solid || style == TPenStyle::Clear || fFill) {
            if (mode == sdmHighlight || placeholder) {
                canvas.MoveTo(a);
                canvas.LineTo(b);
                canvas.MoveTo(c);
                canvas.LineTo(d);
            }
            const TPoint corners[] = {canvas.ToPt(a), canvas.ToPt(d), canvas.ToPt(b), canvas.ToPt(c)};
            canvas.fCanvas->Polygon(corners);
        } else {
            if (placeholder) {
                canvas.DrawNonSolidLine(a, b);
                canvas.DrawNonSolidLine(c, d);
            }
            canvas.DrawNonSolidLine(a, d);
            canvas.DrawNonSolidLine(d, b);
            canvas.DrawNonSolidLine(b, c);
            canvas.DrawNonSolidLine(c, a);
        }
        if (placeholder) DrawPlaceholderName(canvas);
    }

    if (mode == sdmNormal && fBitmap.Valid()) {
        const TRect box(canvas.ToPt(UpperLeft()), canvas.ToPt(LowerRight()));
        // A picture squeezed below a pixel has nothing to show.
        if (box.P2.X > box.P1.X && box.P2.Y > box.P1.Y) canvas.fCanvas->DrawBitmap(box, fBitmap);
    }
    return true;
}

void TSymbolObjectImage::DrawPlaceholderName(TSymbolCanvas& canvas) const {
    const double zoom = canvas.fZoom;
    if (!std::isfinite(zoom) || zoom <= 0) return;
    // The cross already says the picture failed; the "?" in front of the stored name is left out.
    std::string_view name = fData.ImageFileName;
    if (name.starts_with('?')) name.remove_prefix(1);
    name.remove_prefix(FolderPartEnd(name));
    const std::string text(name);
    canvas.SetTextHeight(PlaceholderTextHeight * zoom);
    TFontSpec font; // plain and upright, whatever the text drawn before left behind
    font.Height = canvas.fCanvas->Font().Height;
    if (font.Height < MinReadableTextPixels) return;
    font.Color = canvas.fCanvas->Pen().Color;
    canvas.fCanvas->SetFont(font);
    const TPoint ul = canvas.ToPt(UpperLeft()), lr = canvas.ToPt(LowerRight());
    const int64_t margin = Round(ImageMargin * zoom);
    const TSize size = canvas.fCanvas->TextExtent(text);
    // A name that would stick out of the frame is left out.
    if (int64_t(ul.X) + 2 * margin + size.cx > lr.X || int64_t(ul.Y) + 2 * margin + size.cy > lr.Y) return;
    canvas.fCanvas->TextOut({ClampToInt32(ul.X + margin), ClampToInt32(ul.Y + margin)}, text);
}

void TSymbolObjectImage::DumpFields(TJsonWriter& w) const {
    TSymbolObject2Point::DumpFields(w);
    w.Key("Data");
    w.BeginObject();
    w.Field("ImageFileName", fData.ImageFileName);
    w.EndObject();
    w.Field("IsLoaded", fIsLoaded);
    w.Key("Bitmap");
    w.BeginObject();
    w.Field("Width", int32_t(fBitmap.Width));
    w.Field("Height", int32_t(fBitmap.Height));
    w.EndObject();
    w.Field("ImageFolder", fImageFolder);
}

void SetImageFolder(TSymbolObject& root, const std::string& folder) {
    root.ForEachInSubtree([&](TSymbolObject* obj) {
        if (auto* image = dynamic_cast<TSymbolObjectImage*>(obj)) image->fImageFolder = folder;
    });
}
