#pragma once

#include <QLocalServer>
#include <QObject>
#include <QStringList>

class QLocalSocket;

// Hands the files of a second start to the copy that already runs, so that
// "Open with" from a file manager adds to the running queue. The running
// copy listens on a local socket beside its lock file, in the same private
// folder; a second start sends its paths there and ends once they have been
// taken.
class PathHandOver final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PathHandOver)

public:
    explicit PathHandOver(QObject *parent = nullptr);

    static QString socketPath(const QString &lockFolder);

    // For the copy that holds the lock; false when no socket can be made.
    bool listen(const QString &lockFolder);
    QString errorString() const { return m_server.errorString(); }

    // For a second start: true once the running copy has taken the paths.
    // Waits up to timeoutMs, as the running copy may still be starting.
    static bool send(const QString &lockFolder, const QStringList &paths, int timeoutMs);

Q_SIGNALS:
    void pathsReceived(const QStringList &paths);

private:
    void acceptConnections();
    void receive(QLocalSocket *socket);

    QLocalServer m_server;
};
