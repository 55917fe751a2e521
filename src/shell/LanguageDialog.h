#pragma once
// The language of the viewer's texts: asked once, at the first start, stored in the settings file
// and applied at each start before any window exists. It never changes while the program runs;
// "Language..." stores a new choice for the next start.
#include <QDialog>
#include <string>

#include "platform/QUAVGlobs.h"

class QListWidget;

class TLanguageDlg : public QDialog {
    Q_OBJECT
public:
    // Lists "en" and the languages with a catalog below LocaleFolder.
    explicit TLanguageDlg(QWidget* parent = nullptr, std::string localeFolder = GetLocaleFolder());

    // Whether a language was ever stored (an empty value counts: it is English).
    static bool LanguageIsSet(const std::string& iniFileName = GetIniFileName());
    // The stored code; "en" when empty or missing.
    static std::string GetLanguageFromIni(const std::string& iniFileName = GetIniFileName());
    // Stores Language ("en" as an empty value). False, with ErrorText, when the file cannot be written.
    static bool SetLanguageToIni(const std::string& language,
                                 const std::string& iniFileName = GetIniFileName(),
                                 std::string* errorText = nullptr);

    // Shows the dialog preselecting the stored language; true when the user confirmed another one.
    bool Execute();
    // The selected entry of the list.
    std::string LanguageCode() const;

    QListWidget* ListBox1 = nullptr;

    // OK: stores the selected code.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::string fLanguageCode;
    std::string fIniFileName;
};

// Program start, before the first window: when no language is stored yet and AskWhenUnset is true,
// asks for one (a QApplication must exist); then switches to the stored language. Without a catalog
// for it the texts stay English.
void ApplyStoredLanguage(bool askWhenUnset);
