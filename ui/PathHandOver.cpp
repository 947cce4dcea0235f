#include "PathHandOver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Each path as the file system names it, ended by a zero byte, which no
// path holds; an empty path ends the list.
constexpr char PathEnd = '\0';
constexpr char Taken = '+';
// Far more than any file manager passes at once; a longer message is not ours.
constexpr qint64 MaxMessageBytes = 64 * 1024 * 1024;
constexpr int RetryMs = 50;

QByteArray encode(const QStringList &paths)
{
    QByteArray message;
    for (const QString &path : paths) {
        if (!path.isEmpty())
            message += QFile::encodeName(path) + PathEnd;
    }
    return message + PathEnd;
}

// The paths once the whole list has arrived.
std::optional<QStringList> decode(const QByteArray &message)
{
    QStringList paths;
    qsizetype start = 0;
    for (qsizetype end = message.indexOf(PathEnd); end >= 0;
         start = end + 1, end = message.indexOf(PathEnd, start)) {
        if (end == start)
            return paths;
        paths.append(QFile::decodeName(message.mid(start, end - start)));
    }
    return std::nullopt;
}

int remainingMs(const QDeadlineTimer &deadline)
{
    return static_cast<int>(deadline.remainingTime());
}

bool connectWithin(QLocalSocket &socket, const QString &path, const QDeadlineTimer &deadline)
{
    for (;;) {
        socket.connectToServer(path);
        if (socket.waitForConnected(remainingMs(deadline)))
            return true;
        // Refused or missing: the running copy may not be listening yet.
        if (deadline.hasExpired())
            return false;
        QThread::msleep(RetryMs);
    }
}

} // namespace

PathHandOver::PathHandOver(QObject *parent) : QObject(parent)
{
    // Only this user's own starts may add to the queue.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &PathHandOver::acceptConnections);
}

QString PathHandOver::socketPath(const QString &lockFolder)
{
    return lockFolder + u"/zenvora.socket"_s;
}

bool PathHandOver::listen(const QString &lockFolder)
{
    const QString path = socketPath(lockFolder);
    // Whoever holds the lock owns the socket; one left there is a crashed copy's.
    QLocalServer::removeServer(path);
    return m_server.listen(path);
}

bool PathHandOver::send(const QString &lockFolder, const QStringList &paths, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    if (!connectWithin(socket, socketPath(lockFolder), deadline))
        return false;
    socket.write(encode(paths));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(remainingMs(deadline)))
            return false;
    }
    return socket.waitForReadyRead(remainingMs(deadline)) && socket.read(1) == QByteArray(1, Taken);
}

void PathHandOver::acceptConnections()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
    }
}

void PathHandOver::receive(QLocalSocket *socket)
{
    if (socket->bytesAvailable() > MaxMessageBytes) {
        socket->abort();
        return;
    }
    const std::optional<QStringList> paths = decode(socket->peek(socket->bytesAvailable()));
    if (!paths)
        return;
    socket->readAll();
    Q_EMIT pathsReceived(*paths);
    socket->write(QByteArray(1, Taken));
    socket->disconnectFromServer();
}
