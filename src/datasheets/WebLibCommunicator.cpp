#include "datasheets/WebLibCommunicator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "base/Translate.h"
#include "platform/DirectoryHandling.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"

namespace {

void GlobalInit() {
    static const bool done = (curl_global_init(CURL_GLOBAL_DEFAULT), true);
    (void)done;
}

std::string Base64(const std::string& in) {
    static const char t[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < in.size(); i += 3) {
        const unsigned n =
            (unsigned char)in[i] << 16 | (unsigned char)in[i + 1] << 8 | (unsigned char)in[i + 2];
        out += {t[n >> 18], t[(n >> 12) & 63], t[(n >> 6) & 63], t[n & 63]};
    }
    if (i + 1 == in.size()) {
        const unsigned n = (unsigned char)in[i] << 16;
        out += {t[n >> 18], t[(n >> 12) & 63], '=', '='};
    } else if (i + 2 == in.size()) {
        const unsigned n = (unsigned char)in[i] << 16 | (unsigned char)in[i + 1] << 8;
        out += {t[n >> 18], t[(n >> 12) & 63], t[(n >> 6) & 63], '='};
    }
    return out;
}

bool IsHex32(const std::string& s) {
    return s.size() == 32 && s.find_first_not_of("0123456789abcdef") == std::string::npos;
}

// A random identifier of this installation, made on first use and kept for the user alone.
std::string InstallationId() {
    const std::string file = GetUserDataFolder() + "InstallationId";
    {
        std::ifstream in(file);
        std::string id;
        if (in >> id && IsHex32(id)) return id;
    }
    std::random_device rd;
    static const char hex[] = "0123456789abcdef";
    std::string id;
    for (int i = 0; i < 32; ++i)
        id += hex[rd() & 15];
    if (ForceFolder(ExcludeTrailingPathDelimiter(GetUserDataFolder()))) {
        const std::string temp = file + ".new";
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
        if (fd >= 0) {
            const bool ok = ::write(fd, id.data(), id.size()) == ssize_t(id.size());
            ::close(fd);
            if (!ok || std::rename(temp.c_str(), file.c_str()) != 0) std::remove(temp.c_str());
        }
    }
    return id;
}

bool IsConnectionFailure(CURLcode code) {
    switch (code) {
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PROXY:
        return true;
    default:
        return false;
    }
}

struct TSink {
    std::FILE* File = nullptr;
    std::string* Text = nullptr;
    int64_t Written = 0;
    int64_t Max = 0;
    bool TooLarge = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<TSink*>(user);
    const size_t n = size * count;
    if (sink->Written + int64_t(n) > sink->Max) {
        sink->TooLarge = true;
        return 0; // aborts the transfer
    }
    sink->Written += int64_t(n);
    if (sink->File) return std::fwrite(data, 1, n, sink->File);
    sink->Text->append(data, n);
    return n;
}

} // namespace

std::string DefaultWebLibURL() {
    const char* env = std::getenv("KORVANE_WEBLIB_URL");
    std::string url = env && *env ? env : "https://library.korvane.example/api/v1/";
    if (url.back() != '/') url += '/';
    return url;
}

struct TWebLibCommunicator::TImpl {
    CURL* Curl = nullptr;
    curl_slist* Headers = nullptr;
    TProxyServerData Proxy;
    TWebLibLimits Limits;
    std::string UserAgent;
};

TWebLibCommunicator::TWebLibCommunicator(const TProxyServerData& proxyData, const TWebLibLimits& limits)
    : fHttp(new TImpl) {
    GlobalInit();
    fHttp->Curl = curl_easy_init();
    fHttp->Proxy = proxyData;
    fHttp->Limits = limits;
}

TWebLibCommunicator::~TWebLibCommunicator() {
    curl_slist_free_all(fHttp->Headers);
    if (fHttp->Curl) curl_easy_cleanup(fHttp->Curl);
    delete fHttp;
}

void TWebLibCommunicator::InitializeConnections(const std::string& url) {
    fURL = url;
    if (!fURL.empty() && fURL.back() != '/') fURL += '/';
    curl_slist_free_all(fHttp->Headers);
    fHttp->Headers = nullptr;
    const std::string version = std::string(ProgramYear) + "." + ProgramBuild;
    fHttp->UserAgent = std::string(ProgramName) + " " + version;
    for (const std::string& h : {"X-QUAV-VERSION: " + version, std::string("X-QUAV-PROGRAM: ") + ProgramName,
                                 "Authorization: Bearer " + Base64(InstallationId())})
        fHttp->Headers = curl_slist_append(fHttp->Headers, h.c_str());
}

