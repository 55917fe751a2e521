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

QImage DecodePngLogo(const QByteArray& bytes) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.constData(), size_t(bytes.size()))) return {};
    image.format = PNG_FORMAT_RGBA;
    // A logo is a few hundred pixels a side; anything huge is not ours and would only eat memory.
    if (image.width == 0 || image.height == 0 || image.width > 8192 || image.height > 8192) {
        png_image_free(&image);
        return {};
    }
    QImage result(int(image.width), int(image.height), QImage::Format_RGBA8888);
    if (result.isNull() ||
        !png_image_finish_read(&image, nullptr, result.bits(), png_int_32(result.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return {};
    }
    return result;
}

std::string LogoResolutionBucket(int pixelsPerInch) {
    for (const int bucket : {288, 240, 192, 168, 144, 120})
        if (bucket <= pixelsPerInch) return std::to_string(bucket);
    return "096";
}

QImage LoadMainLogo(int pixelsPerInch) {
    const QString name = QStringLiteral(":/logo/MAINLOGO_") +
                         QString::fromStdString(LogoResolutionBucket(pixelsPerInch)) + QStringLiteral(".png");
    QFile file(name);
    if (file.open(QIODevice::ReadOnly)) {
        QImage logo = DecodePngLogo(file.readAll());
        if (!logo.isNull()) return logo;
    }
    const double scale = pixelsPerInch > 0 ? pixelsPerInch / 96.0 : 1.0;
    QImage blank(int(650 * scale + 0.5), int(350 * scale + 0.5), QImage::Format_RGB32);
    blank.fill(Qt::white);
    return blank;
}

namespace {
int FormPixelsPerInch(const QWidget* form) {
    const double ratio = form->devicePixelRatioF();
    return int(form->logicalDpiX() * ratio + 0.5);
}
} // namespace

TAboutDlg::TAboutDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("AboutDlg"));
    setWindowTitle(qtr("About..."));
    fVersionLabel = new QLabel(QString::fromStdString(GetProgramVersionText()), this);
    fVersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    fViewerLabel = new QLabel(qtr("Viewer"), this);
    fViewerLabel->setObjectName(QStringLiteral("ViewerLabel"));
    fViewerLabel->setVisible(IsViewer);
    QFont big = fViewerLabel->font();
    big.setPixelSize(28);
    big.setBold(true);
    fViewerLabel->setFont(big);
    fCloseButton = new QPushButton(QStringLiteral("X"), this);
    fCloseButton->setObjectName(QStringLiteral("CloseButton"));
    fCloseButton->setFlat(true);
    fCloseButton->setFixedSize(24, 24);
    connect(fCloseButton, &QPushButton::clicked, this, &QDialog::reject);
    // Escape closes through QDialog::reject already.
}

void TAboutDlg::showEvent(QShowEvent* event) {
    // The screen, and so the resolution, is known only once the box is about to show.
    const int pixelsPerInch = FormPixelsPerInch(this);
    const double ratio = devicePixelRatioF();
    fLogo = LoadMainLogo(pixelsPerInch);
    fLogo.setDevicePixelRatio(ratio);
    const QSize size = (QSizeF(fLogo.size()) / ratio).toSize();
    setFixedSize(size);
    // Distances are given at 96 pixels per inch; logical pixels already are.
    fVersionLabel->adjustSize();
    fVersionLabel->move(size.width() - 8 - fVersionLabel->width(),
                        size.height() - 4 - fVersionLabel->height());
    fViewerLabel->adjustSize();
    fViewerLabel->move(480, 150);
    fCloseButton->move(size.width() - 4 - fCloseButton->width(), 4);
    if (parentWidget()) {
        move(parentWidget()->geometry().center() - QPoint(size.width() / 2, size.height() / 2));
    } else if (const QScreen* current = screen()) {
        move(current->availableGeometry().center() - QPoint(size.width() / 2, size.height() / 2));
    }
    QDialog::showEvent(event);
}

void TAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), fLogo);
}
