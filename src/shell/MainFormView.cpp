// The main window's view: paint, zoom, pan, selection and the display options.
#include "shell/MainForm.h"

#include "components/SymbolObjectSymbol.h"
#include "document/DrawingView.h"
#include "qt/QtRasterSurface.h"
#include "shell/PaintBox.h"
#include "shell/SheetNavigator.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFrame>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QWheelEvent>
#include <cmath>

namespace {

// The canvas draws on a surface only while one exists; this lends it one for a scope.
class TLendSurface {
public:
    TLendSurface(TSymbolCanvas& canvas, TRasterSurface* surface)
        : fCanvas(canvas), fPrevious(canvas.fCanvas) {
        canvas.fCanvas = surface;
    }
    ~TLendSurface() { fCanvas.fCanvas = fPrevious; }
    TLendSurface(const TLendSurface&) = delete;
    TLendSurface& operator=(const TLendSurface&) = delete;

private:
    TSymbolCanvas& fCanvas;
    TRasterSurface* fPrevious;
};

QColor ToQColor(TColor c) {
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

TPoint DevicePoint(const QPointF& logical, double ratio) {
    return {int(std::lround(logical.x() * ratio)), int(std::lround(logical.y() * ratio))};
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Paint box

TPaintBox::TPaintBox(TMainForm& form, QWidget* parent) : QWidget(parent), fForm(form) {
    // Everything is drawn from the off-screen picture: nothing to erase first, nothing to flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TPaintBox::paintEvent(QPaintEvent*) {
    if (fForm.fViewImage.size() != fForm.PaintBoxDeviceSize()) fForm.PaintBoxMainPaint();
    QPainter painter(this);
    const double ratio = fForm.PaintBoxPixelRatio();
    if (!fForm.fPanBitmap.isNull()) {
        painter.fillRect(rect(), ToQColor(fForm.fSymbolCanvas.DrawColor(dcBackground)));
        QImage pan = fForm.fPanBitmap;
        pan.setDevicePixelRatio(ratio);
        painter.drawImage(QPointF(fForm.fPanPos.X / ratio, fForm.fPanPos.Y / ratio), pan);
        return;
    }
    QImage view = fForm.fViewImage;
    view.setDevicePixelRatio(ratio);
    painter.drawImage(QPointF(0, 0), view);
}

void TPaintBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        fRightClickPending = !(event->modifiers() & Qt::ShiftModifier);
        fRightPressPos = event->position().toPoint();
    }
    fForm.PaintBoxMainMouseDown(event->button(), event->modifiers(),
                                DevicePoint(event->position(), fForm.PaintBoxPixelRatio()), false);
}

void TPaintBox::mouseDoubleClickEvent(QMouseEvent* event) {
    fForm.PaintBoxMainMouseDown(event->button(), event->modifiers(),
                                DevicePoint(event->position(), fForm.PaintBoxPixelRatio()), true);
    if (event->button() == Qt::LeftButton) fForm.PaintBoxMainDblClick();
}

void TPaintBox::mouseMoveEvent(QMouseEvent* event) {
    if (fRightClickPending &&
        (event->position().toPoint() - fRightPressPos).manhattanLength() >= QApplication::startDragDistance())
        fRightClickPending = false;
    fForm.PaintBoxMainMouseMove(event->buttons(), event->modifiers(),
                                DevicePoint(event->position(), fForm.PaintBoxPixelRatio()));
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* event) {
    fForm.PaintBoxMainMouseUp();
    // The menu opens on the release of a plain right click, never on the press that may start
    // a Shift+right-drag zoom.
    if (event->button() == Qt::RightButton && fRightClickPending) {
        fRightClickPending = false;
        fForm.PopupMenuPaintBox->popup(event->globalPosition().toPoint());
    }
}

void TPaintBox::contextMenuEvent(QContextMenuEvent* event) {
    // Mouse requests arrive on the press on some platforms; the release above answers them.
    if (event->reason() != QContextMenuEvent::Mouse) fForm.PopupMenuPaintBox->popup(event->globalPos());
    event->accept();
}

void TPaintBox::wheelEvent(QWheelEvent* event) {
    if (fForm.FormMouseWheel(event->globalPosition(), event->angleDelta().y()))
        event->accept();
    else
        event->ignore();
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
    const double ratio = PaintBoxPixelRatio();
    return {int(std::lround(PaintBoxMain->width() * ratio)),
            int(std::lround(PaintBoxMain->height() * ratio))};
}

void TMainForm::SetSymbolCanvasDPI() {
    fSymbolCanvas.SetDPI(int(std::lround(PaintBoxMain->logicalDpiX() * PaintBoxPixelRatio())));
}

QImage TMainForm::ViewImage() const {
    if (fPanBitmap.isNull()) return fViewImage;
    QImage frame(fViewImage.size(), QImage::Format_RGB32);
    frame.fill(ToQColor(fSymbolCanvas.DrawColor(dcBackground)));
    QPainter painter(&frame);
    painter.drawImage(QPoint(fPanPos.X, fPanPos.Y), fPanBitmap);
    return frame;
}

void TMainForm::PaintBoxMainPaint() {
    DrawSymbolFile();
}

void TMainForm::DrawSymbolFile() {
    const QSize size = PaintBoxDeviceSize();
    fSymbolCanvas.fSize = {size.width(), size.height()};
    if (fViewImage.size() != size) fViewImage = QImage(size, QImage::Format_RGB32);
    if (!fViewImage.isNull()) {
        TQtRasterSurface surface(&fViewImage);
        TLendSurface lend(fSymbolCanvas, &surface);
        PaintDrawing(fSymbolFile, fSymbolCanvas);
    }
    UpdateButtons();
    PaintBoxMain->update();
}

void TMainForm::DrawSelectionMarks(TSymbolDrawMode mode) {
    if (!fViewImage.isNull() && fViewImage.size() == PaintBoxDeviceSize()) {
        TQtRasterSurface surface(&fViewImage);
        TLendSurface lend(fSymbolCanvas, &surface);
        PaintSelection(fSymbolFile, fSymbolCanvas, mode);
        PaintBoxMain->update();
    }
    UpdateButtons();
}

void TMainForm::DeselectAll() {
    DrawSelectionMarks(sdmNormal);
    ClearDrawingSelection(fSymbolFile);
    UpdateButtons();
}

void TMainForm::ZoomAll() {
    const QSize size = PaintBoxDeviceSize();
    fSymbolCanvas.fSize = {size.width(), size.height()};
    // While one sheet is shown, the whole drawing is that sheet.
    const bool zoomed = fShownSheet == TSheetNavigator::AllSheets
                            ? ZoomCanvasToDrawing(fSymbolFile, fSymbolCanvas)
                            : ZoomCanvasToSheet(fSymbolFile, fSymbolCanvas, fShownSheet);
    if (zoomed) DrawSymbolFile();
}

void TMainForm::ShowSheet(int32_t sheetIndex) {
    if (sheetIndex == TSheetNavigator::AllSheets || !fSymbolFile.HideObjectsNotInSheet(sheetIndex)) {
        sheetIndex = TSheetNavigator::AllSheets;
        fSymbolFile.Symbol().SetTemporaryHidden(0);
        fSymbolFile.Symbol().ClearSelection();
    }
    fShownSheet = sheetIndex;
    ZoomAll();
    UpdateButtons();
}

void TMainForm::ViewZoomAllActionExecute() {
    ZoomAll();
}

void TMainForm::ZoomAtPoint(TPoint p, double factor) {
    if (ZoomCanvasAtPoint(fSymbolCanvas, p, factor)) DrawSymbolFile();
}

void TMainForm::PanByTenth(int dx, int dy) {
    // Arrow keys move the view over the drawing, so the drawing moves the other way.
    const QSize size = PaintBoxDeviceSize();
    fSymbolCanvas.fStart = {ClampToInt32(int64_t(fSymbolCanvas.fStart.X) - int64_t(dx) * size.width() / 10),
                            ClampToInt32(int64_t(fSymbolCanvas.fStart.Y) - int64_t(dy) * size.height() / 10)};
    DrawSymbolFile();
}

bool TMainForm::FormMouseWheel(const QPointF& globalPos, int delta) {
    if (PrintPreviewShown()) return false;
    // Events without a vertical turn (sideways scrolling, touchpad phase markers) are no step.
    if (delta == 0) return false;
    const QPointF local = PaintBoxMain->mapFromGlobal(globalPos);
    if (!QRectF(0, 0, PaintBoxMain->width(), PaintBoxMain->height()).contains(local) ||
        local.x() >= PaintBoxMain->width() || local.y() >= PaintBoxMain->height())
        return false;
    if (fReverseMouseWheel) delta = -delta;
    // Touchpads and high-resolution wheels send many small turns: they add up, and each whole
    // notch (120) is one zoom step, so a touchpad does not zoom at every tiny event. A turn the
    // other way starts afresh.
    if ((delta < 0) != (fWheelRemainder < 0)) fWheelRemainder = 0;
    fWheelRemainder += delta;
    const TPoint at = DevicePoint(local, PaintBoxPixelRatio());
    for (; fWheelRemainder <= -WheelNotch; fWheelRemainder += WheelNotch)
        ZoomAtPoint(at, 1.5);
    for (; fWheelRemainder >= WheelNotch; fWheelRemainder -= WheelNotch)
        ZoomAtPoint(at, 0.5);
    return true;
}

void TMainForm::wheelEvent(QWheelEvent* event) {
    if (FormMouseWheel(event->globalPosition(), event->angleDelta().y()))
        event->accept();
    else
        QMainWindow::wheelEvent(event);
}

void TMainForm::PaintBoxMainMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, TPoint p,
                                      bool doubleClick) {
    fCursorPos = p;
    if (button != Qt::LeftButton || (modifiers & Qt::ShiftModifier) || doubleClick) return;
    DeselectAll();
    SelectComponentsAtPoint(fSymbolFile, fSymbolCanvas, p, PickDistancePixels * PaintBoxPixelRatio());
    DrawSelectionMarks(sdmHighlight);
}

