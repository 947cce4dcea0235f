#include "ui/PathHandOver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <QUtf8StringView>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A signature, then each absolute path as the file system names it, ended
// by a zero byte, which no path holds; an empty path ends the list.
constexpr QByteArrayView Signature = "ZENVORA-PATHS 1\n";
constexpr char PathEnd = '\0';
constexpr char Taken = '+';
constexpr char Refused = '-';
// Far more than any file manager passes at once; a longer message is not ours.
constexpr qint64 MaxMessageBytes = 64 * 1024 * 1024;
constexpr qsizetype MaxPaths = 100000;
constexpr int RetryMs = 50;

QByteArray encode(const QStringList &paths)
{
    QByteArray message = Signature.toByteArray();
    for (const QString &path : paths) {
        if (!path.isEmpty())
            message += QFile::encodeName(path) + PathEnd;
    }
    return message + PathEnd;
}

// An absolute path in UTF-8 without control characters: anything else is
// not what a second start sends.
bool isWellFormedPath(QByteArrayView bytes)
{
    return bytes.startsWith('/') && QUtf8StringView(bytes.data(), bytes.size()).isValidUtf8() &&
           std::none_of(bytes.begin(), bytes.end(), [](char byte) {
               const auto code = static_cast<unsigned char>(byte);
               return code < 0x20 || code == 0x7f;
           });
}

// What a message holds once it has all arrived.
struct Received
{
    bool complete = false;
    bool wellFormed = false;
    QStringList paths;
};

Received decode(const QByteArray &message)
{
    if (!message.startsWith(Signature.first(std::min(Signature.size(), message.size()))))
        return {true, false, {}};
    Received received;
    qsizetype start = Signature.size();
    for (qsizetype end = message.indexOf(PathEnd, start); end >= 0;
         start = end + 1, end = message.indexOf(PathEnd, start)) {
        if (end == start) {
            received.complete = true;
            received.wellFormed = true;
            return received;
        }
        const QByteArrayView path = QByteArrayView(message).sliced(start, end - start);
        if (!isWellFormedPath(path) || received.paths.size() >= MaxPaths)
            return {true, false, {}};
        received.paths.append(QFile::decodeName(path.toByteArray()));
    }
    return received;
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
    const Received received = decode(socket->peek(socket->bytesAvailable()));
    if (!received.complete && socket->bytesAvailable() <= MaxMessageBytes)
        return;
    socket->readAll();
    // Nothing of a message that is not a second start's own is queued.
    if (received.wellFormed)
        Q_EMIT pathsReceived(received.paths);
    socket->write(QByteArray(1, received.wellFormed ? Taken : Refused));
    socket->disconnectFromServer();
}
