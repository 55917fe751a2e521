// The online library's client against real servers on 127.0.0.1: the request it sends, the proxy,
// and every way a connection can go wrong.
#include "datasheets/WebLibCommunicator.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"
#include "support/PrivateHome.h"
#include "support/TestServers.h"

using namespace testservers;
using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The value of one header in a line of the server's log, "" when the request had none.
std::string Header(const std::string& line, const std::string& name) {
    const std::string key = "\"" + name + "\": \"";
    const auto at = line.find(key);
    if (at == std::string::npos) return "";
    const auto begin = at + key.size();
    return line.substr(begin, line.find('"', begin) - begin);
}

// Base64 by the system's tool, so the client's own encoder is checked against another one.
std::string SystemBase64(const std::string& text) {
    std::FILE* p = ::popen(("printf %s '" + text + "' | base64 -w0").c_str(), "r");
    std::string out;
    char buf[256];
    for (size_t n; p && (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        out.append(buf, n);
    if (p) ::pclose(p);
    return out;
}

class WebLibTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UsePrivateHomeFolders();
        Certs = new TCertificates;
        setenv("KORVANE_CA_BUNDLE", Certs->Ca.c_str(), 1);
        // A proxy from the environment that goes nowhere: without UseProxy it must not be used.
        const std::string deadProxy = "http://127.0.0.1:" + std::to_string(FreePort());
        for (const char* var : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
            setenv(var, deadProxy.c_str(), 1);
        unsetenv("no_proxy");
        unsetenv("NO_PROXY");
    }
    static void TearDownTestSuite() {
        unsetenv("KORVANE_CA_BUNDLE");
        for (const char* var : {"http_proxy", "https_proxy", "HTTPS_PROXY", "ALL_PROXY", "all_proxy"})
            unsetenv(var);
        delete Certs;
    }
    static TCertificates* Certs;
    TRecordingMessageBoxes Boxes;
    TScopedMessageBoxes UseBoxes{Boxes};
};
TCertificates* WebLibTest::Certs = nullptr;

TEST_F(WebLibTest, GetFileSendsTheProgramsHeadersAndSavesTheBody) {
    THttpsServer server(Certs->Cert, Certs->Key);
    TWebLibCommunicator web{TProxyServerData()};
    web.InitializeConnections(server.URL() + "api");
    EXPECT_EQ(web.URL(), server.URL() + "api/");
    std::string file;
    ASSERT_TRUE(web.GetFile("datasheets/dv06/download", file)) << testing::PrintToString(Boxes.Messages);
    EXPECT_EQ(file, GetWebLibTempFolder() + "WebLib.lib");
    EXPECT_THAT(ReadWholeFile(file), StartsWith("%PDF-"));
    const std::string log = server.Log();
    EXPECT_THAT(log, HasSubstr("\"path\": \"/api/datasheets/dv06/download\""));
    const std::string version = std::string(ProgramYear) + "." + ProgramBuild;
    EXPECT_THAT(log, HasSubstr("\"X-QUAV-VERSION\": \"" + version + "\""));
    EXPECT_THAT(log, HasSubstr(std::string("\"X-QUAV-PROGRAM\": \"") + ProgramName + "\""));
    EXPECT_THAT(log, HasSubstr(std::string("\"User-Agent\": \"") + ProgramName + " " + version + "\""));
    EXPECT_THAT(log, HasSubstr("\"Authorization\": \"Bearer "));

    // Not found: false, no message, and the library is still used.
    EXPECT_FALSE(web.GetFile("datasheets/other/download", file));
    EXPECT_EQ(ReadWholeFile(file), "") << "nothing of the error page is left";
    EXPECT_THAT(Boxes.Messages, IsEmpty());
    EXPECT_TRUE(web.InternetAccess());
    // Post sends JSON.
    std::string response;
    ASSERT_TRUE(web.Post("echo", response, "{\"a\":1}"));
    EXPECT_EQ(response, "{\"a\":1}");
    for (const std::string& line : Lines(server.Log()))
        EXPECT_EQ(Header(line, "Content-Type"),
                  line.find("\"POST\"") != std::string::npos ? "application/json" : "")
            << line;
}

TEST_F(WebLibTest, TheBearerIsThisInstallationsOwnIdentifier) {
    // A damaged identifier file, readable by others, is replaced by a private one.
    const std::string idFile = GetUserDataFolder() + "InstallationId";
    std::filesystem::create_directories(std::filesystem::path(idFile).parent_path());
    std::ofstream(idFile) << "not an identifier\n";
    ::chmod(idFile.c_str(), 0644);

    THttpsServer server(Certs->Cert, Certs->Key);
    for (int run = 0; run < 2; ++run) {
        TWebLibCommunicator web{TProxyServerData()};
        web.InitializeConnections(server.URL());
        std::string file;
        ASSERT_TRUE(web.GetFile("datasheets/dv06/download", file));
    }
    const std::string id = ReadWholeFile(idFile);
    EXPECT_THAT(id, ::testing::MatchesRegex("[0-9a-f]{32}"));
    struct stat st {};
    ASSERT_EQ(::stat(idFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    const std::vector<std::string> lines = Lines(server.Log());
    ASSERT_EQ(lines.size(), 2u);
    for (const std::string& line : lines)
        EXPECT_EQ(Header(line, "Authorization"), "Bearer " + SystemBase64(id)) << "kept from run to run";
}

TEST_F(WebLibTest, ACertificateOfAnotherCaIsRefusedOncePerRun) {
    THttpsServer server(Certs->OtherCert, Certs->OtherKey);
    TWebLibCommunicator web{TProxyServerData()};
    web.InitializeConnections(server.URL());
    std::string file;
    EXPECT_FALSE(web.GetFile("datasheets/dv06/download", file));
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_THAT(
        Boxes.Messages[0].Text,
        StartsWith("Cannot access the online library, check your internet connection.\n\nMessage : "));
    EXPECT_FALSE(web.InternetAccess());
    EXPECT_FALSE(web.GetFile("datasheets/dv06/download", file));
    EXPECT_EQ(Boxes.Messages.size(), 1u) << "said once";
    EXPECT_EQ(server.Log(), "") << "no request reached the server";
}

TEST_F(WebLibTest, TheProxyIsUsedWithItsCredentials) {
    THttpsServer server(Certs->Cert, Certs->Key);
    TTinyProxy proxy("anna", "s3cret");
    TProxyServerData d;
    d.UseProxy = true;
    d.Host = "127.0.0.1";
    d.Port = proxy.Port;
    d.UserName = "anna";
    d.PassWord = "s3cret";
    TWebLibCommunicator web(d);
    web.InitializeConnections(server.URL());
    std::string file;
    ASSERT_TRUE(web.GetFile("datasheets/dv06/download", file)) << testing::PrintToString(Boxes.Messages);
    EXPECT_THAT(ReadWholeFile(file), StartsWith("%PDF-"));

    // Without credentials, or with wrong ones, the proxy refuses the tunnel.
    for (const char* password : {"", "wrong"}) {
        Boxes.Messages.clear();
        d.UserName = *password ? "anna" : "";
        d.PassWord = password;
        TWebLibCommunicator refused(d);
        refused.InitializeConnections(server.URL());
        EXPECT_FALSE(refused.GetFile("datasheets/dv06/download", file));
        ASSERT_EQ(Boxes.Messages.size(), 1u);
        EXPECT_THAT(Boxes.Messages[0].Text, ContainsRegex("40[17]"));
        EXPECT_FALSE(refused.InternetAccess());
    }
}

TEST_F(WebLibTest, SilentServersAndEndlessBodiesAreBounded) {
    THttpsServer silent("", "", true);
    TWebLibLimits limits;
    limits.ConnectTimeoutSeconds = 2;
    limits.TotalTimeoutSeconds = 2;
    limits.MaxBodyBytes = 1024 * 1024;
    TWebLibCommunicator slow(TProxyServerData(), limits);
    slow.InitializeConnections(silent.URL());
    std::string file;
    EXPECT_FALSE(slow.GetFile("datasheets/dv06/download", file));
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_THAT(Boxes.Messages[0].Text, HasSubstr("Cannot access the online library"));
    Boxes.Messages.clear();

    THttpsServer server(Certs->Cert, Certs->Key);
    TWebLibCommunicator web(TProxyServerData(), limits);
    web.InitializeConnections(server.URL());
    // A body that never ends is cut at the cap; one announced too large is refused at once.
    for (const char* path : {"endless", "huge"}) {
        Boxes.Messages.clear();
        EXPECT_FALSE(web.GetFile(path, file)) << path;
        ASSERT_EQ(Boxes.Messages.size(), 1u) << path;
        EXPECT_THAT(Boxes.Messages[0].Text, HasSubstr("the download was stopped")) << path;
        EXPECT_TRUE(web.InternetAccess()) << "too large is not a broken connection";
        EXPECT_EQ(ReadWholeFile(GetWebLibTempFolder() + "WebLib.lib"), "") << path;
    }
}

TEST_F(WebLibTest, RedirectsStayOnHttpsAreBoundedAndKeepTheIdentifierHome) {
    THttpsServer server(Certs->Cert, Certs->Key);
    TWebLibCommunicator web{TProxyServerData()};
    web.InitializeConnections(server.URL());
    std::string file;
    // A redirect to another host name gets the file but not the installation's identifier.
    ASSERT_TRUE(web.GetFile("redirect/datasheets/dv06/download", file))
        << testing::PrintToString(Boxes.Messages);
    EXPECT_THAT(ReadWholeFile(file), StartsWith("%PDF-"));
    std::vector<std::string> lines = Lines(server.Log());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_THAT(Header(lines[0], "Host"), StartsWith("127.0.0.1:"));
    EXPECT_THAT(Header(lines[0], "Authorization"), StartsWith("Bearer "));
    EXPECT_THAT(lines[1], HasSubstr("\"path\": \"/datasheets/dv06/download\""));
    EXPECT_THAT(Header(lines[1], "Host"), StartsWith("localhost:"));
    EXPECT_EQ(Header(lines[1], "Authorization"), "");

    // Neither a step down to plain http nor an endless chain is followed; the service misbehaved,
    // the connection did not fail, so the library stays in use.
    for (const char* path : {"redirect-plain/datasheets/dv06/download", "loop"}) {
        Boxes.Messages.clear();
        EXPECT_FALSE(web.GetFile(path, file)) << path;
        ASSERT_EQ(Boxes.Messages.size(), 1u) << path;
        EXPECT_THAT(Boxes.Messages[0].Text, Not(HasSubstr("Cannot access"))) << path;
        EXPECT_TRUE(web.InternetAccess()) << path;
        EXPECT_EQ(ReadWholeFile(file), "") << path;
    }
    lines = Lines(server.Log());
    EXPECT_EQ(std::count_if(
                  lines.begin(), lines.end(),
                  [](const std::string& l) { return l.find("\"path\": \"/loop\"") != std::string::npos; }),
              6)
        << "the request and five redirects";
}

TEST(WebLibURL, ComesFromTheEnvironmentWithATrailingSlash) {
    const struct {
        const char* Env;
        std::string Expected;
    } cases[] = {
        {nullptr, "https://library.korvane.example/api/v1/"},
        {"", "https://library.korvane.example/api/v1/"},
        {"https://127.0.0.1:8443/lib", "https://127.0.0.1:8443/lib/"},
        {"https://127.0.0.1:8443/lib/", "https://127.0.0.1:8443/lib/"},
    };
    for (const auto& c : cases) {
        if (c.Env)
            setenv("KORVANE_WEBLIB_URL", c.Env, 1);
        else
            unsetenv("KORVANE_WEBLIB_URL");
        EXPECT_EQ(DefaultWebLibURL(), c.Expected) << (c.Env ? c.Env : "(unset)");
    }
    unsetenv("KORVANE_WEBLIB_URL");
}

} // namespace
