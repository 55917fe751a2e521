// Hand-off of a file from a second start to the running viewer.
#include "platform/HandOff.h"
#include "qt/SingleInstance.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class THandOffTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string Pattern = (fs::temp_directory_path() / "kvhandoffXXXXXX").string();
        ASSERT_NE(::mkdtemp(Pattern.data()), nullptr);
        Root = Pattern;
        fs::create_directories(Root / "sub");
        std::ofstream(Root / "sub/plan \xC3\xA9.kdf") << "x";
        Socket = QString::fromStdString((Root / "RUR0033").string());
    }
    void TearDown() override {
        std::error_code Ignored;
        fs::remove_all(Root, Ignored);
    }

    // Runs the event loop until Done holds; the deadline only keeps a broken build from hanging.
    static void ProcessUntil(const std::function<bool()>& Done) {
        QDeadlineTimer Deadline(20000);
        while (!Done() && !Deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    // Sends from another thread, as a second process would, while this thread runs the loop.
    bool SendAndWait(const QString& Argument, std::vector<std::string>& Opened, size_t Expected) {
        std::atomic<bool> Sent = false, Finished = false;
        std::thread Sender([&] {
            Sent = SendToRunningInstance(Argument, Socket);
            Finished = true;
        });
        ProcessUntil([&] { return Finished && Opened.size() >= Expected; });
        Sender.join();
        QCoreApplication::processEvents();
        return Sent;
    }

    int Argc = 1;
    char Name[16] = "test_shell";
    char* Argv[2] = {Name, nullptr};
    QCoreApplication App{Argc, Argv};
    fs::path Root;
    QString Socket;
};

std::vector<THandOffMessage> Chars(std::u16string Text) {
    std::vector<THandOffMessage> M{{1025, 0}};
    for (char16_t C : Text)
        M.push_back({1026, C});
    M.push_back({1026, 0});
    return M;
}

} // namespace

TEST(HandOffMessages, OneCodeUnitPerMessage) {
    EXPECT_EQ(HandOffMessages("/a/\xC3\xA9"), Chars(u"/a/\u00e9"));
    EXPECT_EQ(HandOffMessages("\xF0\x9D\x84\x9E"), Chars(u"\U0001D11E")); // a surrogate pair
    EXPECT_EQ(HandOffMessages(""), Chars(u""));
    EXPECT_EQ(HandOffMessages(std::string("ab\0cd", 5)), Chars(u"ab"));

    // The wire form survives arbitrary splits.
    const std::vector<THandOffMessage> Sent = HandOffMessages("/x/\xC3\xA9.kdf");
    const std::string Bytes = EncodeHandOff(Sent);
    std::string Pending;
    std::vector<THandOffMessage> Received;
    for (size_t I = 0; I < Bytes.size(); I += 3) {
        Pending += Bytes.substr(I, 3);
        DecodeHandOff(Pending, Received);
    }
    EXPECT_EQ(Received, Sent);
    EXPECT_THAT(Pending, IsEmpty());
}

TEST(HandOffReceiver, OpensOnlyCompleteExistingPaths) {
    const fs::path Folder = fs::temp_directory_path();
    std::string Pattern = (Folder / "kvrecvXXXXXX").string();
    ASSERT_NE(::mkdtemp(Pattern.data()), nullptr);
    const std::string File = Pattern + "/plan.kdf";
    std::ofstream(File) << "x";

    std::vector<std::string> Opened;
    THandOffReceiver Receiver([&](const std::string& Path) { Opened.push_back(Path); });
    const auto Feed = [&](const std::vector<THandOffMessage>& Messages) {
        for (const THandOffMessage& M : Messages)
            EXPECT_TRUE(Receiver.ApplicationMessage(M.Msg, M.WParam));
    };

    EXPECT_FALSE(Receiver.ApplicationMessage(15, 0)); // not ours: normal processing goes on
    Feed(HandOffMessages(Pattern + "/./plan.kdf"));
    EXPECT_EQ(Receiver.ReceiveMessage(), Pattern + "/./plan.kdf"); // kept until the next start
    Feed(HandOffMessages(Pattern + "/missing.kdf"));
    Feed(HandOffMessages(""));
    EXPECT_EQ(Receiver.ReceiveMessage(), "");
    // A path longer than any file system takes is dropped whole, not grown without end.
    std::vector<THandOffMessage> Flood{{1025, 0}};
    for (char C : File)
        Flood.push_back({1026, static_cast<uint32_t>(C)});
    Flood.insert(Flood.end(), HandOffMaxPathUnits, {1026, '/'});
    Flood.push_back({1026, 0});
    Feed(Flood);
    EXPECT_EQ(Receiver.ReceiveMessage().size(), HandOffMaxPathUnits);

    EXPECT_THAT(Opened, ElementsAre(File));
    fs::remove_all(Pattern);
}

