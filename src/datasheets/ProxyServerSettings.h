#pragma once
// The proxy through which the online library is reached, stored in the proxy file.
#include <string>

struct TProxyServerData {
    bool UseProxy = false;
    std::string Host;
    int Port = 3128;
    std::string UserName;
    std::string PassWord;
    bool BasicAuthentication = false;
    friend bool operator==(const TProxyServerData&, const TProxyServerData&) = default;
};

// GetCommonDataFolder() + "Bin/ProxyServer.ini".
std::string GetProxyFileName();

// Defaults, then the keys of the file; plain "UserName"/"PassWord" of older files are replaced by
// the scrambled "USR"/"PWD" when those are not empty.
TProxyServerData LoadProxySettingsFromFile(const std::string& fileName = GetProxyFileName());
bool UseProxyServer(const std::string& fileName = GetProxyFileName());
// Erases the section and writes it anew, readable by this user only. On failure shows the
// "Error while saving:" box and returns false; the file on disk stays as it was.
bool SaveProxySettingsToFile(const TProxyServerData& data, const std::string& fileName = GetProxyFileName());
