#include "shell/AboutBox.h"

#include "platform/QUAVGlobs.h"
#include "qt/QtTranslate.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <cstring>
#include <png.h>

QImage DecodePngLogo(const QByteArray& Bytes) {
    png_image Image;
    std::memset(&Image, 0, sizeof Image);
    Image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&Image, Bytes.constData(), size_t(Bytes.size()))) return {};
    Image.format = PNG_FORMAT_RGBA;
    // A logo is a few hundred pixels a side; anything huge is not ours and would only eat memory.
    if (Image.width == 0 || Image.height == 0 || Image.width > 8192 || Image.height > 8192) {
        png_image_free(&Image);
        return {};
    }
    QImage Result(int(Image.width), int(Image.height), QImage::Format_RGBA8888);
    if (Result.isNull() ||
        !png_image_finish_read(&Image, nullptr, Result.bits(), png_int_32(Result.bytesPerLine()), nullptr)) {
        png_image_free(&Image);
        return {};
    }
    return Result;
}

std::string LogoResolutionBucket(int PixelsPerInch) {
    for (const int Bucket : {288, 240, 192, 168, 144, 120})
        if (Bucket <= PixelsPerInch) return std::to_string(Bucket);
    return "096";
}

QImage LoadMainLogo(int PixelsPerInch) {
    const QString Name = QStringLiteral(":/logo/MAINLOGO_") +
                         QString::fromStdString(LogoResolutionBucket(PixelsPerInch)) + QStringLiteral(".png");
    QFile File(Name);
    if (File.open(QIODevice::ReadOnly)) {
        QImage Logo = DecodePngLogo(File.readAll());
        if (!Logo.isNull()) return Logo;
    }
    const double Scale = PixelsPerInch > 0 ? PixelsPerInch / 96.0 : 1.0;
    QImage Blank(int(650 * Scale + 0.5), int(350 * Scale + 0.5), QImage::Format_RGB32);
    Blank.fill(Qt::white);
    return Blank;
}

namespace {
int FormPixelsPerInch(const QWidget* Form) {
    const double Ratio = Form->devicePixelRatioF();
    return int(Form->logicalDpiX() * Ratio + 0.5);
}
} // namespace

TAboutDlg::TAboutDlg(QWidget* Parent) : QDialog(Parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(qtr("About..."));
    fVersionLabel = new QLabel(QString::fromStdString(GetProgramVersionText()), this);
    fVersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    fViewerLabel = new QLabel(qtr("Viewer"), this);
    fViewerLabel->setObjectName(QStringLiteral("ViewerLabel"));
    fViewerLabel->setVisible(IsViewer);
    QFont Big = fViewerLabel->font();
    Big.setPixelSize(28);
    Big.setBold(true);
    fViewerLabel->setFont(Big);
    fCloseButton = new QPushButton(QStringLiteral("X"), this);
    fCloseButton->setObjectName(QStringLiteral("CloseButton"));
    fCloseButton->setFlat(true);
    fCloseButton->setFixedSize(24, 24);
    connect(fCloseButton, &QPushButton::clicked, this, &QDialog::reject);
    // Escape closes through QDialog::reject already.
}

void TAboutDlg::showEvent(QShowEvent* Event) {
    // The screen, and so the resolution, is known only once the box is about to show.
    const int PixelsPerInch = FormPixelsPerInch(this);
    const double Ratio = devicePixelRatioF();
    fLogo = LoadMainLogo(PixelsPerInch);
    fLogo.setDevicePixelRatio(Ratio);
    const QSize Size = (QSizeF(fLogo.size()) / Ratio).toSize();
    setFixedSize(Size);
    // Distances are given at 96 pixels per inch; logical pixels already are.
    fVersionLabel->adjustSize();
    fVersionLabel->move(Size.width() - 8 - fVersionLabel->width(),
                        Size.height() - 4 - fVersionLabel->height());
    fViewerLabel->adjustSize();
    fViewerLabel->move(480, 150);
    fCloseButton->move(Size.width() - 4 - fCloseButton->width(), 4);
    if (parentWidget()) {
        move(parentWidget()->geometry().center() - QPoint(Size.width() / 2, Size.height() / 2));
    } else if (const QScreen* Screen = screen()) {
        move(Screen->availableGeometry().center() - QPoint(Size.width() / 2, Size.height() / 2));
    }
    QDialog::showEvent(Event);
}

void TAboutDlg::paintEvent(QPaintEvent*) {
    QPainter Painter(this);
    Painter.drawImage(QPoint(0, 0), fLogo);
}
