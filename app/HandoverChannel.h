// The channel between a second start of the program and the one already running on the same
// program folder: a local socket beside the single-instance lock (cw20.sock). The second start
// sends the project file it was given (an absolute path, or nothing) as one line and ends once
// the running program has confirmed it; the running program comes forward and opens the file.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

class QLocalSocket;

// The socket's name in the program folder, beside the lock file cw20.key.
inline constexpr char kHandoverSocketName[] = "cw20.sock";

// The running program's end. Listen only while holding the folder's lock: the socket file of an
// earlier program that ended without cleaning up is then known to be stale and is replaced.
class HandoverServer : public QObject {
    Q_OBJECT
public:
    explicit HandoverServer(QObject* parent = nullptr);

    // False when the socket cannot be made (a path too long for a local socket, a read-only
    // folder): second starts then simply end, as without a channel.
    bool Listen(const QString& socketPath);

signals:
    // A second start asked to be heard: path is its project file, empty when it named none.
    void HandedOver(const QString& path);

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QLocalServer server_;
};

// The second start's end: hands `file` (empty: none) to the program listening at socketPath.
// False when no program took it within the time allowed.
bool HandOverToRunningProgram(const QString& socketPath, const QString& file);
