// The online library's client against real servers on 127.0.0.1: the request it sends, the proxy,
// and every way a connection can go wrong.
#include "datasheets/WebLibCommunicator.h"

#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

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

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class WebLibTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UsePrivateHomeFolders();
        Certs = new TCertificates;
        setenv("KORVANE_CA_BUNDLE", Certs->Ca.c_str(), 1);
    }
    static void TearDownTestSuite() {
        unsetenv("KORVANE_CA_BUNDLE");
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
    EXPECT_THAT(Read(file), StartsWith("%PDF-"));
    const std::string log = server.Log();
    EXPECT_THAT(log, HasSubstr("\"path\": \"/api/datasheets/dv06/download\""));
    const std::string version = std::string(ProgramYear) + "." + ProgramBuild;
    EXPECT_THAT(log, HasSubstr("\"X-QUAV-VERSION\": \"" + version + "\""));
    EXPECT_THAT(log, HasSubstr(std::string("\"X-QUAV-PROGRAM\": \"") + ProgramName + "\""));
    EXPECT_THAT(log, HasSubstr(std::string("\"User-Agent\": \"") + ProgramName + " " + version + "\""));
    EXPECT_THAT(log, HasSubstr("\"Authorization\": \"Bearer "));
    // The identifier stays the same from run to run.
    TWebLibCommunicator again{TProxyServerData()};
    again.InitializeConnections(server.URL());
    ASSERT_TRUE(again.GetFile("datasheets/dv06/download", file));
    const std::string bearer = "\"Authorization\": \"Bearer ";
    const std::string log2 = server.Log();
    const auto first = log2.find(bearer), second = log2.rfind(bearer);
    ASSERT_NE(first, second);
    EXPECT_EQ(log2.substr(first, 60), log2.substr(second, 60));

    // Not found: false, no message, and the library is still used.
    EXPECT_FALSE(web.GetFile("datasheets/other/download", file));
    EXPECT_EQ(Read(file), "") << "nothing of the error page is left";
    EXPECT_THAT(Boxes.Messages, IsEmpty());
    EXPECT_TRUE(web.InternetAccess());
    // Post sends JSON.
    std::string response;
    ASSERT_TRUE(web.Post("echo", response, "{\"a\":1}"));
    EXPECT_EQ(response, "{\"a\":1}");
    EXPECT_THAT(server.Log(), HasSubstr("\"Content-Type\": \"application/json\""));
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
    EXPECT_THAT(Read(file), StartsWith("%PDF-"));

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

TEST_F(WebLibTest, SilentServersEndlessBodiesAndRedirectsAreBounded) {
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
    EXPECT_FALSE(web.GetFile("endless", file));
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_THAT(Boxes.Messages[0].Text, Not(HasSubstr("Cannot access")));
    EXPECT_TRUE(web.InternetAccess()) << "too large is not a broken connection";
    EXPECT_LE(Read(file).size(), 1024u * 1024u);

    // A redirect to another host name gets the file but not the installation's identifier.
    ASSERT_TRUE(web.GetFile("redirect/datasheets/dv06/download", file));
    const std::string log = server.Log();
    const auto redirected = log.find("\"path\": \"/datasheets/dv06/download\"");
    ASSERT_NE(redirected, std::string::npos) << log;
    const std::string lastLine = log.substr(log.rfind('\n', log.size() - 2) + 1);
    EXPECT_THAT(lastLine, HasSubstr("\"Host\": \"localhost:"));
    EXPECT_THAT(lastLine, Not(HasSubstr("Authorization")));
}

} // namespace
