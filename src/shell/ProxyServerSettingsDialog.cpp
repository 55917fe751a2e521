#include "shell/ProxyServerSettingsDialog.h"

#include "qt/QtTranslate.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QString TrimRight(const QString& s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1].isSpace())
        --n;
    return s.left(n);
}

} // namespace

TProxyServerSettingsDlg::TProxyServerSettingsDlg(QWidget* parent)
    : TTranslateForm(parent, QStringLiteral("ProxyServerSettingsDlg")) {
    setWindowTitle(qtr("Proxy Server Settings"));
    auto* layout = new QVBoxLayout(this);
    CheckBoxUseProxy = new QCheckBox(qtr("Use Proxy Server for Internet access"), this);
    CheckBoxUseProxy->setObjectName(QStringLiteral("CheckBoxUseProxy"));
    layout->addWidget(CheckBoxUseProxy);
    auto* form = new QFormLayout;
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        return e;
    };
    EditHost = edit("EditHost");
    EditPort = edit("EditPort");
    // Digits only, as many as a port can have; anything else is not typed at all.
    EditPort->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,5}")), EditPort));
    EditUserName = edit("EditUserName");
    EditPassWord = edit("EditPassWord");
    EditUserName->setEchoMode(QLineEdit::Password);
    EditPassWord->setEchoMode(QLineEdit::Password);
    form->addRow(qtr("Host:"), EditHost);
    form->addRow(qtr("Port:"), EditPort);
    form->addRow(qtr("User Name:"), EditUserName);
    form->addRow(qtr("Password:"), EditPassWord);
    layout->addLayout(form);
    CheckBoxBasicAuthentication = new QCheckBox(qtr("Basic Authentication"), this);
    CheckBoxBasicAuthentication->setObjectName(QStringLiteral("CheckBoxBasicAuthentication"));
    layout->addWidget(CheckBoxBasicAuthentication);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(qtr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(qtr("Cancel"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(CheckBoxUseProxy, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });
    UpdateEnabled();
}

void TProxyServerSettingsDlg::UpdateEnabled() {
    const bool on = CheckBoxUseProxy->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(EditHost), static_cast<QWidget*>(EditPort),
                       static_cast<QWidget*>(EditUserName), static_cast<QWidget*>(EditPassWord),
                       static_cast<QWidget*>(CheckBoxBasicAuthentication)})
        w->setEnabled(on);
}

void TProxyServerSettingsDlg::SetData(const TProxyServerData& data) {
    CheckBoxUseProxy->setChecked(data.UseProxy);
    EditHost->setText(QString::fromStdString(data.Host));
    EditPort->setText(QString::number(data.Port));
    EditUserName->setText(QString::fromStdString(data.UserName));
    EditPassWord->setText(QString::fromStdString(data.PassWord));
    CheckBoxBasicAuthentication->setChecked(data.BasicAuthentication);
    UpdateEnabled();
}

TProxyServerData TProxyServerSettingsDlg::GetData(const TProxyServerData& old) const {
    TProxyServerData d = old;
    d.UseProxy = CheckBoxUseProxy->isChecked();
    d.Host = TrimRight(EditHost->text()).toStdString();
    bool ok = false;
    const int port = TrimRight(EditPort->text()).toInt(&ok);
    // A port outside 1..65535 cannot be connected to; keeping the old one loses nothing typed.
    if (ok && port > 0 && port <= 65535) d.Port = port;
    d.UserName = TrimRight(EditUserName->text()).toStdString();
    d.PassWord = TrimRight(EditPassWord->text()).toStdString();
    d.BasicAuthentication = CheckBoxBasicAuthentication->isChecked();
    return d;
}

bool TProxyServerSettingsDlg::Execute(QWidget* parent, TProxyServerData& data) {
    TProxyServerSettingsDlg dlg(parent);
    dlg.SetData(data);
    if (dlg.exec() != QDialog::Accepted) return false;
    data = dlg.GetData(data);
    return true;
}

bool TProxyServerSettingsDlg::ModifyProxyServerSettings(QWidget* parent, const std::string& fileName) {
    TProxyServerData data = LoadProxySettingsFromFile(fileName);
    if (!Execute(parent, data)) return false;
    return SaveProxySettingsToFile(data, fileName);
}
