// The language: asked at the first start, stored in the settings file, applied before the first
// window. And every text the windows show is in the catalog template, so none can be left out of
// a translation unnoticed.
#include "shell/LanguageDialog.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <QTreeWidget>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <regex>
#include <set>

#include "base/Translate.h"
#include "model/BOM.h"
#include "objects/SheetObjects.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"
#include "qt/QtTranslate.h"
#include "shell/AboutBox.h"
#include "shell/MainForm.h"
#include "shell/PropertiesDialogs.h"
#include "shell/ProxyServerSettingsDialog.h"
#include "support/Records.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;

namespace {

class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { UseLanguage("", BuiltInLanguage); }

    // Runs Dialog's Execute, doing Act while it is shown; returns Execute's result.
    static bool ExecuteWith(TLanguageDlg& dialog, const std::function<void(TLanguageDlg&)>& act) {
        QTimer::singleShot(0, &dialog, [&] { act(dialog); });
        return dialog.Execute();
    }
    static void Choose(TLanguageDlg& dialog, const char* code) {
        const auto items = dialog.ListBox1->findItems(QString::fromLatin1(code), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << code;
        dialog.ListBox1->setCurrentItem(items.first());
        dialog.accept();
    }
    static std::vector<std::string> Listed(const TLanguageDlg& dialog) {
        std::vector<std::string> codes;
        for (int i = 0; i < dialog.ListBox1->count(); ++i)
            codes.push_back(dialog.ListBox1->item(i)->text().toStdString());
        return codes;
    }
};

TEST_F(LanguageTest, FirstStartListsTheCatalogsAndOnlyConfirmingStoresAChoice) {
    EXPECT_FALSE(TLanguageDlg::LanguageIsSet());
    EXPECT_EQ(TLanguageDlg::GetLanguageFromIni(), "en");
    TLanguageDlg built(nullptr, KORVANE_BUILD_LOCALE_DIR);
    EXPECT_THAT(Listed(built), ElementsAre("en", "de", "fr"));

    // No catalogs installed: English alone. Cancelling stores nothing, so the next start asks again.
    TTempDir noCatalogs;
    TLanguageDlg dialog(nullptr, noCatalogs.Path().string());
    EXPECT_THAT(Listed(dialog), ElementsAre("en"));
    EXPECT_FALSE(ExecuteWith(dialog, [](TLanguageDlg& d) { d.reject(); }));
    EXPECT_FALSE(TLanguageDlg::LanguageIsSet());
    EXPECT_FALSE(fs::exists(GetIniFileName()));

    // Confirming English stores it as an empty value, and that counts as chosen.
    EXPECT_FALSE(ExecuteWith(dialog, [](TLanguageDlg& d) { Choose(d, "en"); }));
    EXPECT_TRUE(TLanguageDlg::LanguageIsSet());
    EXPECT_EQ(TLanguageDlg::GetLanguageFromIni(), "en");
    EXPECT_NE(ReadWholeFile(GetIniFileName()).find("[Main]\nLanguage=\n"), std::string::npos)
        << ReadWholeFile(GetIniFileName());
}

TEST_F(LanguageTest, ExecutePreselectsTheStoredLanguageAndTellsWhetherItChanged) {
    ASSERT_TRUE(TLanguageDlg::SetLanguageToIni("de"));
    TLanguageDlg dialog(nullptr, KORVANE_BUILD_LOCALE_DIR);
    std::string preselected;
    EXPECT_FALSE(ExecuteWith(dialog, [&](TLanguageDlg& d) {
        preselected = d.LanguageCode();
        d.accept();
    }));
    EXPECT_EQ(preselected, "de");
    EXPECT_TRUE(ExecuteWith(dialog, [](TLanguageDlg& d) { Choose(d, "fr"); }));
    EXPECT_EQ(TLanguageDlg::GetLanguageFromIni(), "fr");
    // The other settings of the file stay as they were.
    TLanguageDlg::SetLanguageToIni("de");
    std::ofstream(GetIniFileName(), std::ios::app) << "BlackBackground=1\n";
    EXPECT_TRUE(ExecuteWith(dialog, [](TLanguageDlg& d) { Choose(d, "en"); }));
    EXPECT_NE(ReadWholeFile(GetIniFileName()).find("BlackBackground=1"), std::string::npos);
}

TEST_F(LanguageTest, AStoredLanguageWhoseCatalogWasRemovedRunsUntranslated) {
    ASSERT_TRUE(TLanguageDlg::SetLanguageToIni("pt_br"));
    ApplyStoredLanguage(false);
    EXPECT_EQ(CurrentLanguage(), "en");
    EXPECT_EQ(_("Open File"), "Open File");
    TLanguageDlg dialog(nullptr, KORVANE_BUILD_LOCALE_DIR);
    std::string preselected;
    ExecuteWith(dialog, [&](TLanguageDlg& d) {
        preselected = d.LanguageCode();
        d.reject();
    });
    EXPECT_EQ(preselected, "en");
    EXPECT_EQ(TLanguageDlg::GetLanguageFromIni(), "pt_br") << "cancelled: the stored choice stays";
}

TEST_F(LanguageTest, GermanWindowMenusDialogsAndMessages) {
    ASSERT_TRUE(UseLanguage(KORVANE_BUILD_LOCALE_DIR, "de"));
    TRecordingMessageBoxes boxes;
    TScopedMessageBoxes useBoxes(boxes);
    TMainForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();

    QStringList menus;
    for (QAction* a : form.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"Datei", "Ändern", "Ansicht", "Optionen", "Hilfe"}));
    EXPECT_EQ(form.FileOpenAction->text(), QStringLiteral("Datei öffnen"));
    EXPECT_EQ(form.OptionsLanguageAction->text(), QStringLiteral("Sprache..."));

    TProxyServerSettingsDlg proxy(&form);
    EXPECT_EQ(proxy.windowTitle(), QStringLiteral("Proxyserver-Einstellungen"));
    EXPECT_EQ(proxy.CheckBoxBasicAuthentication->text(), QStringLiteral("Basic-Authentifizierung"));

    form.OpenDocumentFile("/nonexistent/plan.kdf");
    ASSERT_EQ(boxes.Messages.size(), 1u);
    EXPECT_THAT(boxes.Messages[0].Text, ::testing::HasSubstr("existiert nicht"));

    // Qt's own buttons and dialogs follow, from Qt's translations.
    std::unique_ptr<QTranslator> qtTexts(InstallQtOwnTranslations(*qApp));
    ASSERT_NE(qtTexts, nullptr) << "Qt's German translations are not installed";
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
    QCoreApplication::removeTranslator(qtTexts.get());
}

