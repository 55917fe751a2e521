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
bool IsOwnSocketOrAbsent(const QString& path, bool& exists) {
    struct stat info {};
    exists = ::lstat(QFile::encodeName(path).constData(), &info) == 0;
    return !exists || (S_ISSOCK(info.st_mode) && info.st_uid == ::getuid());
}

// A viewer that is running accepts the connection; a socket file left by a crash refuses it.
bool SomeoneListens(const QString& path, int timeoutMs) {
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool connected = probe.waitForConnected(timeoutMs);
    if (connected) probe.disconnectFromServer();
    return connected;
}

} // namespace

QString HandOffSocketPath() {
    const QString name = QString::fromLatin1(HandOffWindowClass);
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && runtime.startsWith('/') && QFileInfo(QString::fromLocal8Bit(runtime)).isDir())
        return QString::fromLocal8Bit(runtime) + QLatin1Char('/') + QStringLiteral("korvane-viewer-") + name;
    return QDir::tempPath() + QLatin1Char('/') + QStringLiteral("korvane-viewer-") + name + QLatin1Char('-') +
           QString::number(::getuid());
}

bool SendToRunningInstance(const QString& fileArgument, const QString& socketPath, int timeoutMs) {
    bool exists = false;
    if (!IsOwnSocketOrAbsent(socketPath, exists) || !exists) return false;

    std::string path = fileArgument.toStdString();
    if (!path.empty()) {
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
        if (!error) path = absolute.lexically_normal().string();
    }
    const std::string bytes = EncodeHandOff(HandOffMessages(path));

    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
    // Delivered to the receiver's queue is enough: the receiver opens the file in its own time.
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(timeoutMs)) return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeoutMs);
    return true;
}

THandOffServer::THandOffServer(QString socketPath, QObject* parent)
    : QObject(parent), fSocketPath(std::move(socketPath)) {
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

bool THandOffServer::Listen(QString* errorText) {
    // Look before listening: with access options set, QLocalServer binds elsewhere and renames
    // its socket into place, which would silently take the name from a running viewer.
    bool exists = false;
    if (!IsOwnSocketOrAbsent(fSocketPath, exists)) {
        if (errorText)
            *errorText = qtr("The file %1 is in the way and belongs to someone else.").arg(fSocketPath);
        return false;
    }
    if (exists && SomeoneListens(fSocketPath, 500)) {
        if (errorText) *errorText = qtr("Another viewer is already running.");
        return false;
    }
    // Left behind by a viewer that ended without removing it.
    if (exists) QLocalServer::removeServer(fSocketPath);
    if (fServer.listen(fSocketPath)) return true;
    if (errorText) *errorText = fServer.errorString();
    return false;
}

void THandOffServer::AcceptConnections() {
    while (QLocalSocket* socket = fServer.nextPendingConnection()) {
        TConnection& connection = fConnections[socket];
        connection.Receiver = std::make_shared<THandOffReceiver>([this](const std::string& longFileName) {
            emit DocumentRequested(QString::fromStdString(longFileName));
        });
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            ReadFrom(socket);
            fConnections.erase(socket);
            socket->deleteLater();
        });
        ReadFrom(socket);
    }
}

void THandOffServer::ReadFrom(QLocalSocket* socket) {
    auto it = fConnections.find(socket);
    if (it == fConnections.end()) return;
    const QByteArray data = socket->readAll();
    it->second.Pending.append(data.constData(), static_cast<size_t>(data.size()));
    std::vector<THandOffMessage> messages;
    DecodeHandOff(it->second.Pending, messages);
    // The receiver may open a drawing, which may run the event loop: look the connection up anew.
    for (const THandOffMessage& m : messages) {
        it = fConnections.find(socket);
        if (it == fConnections.end()) return;
        const std::shared_ptr<THandOffReceiver> receiver = it->second.Receiver; // outlives a nested erase
        receiver->ApplicationMessage(m.Msg, m.WParam);
    }
}
