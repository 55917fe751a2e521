#pragma once
// The About box: the program's logo with the version text, the "Viewer" label and a close button.
#include <QDialog>
#include <QImage>
#include <string>

class QLabel;
class QPushButton;

// Decodes PNG bytes with libpng; a null image when they are not a readable PNG.
QImage DecodePngLogo(const QByteArray& bytes);

// Resolution bucket of the logo for a form of PixelsPerInch: the highest of 288, 240, 192, 168,
// 144, 120 not above it, else 96; as the three-digit suffix of the resource name.
std::string LogoResolutionBucket(int pixelsPerInch);

// The logo for a form of PixelsPerInch: the resource "MAINLOGO_" + bucket, or, when it is
// missing or unreadable, a blank 650 x 350 picture scaled from 96 pixels per inch.
QImage LoadMainLogo(int pixelsPerInch);

class TAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAboutDlg(QWidget* parent = nullptr);

    QLabel* VersionLabel() const { return fVersionLabel; }
    QLabel* ViewerLabel() const { return fViewerLabel; }
    QPushButton* CloseButton() const { return fCloseButton; }
    const QImage& Logo() const { return fLogo; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QImage fLogo;
    QLabel* fVersionLabel;
    QLabel* fViewerLabel;
    QPushButton* fCloseButton;
};
