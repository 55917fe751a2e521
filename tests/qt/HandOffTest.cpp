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
        std::string pattern = (fs::temp_directory_path() / "kvhandoffXXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        Root = pattern;
        fs::create_directories(Root / "sub");
        std::ofstream(Root / "sub/plan \xC3\xA9.kdf") << "x";
        Socket = QString::fromStdString((Root / "RUR0033").string());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
    }

    // Runs the event loop until Done holds; the deadline only keeps a broken build from hanging.
    static void ProcessUntil(const std::function<bool()>& done) {
        QDeadlineTimer deadline(20000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    // Sends from another thread, as a second process would, while this thread runs the loop.
    bool SendAndWait(const QString& argument, std::vector<std::string>& opened, size_t expected) {
        std::atomic<bool> sent = false, finished = false;
        std::thread sender([&] {
            sent = SendToRunningInstance(argument, Socket);
            finished = true;
        });
        ProcessUntil([&] { return finished && opened.size() >= expected; });
        sender.join();
        QCoreApplication::processEvents();
        return sent;
    }

    int Argc = 1;
    char Name[16] = "test_shell";
    char* Argv[2] = {Name, nullptr};
    QCoreApplication App{Argc, Argv};
    fs::path Root;
    QString Socket;
};

std::vector<THandOffMessage> Chars(std::u16string text) {
    std::vector<THandOffMessage> m{{1025, 0}};
    for (char16_t c : text)
        m.push_back({1026, c});
    m.push_back({1026, 0});
    return m;
}

} // namespace

TEST(HandOffMessages, OneCodeUnitPerMessage) {
    EXPECT_EQ(HandOffMessages("/a/\xC3\xA9"), Chars(u"/a/\u00e9"));
    EXPECT_EQ(HandOffMessages("\xF0\x9D\x84\x9E"), Chars(u"\U0001D11E")); // a surrogate pair
    EXPECT_EQ(HandOffMessages(""), Chars(u""));
    EXPECT_EQ(HandOffMessages(std::string("ab\0cd", 5)), Chars(u"ab"));

    // The wire form survives arbitrary splits.
    const std::vector<THandOffMessage> sent = HandOffMessages("/x/\xC3\xA9.kdf");
    const std::string bytes = EncodeHandOff(sent);
    std::string pending;
    std::vector<THandOffMessage> received;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        pending += bytes.substr(i, 3);
        DecodeHandOff(pending, received);
    }
    EXPECT_EQ(received, sent);
    EXPECT_THAT(pending, IsEmpty());
}

TEST(HandOffReceiver, HandsOnEveryCompletePath) {
    const fs::path folder = fs::temp_directory_path();
    std::string pattern = (folder / "kvrecvXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const std::string file = pattern + "/plan.kdf";
    std::ofstream(file) << "x";

    std::vector<std::string> opened;
    THandOffReceiver receiver([&](const std::string& path) { opened.push_back(path); });
    const auto feed = [&](const std::vector<THandOffMessage>& messages) {
        for (const THandOffMessage& m : messages)
            EXPECT_TRUE(receiver.ApplicationMessage(m.Msg, m.WParam));
    };

    EXPECT_FALSE(receiver.ApplicationMessage(15, 0)); // not ours: normal processing goes on
    feed(HandOffMessages(pattern + "/./plan.kdf"));
    EXPECT_EQ(receiver.ReceiveMessage(), pattern + "/./plan.kdf"); // kept until the next start
    feed(HandOffMessages(pattern + "/missing.kdf"));
    feed(HandOffMessages(""));
    EXPECT_EQ(receiver.ReceiveMessage(), "");
    // A path longer than any file system takes is dropped whole, not grown without end.
    std::vector<THandOffMessage> flood{{1025, 0}};
    for (char c : file)
        flood.push_back({1026, static_cast<uint32_t>(c)});
    flood.insert(flood.end(), HandOffMaxPathUnits, {1026, '/'});
    flood.push_back({1026, 0});
    feed(flood);
    EXPECT_EQ(receiver.ReceiveMessage().size(), HandOffMaxPathUnits);

    // A missing file is handed on as received, for the window to say so.
    EXPECT_THAT(opened, ElementsAre(file, pattern + "/missing.kdf"));
    fs::remove_all(pattern);
}

TEST_F(THandOffTest, SecondStartHandsItsFileToTheRunningViewer) {
    THandOffServer server(Socket);
    QString error;
    ASSERT_TRUE(server.Listen(&error)) << error.toStdString();
    std::vector<std::string> opened;
    QObject::connect(&server, &THandOffServer::DocumentRequested,
                     [&](const QString& path) { opened.push_back(path.toStdString()); });

    // A relative argument means the sender's current folder, not the receiver's.
    const fs::path old = fs::current_path();
    fs::current_path(Root);
    const bool sent = SendAndWait(QString::fromUtf8("sub/plan \xC3\xA9.kdf"), opened, 1);
    fs::current_path(old);
    EXPECT_TRUE(sent);
    EXPECT_TRUE(SendAndWait(QString(), opened, 1)); // no argument: nothing to open
    EXPECT_THAT(opened, ElementsAre((Root / "sub/plan \xC3\xA9.kdf").string()));

    // A second viewer does not take the socket over from the running one.
    THandOffServer second(Socket);
    EXPECT_FALSE(second.Listen(&error));
    EXPECT_TRUE(SendAndWait(QString::fromStdString((Root / "sub/plan \xC3\xA9.kdf").string()), opened, 2));
    EXPECT_EQ(opened.size(), 2u);
}

TEST_F(THandOffTest, SocketLeftByACrashDoesNotBlockTheNextStart) {
    // What a viewer that died leaves: a bound socket file nobody listens on.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = Socket.toStdString();
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(fs::exists(path));

    EXPECT_FALSE(SendToRunningInstance(QStringLiteral("/x.kdf"), Socket, 500));
    THandOffServer server(Socket);
    QString error;
    ASSERT_TRUE(server.Listen(&error)) << error.toStdString();
    std::vector<std::string> opened;
    QObject::connect(&server, &THandOffServer::DocumentRequested,
                     [&](const QString& p) { opened.push_back(p.toStdString()); });
    EXPECT_TRUE(SendAndWait(QString::fromStdString((Root / "sub/plan \xC3\xA9.kdf").string()), opened, 1));
    EXPECT_EQ(opened.size(), 1u);
}

TEST(HandOffSocket, NothingListeningMeansNoHandOff) {
    EXPECT_FALSE(
        SendToRunningInstance(QStringLiteral("/x.kdf"), QStringLiteral("/nonexistent/RUR0033"), 500));
    // Outside a runtime folder the name carries the user id, so users never share one.
    const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_TRUE(HandOffSocketPath().endsWith(QStringLiteral("RUR0033-") + QString::number(::getuid())));
    if (wasSet) qputenv("XDG_RUNTIME_DIR", saved);
}
