// "Proxy Server...": what is typed reaches the proxy file, and what cannot be a setting does not.
#include "shell/ProxyServerSettingsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/TempFiles.h"

namespace {

TEST(ProxyServerSettingsDialog, FieldsFollowTheCheckBoxAndTextsComeBackTrimmed) {
    TProxyServerSettingsDlg dlg(nullptr);
    TProxyServerData d;
    d.Host = "proxy.example";
    d.Port = 8080;
    d.UserName = "anna";
    d.PassWord = "s3cret";
    dlg.SetData(d);
    EXPECT_FALSE(dlg.EditHost->isEnabled());
    EXPECT_EQ(dlg.EditPassWord->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dlg.EditUserName->echoMode(), QLineEdit::Password);
    dlg.CheckBoxUseProxy->setChecked(true);
    EXPECT_TRUE(dlg.EditHost->isEnabled());
    EXPECT_TRUE(dlg.CheckBoxBasicAuthentication->isEnabled());

    dlg.EditHost->setText(QStringLiteral("  other.example  "));
    dlg.EditPassWord->setText(QStringLiteral("pass word \t"));
    const TProxyServerData got = dlg.GetData(d);
    EXPECT_TRUE(got.UseProxy);
    EXPECT_EQ(got.Host, "  other.example"); // only trailing blanks go
    EXPECT_EQ(got.PassWord, "pass word");
    EXPECT_EQ(got.Port, 8080);
}

TEST(ProxyServerSettingsDialog, ThePortTakesDigitsOnlyAndKeepsTheOldValueWhenItIsNoPort) {
    TProxyServerSettingsDlg dlg(nullptr);
    TProxyServerData d;
    d.UseProxy = true;
    dlg.SetData(d);
    dlg.EditPort->clear();
    QTest::keyClicks(dlg.EditPort, QStringLiteral("8a0-8 1"));
    EXPECT_EQ(dlg.EditPort->text(), QStringLiteral("8081"));
    EXPECT_EQ(dlg.GetData(d).Port, 8081);
    const struct {
        const char* Text;
        int Port;
    } cases[] = {{"", 3128}, {"0", 3128}, {"65535", 65535}, {"99999", 3128}};
    for (const auto& c : cases) {
        dlg.EditPort->setText(QString::fromLatin1(c.Text));
        EXPECT_EQ(dlg.GetData(d).Port, c.Port) << c.Text;
    }
}

TEST(ProxyServerSettingsDialog, OkSavesToTheProxyFileAndCancelLeavesItAlone) {
    TTempDir dir;
    const std::string file = dir.File("Bin/ProxyServer.ini");
    auto answer = [](bool ok) {
        QTimer::singleShot(0, [ok] {
            auto* dlg = qobject_cast<TProxyServerSettingsDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            dlg->CheckBoxUseProxy->setChecked(true);
            dlg->EditHost->setText(QStringLiteral("127.0.0.1"));
            dlg->EditPort->setText(QStringLiteral("8888"));
            dlg->EditUserName->setText(QStringLiteral("user"));
            dlg->EditPassWord->setText(QStringLiteral("pässword"));
            ok ? dlg->accept() : dlg->reject();
        });
    };
    answer(false);
    EXPECT_FALSE(TProxyServerSettingsDlg::ModifyProxyServerSettings(nullptr, file));
    EXPECT_EQ(LoadProxySettingsFromFile(file), TProxyServerData());

    answer(true);
    EXPECT_TRUE(TProxyServerSettingsDlg::ModifyProxyServerSettings(nullptr, file));
    const TProxyServerData saved = LoadProxySettingsFromFile(file);
    EXPECT_TRUE(saved.UseProxy);
    EXPECT_EQ(saved.Host, "127.0.0.1");
    EXPECT_EQ(saved.Port, 8888);
    EXPECT_EQ(saved.UserName, "user");
    EXPECT_EQ(saved.PassWord, "pässword");
}

} // namespace
