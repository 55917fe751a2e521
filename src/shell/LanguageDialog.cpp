#include "shell/LanguageDialog.h"

#include "base/Translate.h"
#include "platform/IniFiles.h"
#include "qt/QtTranslate.h"
#include "shell/TranslateForms.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdio>

namespace {
const char Section[] = "Main";
const char Key[] = "Language";
} // namespace

TLanguageDlg::TLanguageDlg(QWidget* parent, std::string localeFolder)
    : QDialog(parent), fIniFileName(GetIniFileName()) {
    setObjectName(QStringLiteral("LanguageDlg"));
    // Shown before any language is chosen, so it stays as it is.
    setWindowTitle(QStringLiteral("Select language:"));
    auto* layout = new QVBoxLayout(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    for (const std::string& code : CatalogLanguages(localeFolder))
        ListBox1->addItem(QString::fromStdString(code));
    layout->addWidget(ListBox1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    resize(ToDPI(this, 260), ToDPI(this, 240));
}

bool TLanguageDlg::LanguageIsSet(const std::string& iniFileName) {
    return TIniFile(iniFileName).ValueExists(Section, Key);
}

std::string TLanguageDlg::GetLanguageFromIni(const std::string& iniFileName) {
    const std::string code = TIniFile(iniFileName).ReadString(Section, Key, "");
    return code.empty() ? std::string(BuiltInLanguage) : code;
}

bool TLanguageDlg::SetLanguageToIni(const std::string& language, const std::string& iniFileName,
                                    std::string* errorText) {
    TIniFile ini(iniFileName);
    ini.WriteString(Section, Key, language == BuiltInLanguage ? std::string() : language);
    return ini.UpdateFile(errorText);
}

std::string TLanguageDlg::LanguageCode() const {
    const QListWidgetItem* item = ListBox1->currentItem();
    return item ? item->text().toStdString() : std::string(BuiltInLanguage);
}

void TLanguageDlg::showEvent(QShowEvent* event) {
    if (fLanguageCode.empty()) fLanguageCode = CurrentLanguage();
    const auto found = ListBox1->findItems(QString::fromStdString(fLanguageCode), Qt::MatchExactly);
    ListBox1->setCurrentRow(found.isEmpty() ? 0 : ListBox1->row(found.first()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TLanguageDlg::accept() {
    std::string error;
    if (!SetLanguageToIni(LanguageCode(), fIniFileName, &error))
        std::fprintf(stderr, "korvane-viewer: %s\n", error.c_str());
    QDialog::accept();
}

bool TLanguageDlg::Execute() {
    const std::string stored = GetLanguageFromIni(fIniFileName);
    fLanguageCode = stored;
    if (exec() != QDialog::Accepted) return false;
    return LanguageCode() != stored;
}

void ApplyStoredLanguage(bool askWhenUnset) {
    if (askWhenUnset && !TLanguageDlg::LanguageIsSet()) {
        TLanguageDlg dialog;
        dialog.exec();
    }
    UseLanguage(GetLocaleFolder(), TLanguageDlg::GetLanguageFromIni());
}
