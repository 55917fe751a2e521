#pragma once
// The main window's drawing surface: it shows the picture the window rendered off-screen and
// hands every mouse event on, in device pixels, so the drawing follows the screen's scale.
#include <QWidget>

class TMainForm;

class TPaintBox : public QWidget {
public:
    TPaintBox(TMainForm& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    TMainForm& fForm;
    // A right button press that may end as a click: no Shift (Shift+right-drag zooms) and no
    // move beyond the drag distance since the press.
    bool fRightClickPending = false;
    QPoint fRightPressPos;
};
