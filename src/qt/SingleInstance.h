#pragma once
// One viewer per user: a second start hands its file to the running viewer over a local socket
// and ends. The socket lives in the user's runtime folder (or, without one, in the temporary
// folder under a name with the user id) and is named after the main window's class.
#include "platform/HandOff.h"

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <map>
#include <memory>

class QLocalSocket;

// Full path of the hand-off socket for this user.
QString HandOffSocketPath();

// Hands FileArgument (made absolute first, since the running viewer has another current folder)
// to a viewer listening on SocketPath; "" sends only the opening and closing messages. True when
// a running viewer took the messages; false when none is listening, the socket is stale or it
// belongs to another user.
bool SendToRunningInstance(const QString& fileArgument, const QString& socketPath = HandOffSocketPath(),
                           int timeoutMs = 2000);

// The receiving end, owned by the main window.
class THandOffServer : public QObject {
    Q_OBJECT
public:
    explicit THandOffServer(QString socketPath = HandOffSocketPath(), QObject* parent = nullptr);
    ~THandOffServer() override;

    // Starts listening. A socket left by a viewer that ended without cleaning up is replaced; a
    // socket a running viewer answers on is not (false, ErrorText says so).
    bool Listen(QString* errorText = nullptr);
    const QString& SocketPath() const { return fSocketPath; }

signals:
    // A complete path of an existing file arrived, in its full form.
    void DocumentRequested(const QString& longFileName);

private:
    void AcceptConnections();
    void ReadFrom(QLocalSocket* socket);

    struct TConnection {
        std::string Pending;
        std::shared_ptr<THandOffReceiver> Receiver;
    };
    QString fSocketPath;
    QLocalServer fServer;
    std::map<QLocalSocket*, TConnection> fConnections;
};
