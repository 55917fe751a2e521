#pragma once
// The main window's drawing surface: it shows the picture the window rendered off-screen and
// hands every mouse event on, in device pixels, so the drawing follows the screen's scale.
#include <QWidget>

class TMainForm;

class TPaintBox : public QWidget {
public:
    TPaintBox(TMainForm& Form, QWidget* Parent);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;

private:
    TMainForm& fForm;
};
