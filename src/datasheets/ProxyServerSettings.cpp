#include "datasheets/ProxyServerSettings.h"

#include <sys/stat.h>

#include "base/Translate.h"
#include "datasheets/CryptDecryptString.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"

namespace {
const char Section[] = "ProxyServer";
}

std::string GetProxyFileName() {
    return GetCommonDataFolder() + "Bin" + PathDelimiter + "ProxyServer.ini";
}

TProxyServerData LoadProxySettingsFromFile(const std::string& fileName) {
    TProxyServerData d;
    const TIniFile ini(fileName);
    d.UseProxy = ini.ReadBool(Section, "UseProxy", d.UseProxy);
    d.Host = ini.ReadString(Section, "Host", d.Host);
    const long port = ini.ReadInteger(Section, "Port", d.Port);
    // A port no connection can use is as good as none: the default stays.
    if (port > 0 && port <= 65535) d.Port = int(port);
    d.UserName = ini.ReadString(Section, "UserName", d.UserName);
    d.PassWord = ini.ReadString(Section, "PassWord", d.PassWord);
    d.BasicAuthentication = ini.ReadBool(Section, "BasicAuthentication", d.BasicAuthentication);
    const std::string pwd = ini.ReadString(Section, "PWD", "");
    if (!pwd.empty()) d.PassWord = UnscrambleText(pwd);
    const std::string usr = ini.ReadString(Section, "USR", "");
    if (!usr.empty()) d.UserName = UnscrambleText(usr);
    return d;
}

bool UseProxyServer(const std::string& fileName) {
    return LoadProxySettingsFromFile(fileName).UseProxy;
}

bool SaveProxySettingsToFile(const TProxyServerData& data, const std::string& fileName) {
    TIniFile ini(fileName);
    ini.EraseSection(Section);
    ini.WriteBool(Section, "UseProxy", data.UseProxy);
    ini.WriteString(Section, "Host", data.Host);
    ini.WriteInteger(Section, "Port", data.Port);
    ini.WriteString(Section, "USR", ScrambleText(data.UserName));
    ini.WriteString(Section, "PWD", ScrambleText(data.PassWord));
    ini.WriteBool(Section, "BasicAuthentication", data.BasicAuthentication);
    // The file holds credentials: this user's alone, also when an older file was readable by others.
    // Tightened before the new contents are written, as the written file keeps the old permissions,
    // and once more after, for an old file that belonged to someone else.
    const auto tighten = [&] {
        struct stat st {};
        if (::lstat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 077) != 0)
            ::chmod(fileName.c_str(), st.st_mode & 0600);
    };
    tighten();
    if (!ini.UpdateFile(nullptr, 0600)) {
        ShowErrorMessage(_("Error while saving:") + std::string("\n") + fileName + "\n" +
                         _("Access Denied."));
        return false;
    }
    tighten();
    return true;
}
