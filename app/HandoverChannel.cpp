#include "app/HandoverChannel.h"

#include <QFileInfo>
#include <QLocalSocket>

namespace {

// A path longer than this is no project file a second start would send: the sender is dropped.
constexpr qint64 kMaxLineBytes = 8192;
// The running program answers as soon as it has read the line, before it asks anything, so a
// few seconds cover a program busy painting; a program that never answers must not keep the
// second start waiting for ever.
constexpr int kConnectTimeoutMs = 3000;
constexpr int kAnswerTimeoutMs = 5000;
const QByteArray kTaken = QByteArrayLiteral("taken\n");

}  // namespace

HandoverServer::HandoverServer(QObject* parent) : QObject(parent) {
    // Only the user's own programs may hand files to this one.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &HandoverServer::Accept);
}

bool HandoverServer::Listen(const QString& socketPath) {
    QLocalServer::removeServer(socketPath);
    return server_.listen(socketPath);
}

void HandoverServer::Accept() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    }
}

void HandoverServer::Read(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxLineBytes)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine();
    if (line.size() > kMaxLineBytes) {
        socket->abort();
        return;
    }
    const QString path = QString::fromUtf8(line.chopped(1));
    socket->write(kTaken);
    socket->disconnectFromServer();
    emit HandedOver(path);
}

bool HandOverToRunningProgram(const QString& socketPath, const QString& file) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    // The running program has another working folder: a relative name is made whole here.
    const QString path = file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath();
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kConnectTimeoutMs))
        return false;
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(kAnswerTimeoutMs))
            return false;
    }
    return socket.readLine() == kTaken;
}