// ---------------------------------------------------------------------------------------------
// Every text on the screen comes from the template

std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::set<std::string> TemplateTexts() {
    std::ifstream in(KORVANE_PO_DIR "/default.pot");
    std::set<std::string> ids;
    std::string line, id;
    bool inId = false;
    const std::regex quoted("^(?:msgid )?\"(.*)\"$");
    while (std::getline(in, line)) {
        std::smatch m;
        if (line.rfind("msgid ", 0) == 0 && std::regex_match(line, m, quoted)) {
            id = Unescape(m[1]);
            inId = true;
        } else if (inId && std::regex_match(line, m, quoted)) {
            id += Unescape(m[1]);
        } else if (inId) {
            if (!id.empty()) ids.insert(id);
            inId = false;
        }
    }
    return ids;
}

// Whether Text is Format with each "%s" filled by some text.
bool FillsFormat(const std::string& format, const std::string& text) {
    const size_t hole = format.find("%s");
    if (hole == std::string::npos) return format == text;
    if (text.compare(0, hole, format, 0, hole) != 0) return false;
    for (size_t end = hole + 1; end <= text.size(); ++end)
        if (FillsFormat(format.substr(hole + 2), text.substr(end))) return true;
    return false;
}

// A text is covered when it is a template text, one with ":" added or "..." left out (as tool
// buttons show their actions), a template format filled in, or two covered texts joined by a blank
// (texts the program puts together piece by piece).
bool Covered(const std::set<std::string>& ids, const std::string& text, int depth = 0) {
    if (ids.count(text) || ids.count(text + "...") ||
        (text.size() > 1 && text.back() == ':' && ids.count(text.substr(0, text.size() - 1))))
        return true;
    for (const std::string& id : ids)
        if (id.find("%s") != std::string::npos && FillsFormat(id, text)) return true;
    if (depth > 1) return false;
    for (size_t blank = text.find(' '); blank != std::string::npos; blank = text.find(' ', blank + 1))
        if (Covered(ids, text.substr(0, blank), depth + 1) && Covered(ids, text.substr(blank + 1), depth + 1))
            return true;
    return false;
}