TEST_F(THandOffTest, SecondStartHandsItsFileToTheRunningViewer) {
    THandOffServer Server(Socket);
    QString Error;
    ASSERT_TRUE(Server.Listen(&Error)) << Error.toStdString();
    std::vector<std::string> Opened;
    QObject::connect(&Server, &THandOffServer::DocumentRequested,
                     [&](const QString& Path) { Opened.push_back(Path.toStdString()); });

    // A relative argument means the sender's current folder, not the receiver's.
    const fs::path Old = fs::current_path();
    fs::current_path(Root);
    const bool Sent = SendAndWait(QString::fromUtf8("sub/plan \xC3\xA9.kdf"), Opened, 1);
    fs::current_path(Old);
    EXPECT_TRUE(Sent);
    EXPECT_TRUE(SendAndWait(QString(), Opened, 1)); // no argument: nothing to open
    EXPECT_THAT(Opened, ElementsAre((Root / "sub/plan \xC3\xA9.kdf").string()));

    // A second viewer does not take the socket over from the running one.
    THandOffServer Second(Socket);
    EXPECT_FALSE(Second.Listen(&Error));
    EXPECT_TRUE(SendAndWait(QString::fromStdString((Root / "sub/plan \xC3\xA9.kdf").string()), Opened, 2));
    EXPECT_EQ(Opened.size(), 2u);
}

TEST_F(THandOffTest, SocketLeftByACrashDoesNotBlockTheNextStart) {
    // What a viewer that died leaves: a bound socket file nobody listens on.
    const int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(Fd, 0);
    sockaddr_un Address{};
    Address.sun_family = AF_UNIX;
    const std::string Path = Socket.toStdString();
    ASSERT_LT(Path.size(), sizeof Address.sun_path);
    std::copy(Path.begin(), Path.end(), Address.sun_path);
    ASSERT_EQ(::bind(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
    ::close(Fd);
    ASSERT_TRUE(fs::exists(Path));

    EXPECT_FALSE(SendToRunningInstance(QStringLiteral("/x.kdf"), Socket, 500));
    THandOffServer Server(Socket);
    QString Error;
    ASSERT_TRUE(Server.Listen(&Error)) << Error.toStdString();
    std::vector<std::string> Opened;
    QObject::connect(&Server, &THandOffServer::DocumentRequested,
                     [&](const QString& P) { Opened.push_back(P.toStdString()); });
    EXPECT_TRUE(SendAndWait(QString::fromStdString((Root / "sub/plan \xC3\xA9.kdf").string()), Opened, 1));
    EXPECT_EQ(Opened.size(), 1u);
}

TEST(HandOffSocket, NothingListeningMeansNoHandOff) {
    EXPECT_FALSE(
        SendToRunningInstance(QStringLiteral("/x.kdf"), QStringLiteral("/nonexistent/RUR0033"), 500));
    // Outside a runtime folder the name carries the user id, so users never share one.
    const bool WasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray Saved = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(HandOffSocketPath().endsWith(QStringLiteral("RUR0033-") + QString::number(::getuid())));
    if (WasSet) qputenv("XDG_RUNTIME_DIR", Saved);
}