void TMainForm::PaintBoxMainMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, TPoint p) {
    const TPoint delta(fCursorPos.X - p.X, fCursorPos.Y - p.Y);
    const bool shift = modifiers & Qt::ShiftModifier;
    if (((buttons & Qt::MiddleButton) && !shift) || (shift && (buttons & Qt::LeftButton))) {
        // Rendered for the view as it was before this move, so the picture and the view that
        // is drawn at the mouse-up stay in step.
        PreparePanBitmap(fCursorPos.X, fCursorPos.Y);
        fSymbolCanvas.fStart = {ClampToInt32(int64_t(fSymbolCanvas.fStart.X) - delta.X),
                                ClampToInt32(int64_t(fSymbolCanvas.fStart.Y) - delta.Y)};
        fSymbolCanvas.fPan = true;
        fPanPos = {p.X - fPanStart.X, p.Y - fPanStart.Y};
        PaintBoxMain->update();
    }
    if (shift && (buttons & Qt::RightButton)) ZoomAtPoint(p, delta.Y < 0 ? 1.05 : 0.95);
    fCursorPos = p;
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

void TMainForm::PreparePanBitmap(int x, int y) {
    if (!fPanBitmap.isNull()) return;
    const QSize size = PaintBoxDeviceSize();
    const int w = size.width(), h = size.height();
    if (w <= 0 || h <= 0) return;
    QImage bitmap(2 * w, 2 * h, QImage::Format_RGB32);
    if (bitmap.isNull()) return;
    {
        TQtRasterSurface surface(&bitmap);
        TSymbolCanvas canvas(&surface);
        SetupPanCanvas(fSymbolCanvas, canvas, w, h, x, y);
        canvas.ClearCanvas();
        fSymbolFile.Symbol().Draw(canvas, sdmNormal, true, &fSymbolFile.TextStyleList());
    }
    fPanBitmap = std::move(bitmap);
    fPanStart = {w, h};
}

void TMainForm::ResetPanBitmap() {
    fPanBitmap = QImage();
}

bool TMainForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (PrintPreviewShown()) return false;
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        DeselectAll();
    } else if (key == Qt::Key_Home && mods == Qt::NoModifier) {
        ViewZoomAllAction->trigger();
    } else if ((key == Qt::Key_PageUp || key == Qt::Key_PageDown) && mods == Qt::NoModifier) {
        // Without sheets, or at either end of the list, the key does nothing.
        fSheetNavigator->Step(key == Qt::Key_PageDown ? 1 : -1);
    } else if ((key == Qt::Key_Plus || key == Qt::Key_Minus) &&
               (mods & ~Qt::ShiftModifier) == Qt::NoModifier) {
        // "+" needs Shift on many keyboards; the keypad sends it without.
        const QSize size = PaintBoxDeviceSize();
        ZoomAtPoint({size.width() / 2, size.height() / 2}, key == Qt::Key_Plus ? 1.5 : 0.5);
    } else if ((key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down) &&
               mods == Qt::NoModifier) {
        PanByTenth(key == Qt::Key_Left    ? -1
                   : key == Qt::Key_Right ? 1
                                          : 0,
                   key == Qt::Key_Up     ? -1
                   : key == Qt::Key_Down ? 1
                                         : 0);
    } else if (enter && (mods == Qt::AltModifier || mods == Qt::ShiftModifier)) {
        // The action is disabled when nothing is selected, and hidden while not built; either way
        // the key does nothing then.
        if (PropertiesAction->isVisible()) PropertiesAction->trigger();
    } else {
        return false;
    }
    return true;
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(event->key(), event->modifiers())) QMainWindow::keyPressEvent(event);
}

void TMainForm::SetColors() {
    fSymbolCanvas.fCanvasColors = fBlackBackground ? SymbolCanvasColorsBlack() : SymbolCanvasColorsWhite();
    const QColor background = ToQColor(fSymbolCanvas.DrawColor(dcBackground));
    for (QWidget* panel : {static_cast<QWidget*>(PanelBackGround), PanelPaintBox}) {
        QPalette palette = panel->palette();
        palette.setColor(QPalette::Window, background);
        panel->setPalette(palette);
    }
    DrawSymbolFile();
}
