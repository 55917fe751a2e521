#include "qt/SingleInstance.h"

#include "qt/QtTranslate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A socket file someone else made could collect our paths or block our start: talk only to
// sockets owned by this user.
bool IsOwnSocketOrAbsent(const QString& Path, bool& Exists) {
    struct stat Info {};
    Exists = ::lstat(QFile::encodeName(Path).constData(), &Info) == 0;
    return !Exists || (S_ISSOCK(Info.st_mode) && Info.st_uid == ::getuid());
}

// A viewer that is running accepts the connection; a socket file left by a crash refuses it.
bool SomeoneListens(const QString& Path, int TimeoutMs) {
    QLocalSocket Probe;
    Probe.connectToServer(Path);
    const bool Connected = Probe.waitForConnected(TimeoutMs);
    if (Connected) Probe.disconnectFromServer();
    return Connected;
}

} // namespace

QString HandOffSocketPath() {
    const QString Name = QString::fromLatin1(HandOffWindowClass);
    const QByteArray Runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!Runtime.isEmpty() && Runtime.startsWith('/') && QFileInfo(QString::fromLocal8Bit(Runtime)).isDir())
        return QString::fromLocal8Bit(Runtime) + QLatin1Char('/') + QStringLiteral("korvane-viewer-") + Name;
    return QDir::tempPath() + QLatin1Char('/') + QStringLiteral("korvane-viewer-") + Name + QLatin1Char('-') +
           QString::number(::getuid());
}

bool SendToRunningInstance(const QString& FileArgument, const QString& SocketPath, int TimeoutMs) {
    bool Exists = false;
    if (!IsOwnSocketOrAbsent(SocketPath, Exists) || !Exists) return false;

    std::string Path = FileArgument.toStdString();
    if (!Path.empty()) {
        std::error_code Error;
        const std::filesystem::path Absolute = std::filesystem::absolute(std::filesystem::path(Path), Error);
        if (!Error) Path = Absolute.lexically_normal().string();
    }
    const std::string Bytes = EncodeHandOff(HandOffMessages(Path));

    QLocalSocket Socket;
    Socket.connectToServer(SocketPath);
    if (!Socket.waitForConnected(TimeoutMs)) return false;
    Socket.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    // Delivered to the receiver's queue is enough: the receiver opens the file in its own time.
    while (Socket.bytesToWrite() > 0)
        if (!Socket.waitForBytesWritten(TimeoutMs)) return false;
    Socket.disconnectFromServer();
    if (Socket.state() != QLocalSocket::UnconnectedState) Socket.waitForDisconnected(TimeoutMs);
    return true;
}

THandOffServer::THandOffServer(QString SocketPath, QObject* Parent)
    : QObject(Parent), fSocketPath(std::move(SocketPath)) {
    fServer.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&fServer, &QLocalServer::newConnection, this, &THandOffServer::AcceptConnections);
}

THandOffServer::~THandOffServer() {
    // The sockets are children of the server; forget them before it deletes them.
    for (auto& [Socket, Connection] : fConnections)
        Socket->disconnect(this);
    fConnections.clear();
    fServer.close();
}

bool THandOffServer::Listen(QString* ErrorText) {
    // Look before listening: with access options set, QLocalServer binds elsewhere and renames
    // its socket into place, which would silently take the name from a running viewer.
    bool Exists = false;
    if (!IsOwnSocketOrAbsent(fSocketPath, Exists)) {
        if (ErrorText)
            *ErrorText = qtr("The file %1 is in the way and belongs to someone else.").arg(fSocketPath);
        return false;
    }
    if (Exists && SomeoneListens(fSocketPath, 500)) {
        if (ErrorText) *ErrorText = qtr("Another viewer is already running.");
        return false;
    }
    // Left behind by a viewer that ended without removing it.
    if (Exists) QLocalServer::removeServer(fSocketPath);
    if (fServer.listen(fSocketPath)) return true;
    if (ErrorText) *ErrorText = fServer.errorString();
    return false;
}

void THandOffServer::AcceptConnections() {
    while (QLocalSocket* Socket = fServer.nextPendingConnection()) {
        TConnection& Connection = fConnections[Socket];
        Connection.Receiver = std::make_shared<THandOffReceiver>([this](const std::string& LongFileName) {
            emit DocumentRequested(QString::fromStdString(LongFileName));
        });
        connect(Socket, &QLocalSocket::readyRead, this, [this, Socket] { ReadFrom(Socket); });
        connect(Socket, &QLocalSocket::disconnected, this, [this, Socket] {
            ReadFrom(Socket);
            fConnections.erase(Socket);
            Socket->deleteLater();
        });
        ReadFrom(Socket);
    }
}

void THandOffServer::ReadFrom(QLocalSocket* Socket) {
    auto It = fConnections.find(Socket);
    if (It == fConnections.end()) return;
    const QByteArray Data = Socket->readAll();
    It->second.Pending.append(Data.constData(), static_cast<size_t>(Data.size()));
    std::vector<THandOffMessage> Messages;
    DecodeHandOff(It->second.Pending, Messages);
    // The receiver may open a drawing, which may run the event loop: look the connection up anew.
    for (const THandOffMessage& M : Messages) {
        It = fConnections.find(Socket);
        if (It == fConnections.end()) return;
        const std::shared_ptr<THandOffReceiver> Receiver = It->second.Receiver; // outlives a nested erase
        Receiver->ApplicationMessage(M.Msg, M.WParam);
    }
}
