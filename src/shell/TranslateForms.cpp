#include "shell/TranslateForms.h"

#include "platform/QUAVGlobs.h"

#include <cmath>

int ToDPI(const QWidget* form, int p) {
    const int dpi = form ? form->logicalDpiX() : 96;
    // Rounded as a multiply-then-divide with the halves away from zero.
    return static_cast<int>(std::lround(static_cast<double>(p) * dpi / 96.0));
}

TTranslateForm::TTranslateForm(QWidget* parent, const QString& formName) : QDialog(parent) {
    setObjectName(formName);
    const TWindowToFullScreen mode = formName.toUpper().contains(QStringLiteral("MAINFORM"))
                                         ? TWindowToFullScreen::FullScreen
                                         : TWindowToFullScreen::NoFullScreen;
    fSaveWindow = std::make_unique<TSaveWindowNew>(IniFileName(), mode, this);
}

TTranslateForm::~TTranslateForm() {
    // Stores the place while the form is still whole.
    fSaveWindow.reset();
}

std::string TTranslateForm::IniFileName() {
    return GetWindowPosIniFileName();
}

std::string TTranslateForm::IniFileSection() const {
    return objectName().toStdString();
}
