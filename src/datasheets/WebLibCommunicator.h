#pragma once
// The HTTP client of the maker's online library.
#include "datasheets/ProxyServerSettings.h"

#include <cstdint>
#include <string>

// What the datasheet look-up needs of the online library; tests put a fake in its place.
class IWebLibFiles {
public:
    virtual ~IWebLibFiles() = default;
    // GETs the base URL + Url into the download buffer file. True on status 200; FileName is the
    // buffer whenever the request completed.
    virtual bool GetFile(const std::string& url, std::string& fileName) = 0;
};

// Limits of one request. Certificates and host names are always verified.
struct TWebLibLimits {
    long ConnectTimeoutSeconds = 15;
    long TotalTimeoutSeconds = 120;
    int64_t MaxBodyBytes = 64 * 1024 * 1024;
};

// The online library's base URL: KORVANE_WEBLIB_URL when set, else the maker's service.
std::string DefaultWebLibURL();

class TWebLibCommunicator : public IWebLibFiles {
public:
    explicit TWebLibCommunicator(const TProxyServerData& proxyData, const TWebLibLimits& limits = {});
    ~TWebLibCommunicator() override;
    TWebLibCommunicator(const TWebLibCommunicator&) = delete;
    TWebLibCommunicator& operator=(const TWebLibCommunicator&) = delete;

    void InitializeConnections(const std::string& url);
    void InitializeConnections() { InitializeConnections(DefaultWebLibURL()); }

    bool GetFile(const std::string& url, std::string& fileName) override;
    bool Get(const std::string& url, std::string& response);
    bool Post(const std::string& url, std::string& response, const std::string& contents);

    bool InternetAccess() const { return fInternetAccess; }
    const std::string& URL() const { return fURL; }

private:
    struct TImpl;
    // One request: the body into the download buffer (FileName) or into Response.
    bool Request(const std::string& url, std::string* fileName, std::string* response,
                 const std::string* post);
    bool fInternetAccess = true;
    TImpl* fHttp;
    std::string fURL;
};