// Every caption a user can read on Root and its children: actions, menus, buttons, labels,
// group titles, list headers and the window title.
std::vector<std::string> ShownTexts(QWidget& root) {
    std::vector<QString> texts{root.windowTitle()};
    for (QAction* a : root.findChildren<QAction*>())
        if (!a->isSeparator() && a->isVisible()) texts.push_back(a->text());
    for (QMenu* m : root.findChildren<QMenu*>())
        texts.push_back(m->title());
    for (QAbstractButton* b : root.findChildren<QAbstractButton*>())
        texts.push_back(b->text());
    for (QLabel* l : root.findChildren<QLabel*>())
        if (l->textFormat() != Qt::RichText) texts.push_back(l->text());
    for (QGroupBox* g : root.findChildren<QGroupBox*>())
        texts.push_back(g->title());
    for (QTreeWidget* t : root.findChildren<QTreeWidget*>())
        for (int c = 0; c < t->columnCount(); ++c)
            texts.push_back(t->headerItem()->text(c));
    std::vector<std::string> out;
    for (const QString& t : texts) {
        const QString plain = QString(t).remove(QLatin1Char('&')).trimmed();
        // Data, unit symbols and the program's own name are no texts to translate.
        QStringList notTexts{QString::fromUtf8(ProgramName), QString::fromStdString(GetProgramVersionText())};
        for (const TUnitKind kind :
             {TUnitKind::Size, TUnitKind::Pressure, TUnitKind::Flow, TUnitKind::Weight})
            notTexts << QString::fromStdString(UnitText(kind, true))
                     << QString::fromStdString(UnitText(kind, false));
        if (plain.contains(QRegularExpression(QStringLiteral("[A-Za-z]{2,}"))) && !notTexts.contains(plain))
            out.push_back(plain.toStdString());
    }
    return out;
}

const char* const IBorderRecord = "IBorder:\r\n  Point2X=100\r\n  Point2Y=50\r\nEndIBorder.\r\n";

TEST(TranslatedTexts, EveryTextOfTheWindowAndItsDialogsIsInTheTemplate) {
    const std::set<std::string> ids = TemplateTexts();
    ASSERT_GT(ids.size(), 100u);
    TMainForm form;
    TProxyServerSettingsDlg proxy(&form);
    TAboutDlg about(&form);
    auto component =
        ReadSymbol("Symbol:\r\n  Handle=5\r\n  Bom:\r\n    ArticleCode=DV06\r\n  EndBom.\r\nEnd.\r\n");
    auto* valve = dynamic_cast<TSymbolObjectSymbol*>(component->fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(valve, nullptr);
    TSymbolObjectSymbolViewPropertiesDlg properties(&form, *valve);
    auto border = ReadSymbol(IBorderRecord);
    auto* iborder = dynamic_cast<TSymbolObjectIBorder*>(border->fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(iborder, nullptr);
    TSymbolObjectIBorderViewPropertiesDlg borderDialog(&form, *iborder);

    size_t checked = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{&form, &proxy, &about, &properties, &borderDialog}) {
        for (const std::string& text : ShownTexts(*w)) {
            ++checked;
            EXPECT_TRUE(Covered(ids, text))
                << w->objectName().toStdString() << ": \"" << text << "\" is not in the catalog template";
        }
    }
    EXPECT_GT(checked, 80u);
}

} // namespace
