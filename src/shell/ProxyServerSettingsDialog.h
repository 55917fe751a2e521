#pragma once
// "Proxy Server...": the proxy through which the online library is reached. The settings are
// read once at start, so changes take effect at the next start.
#include "shell/TranslateForms.h"

#include "datasheets/ProxyServerSettings.h"

class QCheckBox;
class QLineEdit;

class TProxyServerSettingsDlg : public TTranslateForm {
    Q_OBJECT
public:
    explicit TProxyServerSettingsDlg(QWidget* parent);

    // Fills the fields from Data.
    void SetData(const TProxyServerData& data);
    // The fields over Old: texts without trailing blanks, a port that is no port number keeps Old's.
    TProxyServerData GetData(const TProxyServerData& old) const;

    // Shows the dialog modally; on OK copies the fields into Data and returns true.
    static bool Execute(QWidget* parent, TProxyServerData& data);
    // Loads the proxy file, shows the dialog, saves on OK. False when cancelled or not saved.
    static bool ModifyProxyServerSettings(QWidget* parent, const std::string& fileName = GetProxyFileName());

    QCheckBox* CheckBoxUseProxy = nullptr;
    QLineEdit* EditHost = nullptr;
    QLineEdit* EditPort = nullptr;
    QLineEdit* EditUserName = nullptr;
    QLineEdit* EditPassWord = nullptr;
    QCheckBox* CheckBoxBasicAuthentication = nullptr;

private:
    void UpdateEnabled();
};