namespace {

// One request on Curl; the body goes to Sink. Returns the curl code and sets Status.
CURLcode Perform(CURL* curl, const std::string& url, curl_slist* headers, const std::string& userAgent,
                 const TProxyServerData& proxy, const TWebLibLimits& limits, TSink& sink,
                 const std::string* post, long& status, char* errorText) {
    curl_easy_reset(curl);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    // Left off on purpose: the identifier in "Authorization" must not follow a redirect to
    // another host.
    curl_easy_setopt(curl, CURLOPT_UNRESTRICTED_AUTH, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (const char* ca = std::getenv("KORVANE_CA_BUNDLE"); ca && *ca) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, ca);
        curl_easy_setopt(curl, CURLOPT_CAPATH, "/etc/ssl/certs");
    }
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.ConnectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.TotalTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.MaxBodyBytes));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, userAgent.c_str());
    curl_slist* all = nullptr;
    for (curl_slist* h = headers; h; h = h->next)
        all = curl_slist_append(all, h->data);
    if (post) all = curl_slist_append(all, "Content-Type: application/json");
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, all);
    if (proxy.UseProxy) {
        const std::string p = "http://" + proxy.Host + ":" + std::to_string(proxy.Port);
        curl_easy_setopt(curl, CURLOPT_PROXY, p.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxy.UserName.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxy.PassWord.c_str());
        curl_easy_setopt(curl, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
    } else {
        // No proxy at all, whatever the environment says.
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
    }
    if (post) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, post->c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(post->size()));
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    errorText[0] = 0;
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    const CURLcode code = curl_easy_perform(curl);
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    curl_slist_free_all(all);
    status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    return code;
}

} // namespace

bool TWebLibCommunicator::Request(const std::string& url, std::string* fileName, std::string* response,
                                  const std::string* post) {
    if (!fInternetAccess || !fHttp->Curl) return false;
    TSink sink;
    sink.Max = fHttp->Limits.MaxBodyBytes;
    std::string buffer;
    if (fileName) {
        std::string error;
        const std::string folder = ForceWebLibTempFolder(&error);
        if (folder.empty()) {
            ShowErrorMessage(error);
            return false;
        }
        buffer = folder + "WebLib.lib";
        sink.File = std::fopen(buffer.c_str(), "wb");
        if (!sink.File) {
            ShowErrorMessage(FormatText(_("Cannot create %s."), {buffer}));
            return false;
        }
    } else {
        response->clear();
        sink.Text = response;
    }
    char errorText[CURL_ERROR_SIZE + 1] = {};
    long status = 0;
    const CURLcode code = Perform(fHttp->Curl, fURL + url, fHttp->Headers, fHttp->UserAgent, fHttp->Proxy,
                                  fHttp->Limits, sink, post, status, errorText);
    if (sink.File) std::fclose(sink.File);
    const bool ok = code == CURLE_OK && status == 200;
    // A failed download leaves nothing that could pass for a datasheet.
    if (!ok && fileName) std::fclose(std::fopen(buffer.c_str(), "wb"));
    if (code == CURLE_OK || code == CURLE_HTTP_RETURNED_ERROR) {
        if (fileName) *fileName = buffer;
        return ok;
    }
    if (sink.TooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        ShowErrorMessage(FormatText(_("The online library sent more than %s MB; the download was stopped."),
                                    {std::to_string(fHttp->Limits.MaxBodyBytes / (1024 * 1024))}));
        return false;
    }
    const std::string message = errorText[0] ? errorText : curl_easy_strerror(code);
    if (code == CURLE_WRITE_ERROR && fileName) {
        ShowErrorMessage(FormatText(_("Cannot write %s."), {buffer}));
    } else if (IsConnectionFailure(code)) {
        fInternetAccess = false;
        ShowErrorMessage(_("Cannot access the online library, check your internet connection.") + "\n\n" +
                         _("Message") + " : " + message);
    } else {
        // The service itself misbehaved (a redirection we do not follow, a malformed answer): the
        // connection is fine, so later requests are still tried.
        ShowErrorMessage(_("The online library gave an answer that cannot be used.") + "\n\n" + _("Message") +
                         " : " + message);
    }
    return false;
}

bool TWebLibCommunicator::GetFile(const std::string& url, std::string& fileName) {
    return Request(url, &fileName, nullptr, nullptr);
}

bool TWebLibCommunicator::Get(const std::string& url, std::string& response) {
    return Request(url, nullptr, &response, nullptr);
}

bool TWebLibCommunicator::Post(const std::string& url, std::string& response, const std::string& contents) {
    return Request(url, nullptr, &response, &contents);
}
