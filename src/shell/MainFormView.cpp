// The main window's view: paint, zoom, pan, selection and the display options.
#include "shell/MainForm.h"

#include "components/SymbolObjectSymbol.h"
#include "document/DrawingView.h"
#include "qt/QtRasterSurface.h"
#include "shell/PaintBox.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QWheelEvent>
#include <cmath>

namespace {

// The canvas draws on a surface only while one exists; this lends it one for a scope.
class TLendSurface {
public:
    TLendSurface(TSymbolCanvas& Canvas, TRasterSurface* Surface)
        : fCanvas(Canvas), fPrevious(Canvas.fCanvas) {
        Canvas.fCanvas = Surface;
    }
    ~TLendSurface() { fCanvas.fCanvas = fPrevious; }
    TLendSurface(const TLendSurface&) = delete;
    TLendSurface& operator=(const TLendSurface&) = delete;

private:
    TSymbolCanvas& fCanvas;
    TRasterSurface* fPrevious;
};

QColor ToQColor(TColor C) {
    return QColor(ColorRed(C), ColorGreen(C), ColorBlue(C));
}

TPoint DevicePoint(const QPointF& Logical, double Ratio) {
    return {int(std::lround(Logical.x() * Ratio)), int(std::lround(Logical.y() * Ratio))};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Paint box

TPaintBox::TPaintBox(TMainForm& Form, QWidget* Parent) : QWidget(Parent), fForm(Form) {
    // Everything is drawn from the off-screen picture: nothing to erase first, nothing to flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    if (fForm.fViewImage.size() != fForm.PaintBoxDeviceSize()) fForm.PaintBoxMainPaint();
    QPainter Painter(this);
    const double Ratio = fForm.PaintBoxPixelRatio();
    if (!fForm.fPanBitmap.isNull()) {
        Painter.fillRect(rect(), ToQColor(fForm.fSymbolCanvas.DrawColor(dcBackground)));
        QImage Pan = fForm.fPanBitmap;
        Pan.setDevicePixelRatio(Ratio);
        Painter.drawImage(QPointF(fForm.fPanPos.X / Ratio, fForm.fPanPos.Y / Ratio), Pan);
        return;
    }
    QImage View = fForm.fViewImage;
    View.setDevicePixelRatio(Ratio);
    Painter.drawImage(QPointF(0, 0), View);
}

void TPaintBox::mousePressEvent(QMouseEvent* Event) {
    fForm.PaintBoxMainMouseDown(Event->button(), Event->modifiers(),
                                DevicePoint(Event->position(), fForm.PaintBoxPixelRatio()), false);
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* Event) {
    fForm.PaintBoxMainMouseDown(Event->button(), Event->modifiers(),
                                DevicePoint(Event->position(), fForm.PaintBoxPixelRatio()), true);
    if (Event->button() == Qt::LeftButton) fForm.PaintBoxMainDblClick();
}

void TPaintBox::mouseMoveEvent(QMouseEvent* Event) {
    fForm.PaintBoxMainMouseMove(Event->buttons(), Event->modifiers(),
                                DevicePoint(Event->position(), fForm.PaintBoxPixelRatio()));
}

void TPaintBox::mouseReleaseEvent(QMouseEvent*) {
    fForm.PaintBoxMainMouseUp();
}

void TPaintBox::wheelEvent(QWheelEvent* Event) {
    if (fForm.FormMouseWheel(Event->globalPosition(), Event->angleDelta().y()))
        Event->accept();
    else
        Event->ignore();
}

// ---------------------------------------------------------------------------------------------
// Form

QWidget* TMainForm::PaintBox() const {
    return PaintBoxMain;
}

double TMainForm::PaintBoxPixelRatio() const {
    return PaintBoxMain ? PaintBoxMain->devicePixelRatioF() : devicePixelRatioF();
}

QSize TMainForm::PaintBoxDeviceSize() const {
    const double Ratio = PaintBoxPixelRatio();
    return {int(std::lround(PaintBoxMain->width() * Ratio)),
            int(std::lround(PaintBoxMain->height() * Ratio))};
}

void TMainForm::SetSymbolCanvasDPI() {
    fSymbolCanvas.SetDPI(int(std::lround(PaintBoxMain->logicalDpiX() * PaintBoxPixelRatio())));
}

QImage TMainForm::ViewImage() const {
    if (fPanBitmap.isNull()) return fViewImage;
    QImage Frame(fViewImage.size(), QImage::Format_RGB32);
    Frame.fill(ToQColor(fSymbolCanvas.DrawColor(dcBackground)));
    QPainter Painter(&Frame);
    Painter.drawImage(QPoint(fPanPos.X, fPanPos.Y), fPanBitmap);
    return Frame;
}

void TMainForm::PaintBoxMainPaint() {
    DrawSymbolFile();
}

void TMainForm::DrawSymbolFile() {
    const QSize Size = PaintBoxDeviceSize();
    fSymbolCanvas.fSize = {Size.width(), Size.height()};
    if (fViewImage.size() != Size) fViewImage = QImage(Size, QImage::Format_RGB32);
    if (!fViewImage.isNull()) {
        TQtRasterSurface Surface(&fViewImage);
        TLendSurface Lend(fSymbolCanvas, &Surface);
        PaintDrawing(fSymbolFile, fSymbolCanvas);
    }
    UpdateButtons();
    PaintBoxMain->update();
}

void TMainForm::DrawSelectionMarks(TSymbolDrawMode Mode) {
    if (!fViewImage.isNull() && fViewImage.size() == PaintBoxDeviceSize()) {
        TQtRasterSurface Surface(&fViewImage);
        TLendSurface Lend(fSymbolCanvas, &Surface);
        PaintSelection(fSymbolFile, fSymbolCanvas, Mode);
        PaintBoxMain->update();
    }
    UpdateButtons();
}

void TMainForm::DeselectAll() {
    DrawSelectionMarks(sdmNormal);
    fSymbolFile.Symbol().ClearSelection();
    UpdateButtons();
}

void TMainForm::ZoomAll() {
    const QSize Size = PaintBoxDeviceSize();
    fSymbolCanvas.fSize = {Size.width(), Size.height()};
    if (!ZoomCanvasToDrawing(fSymbolFile, fSymbolCanvas)) return;
    DrawSymbolFile();
}

void TMainForm::ViewZoomAllActionExecute() {
    ZoomAll();
}

void TMainForm::ZoomAtPoint(TPoint P, double Factor) {
    if (ZoomCanvasAtPoint(fSymbolCanvas, P, Factor)) DrawSymbolFile();
}

bool TMainForm::FormMouseWheel(const QPointF& GlobalPos, int Delta) {
    if (PrintPreviewShown()) return false;
    // Events without a vertical turn (sideways scrolling, touchpad phase markers) are no step.
    if (Delta == 0) return false;
    const QPointF Local = PaintBoxMain->mapFromGlobal(GlobalPos);
    if (!QRectF(0, 0, PaintBoxMain->width(), PaintBoxMain->height()).contains(Local) ||
        Local.x() >= PaintBoxMain->width() || Local.y() >= PaintBoxMain->height())
        return false;
    if (fReverseMouseWheel) Delta = -Delta;
    ZoomAtPoint(DevicePoint(Local, PaintBoxPixelRatio()), Delta < 0 ? 1.5 : 0.5);
    return true;
}

void TMainForm::wheelEvent(QWheelEvent* Event) {
    if (FormMouseWheel(Event->globalPosition(), Event->angleDelta().y()))
        Event->accept();
    else
        QMainWindow::wheelEvent(Event);
}

void TMainForm::PaintBoxMainMouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Modifiers, TPoint P,
                                      bool Double) {
    fCursorPos = P;
    if (Button != Qt::LeftButton || (Modifiers & Qt::ShiftModifier) || Double) return;
    DeselectAll();
    SelectComponentsAtPoint(fSymbolFile, fSymbolCanvas, P, PickDistancePixels * PaintBoxPixelRatio());
    DrawSelectionMarks(sdmHighlight);
}

void TMainForm::PaintBoxMainMouseMove(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers, TPoint P) {
    const TPoint Delta(fCursorPos.X - P.X, fCursorPos.Y - P.Y);
    const bool Shift = Modifiers & Qt::ShiftModifier;
    if (((Buttons & Qt::MiddleButton) && !Shift) || (Shift && (Buttons & Qt::LeftButton))) {
        // Rendered for the view as it was before this move, so the picture and the view that
        // is drawn at the mouse-up stay in step.
        PreparePanBitmap(fCursorPos.X, fCursorPos.Y);
        fSymbolCanvas.fStart = {ClampToInt32(int64_t(fSymbolCanvas.fStart.X) - Delta.X),
                                ClampToInt32(int64_t(fSymbolCanvas.fStart.Y) - Delta.Y)};
        fSymbolCanvas.fPan = true;
        fPanPos = {P.X - fPanStart.X, P.Y - fPanStart.Y};
        PaintBoxMain->update();
    }
    if (Shift && (Buttons & Qt::RightButton)) ZoomAtPoint(P, Delta.Y < 0 ? 1.05 : 0.95);
    fCursorPos = P;
}

void TMainForm::PaintBoxMainMouseUp() {
    ResetPanBitmap();
    if (fSymbolCanvas.fPan) {
        fSymbolCanvas.fPan = false;
        DrawSymbolFile();
    }
}

void TMainForm::PaintBoxMainDblClick() {
    ZoomAll();
}

void TMainForm::PreparePanBitmap(int X, int Y) {
    if (!fPanBitmap.isNull()) return;
    const QSize Size = PaintBoxDeviceSize();
    const int W = Size.width(), H = Size.height();
    if (W <= 0 || H <= 0) return;
    QImage Bitmap(2 * W, 2 * H, QImage::Format_RGB32);
    if (Bitmap.isNull()) return;
    {
        TQtRasterSurface Surface(&Bitmap);
        TSymbolCanvas Canvas(&Surface);
        SetupPanCanvas(fSymbolCanvas, Canvas, W, H, X, Y);
        Canvas.ClearCanvas();
        fSymbolFile.Symbol().Draw(Canvas, sdmNormal, true, &fSymbolFile.TextStyleList());
    }
    fPanBitmap = std::move(Bitmap);
    fPanStart = {W, H};
}

void TMainForm::ResetPanBitmap() {
    fPanBitmap = QImage();
}

bool TMainForm::FormKeyDown(int Key, Qt::KeyboardModifiers Modifiers) {
    if (PrintPreviewShown()) return false;
    const Qt::KeyboardModifiers Mods = Modifiers & ~Qt::KeypadModifier;
    const bool Enter = Key == Qt::Key_Return || Key == Qt::Key_Enter;
    if (Key == Qt::Key_Escape && Mods == Qt::NoModifier) {
        DeselectAll();
    } else if (Key == Qt::Key_Home && Mods == Qt::NoModifier) {
        ViewZoomAllAction->trigger();
    } else if (Enter && (Mods == Qt::AltModifier || Mods == Qt::ShiftModifier)) {
        // The action is disabled when nothing is selected; trigger() then does nothing.
        PropertiesAction->trigger();
    } else {
        return false;
    }
    return true;
}

void TMainForm::keyPressEvent(QKeyEvent* Event) {
    if (!FormKeyDown(Event->key(), Event->modifiers())) QMainWindow::keyPressEvent(Event);
}

void TMainForm::SetColors() {
    fSymbolCanvas.fCanvasColors = fBlackBackground ? SymbolCanvasColorsBlack() : SymbolCanvasColorsWhite();
    const QColor Background = ToQColor(fSymbolCanvas.DrawColor(dcBackground));
    for (QWidget* Panel : {static_cast<QWidget*>(PanelBackGround), PanelPaintBox}) {
        QPalette Palette = Panel->palette();
        Palette.setColor(QPalette::Window, Background);
        Panel->setPalette(Palette);
    }
    DrawSymbolFile();
}
