#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

// A minimal HTTP/1.1 server on 127.0.0.1 that records every request line
// and answers with a chosen status, or holds the answer until told.
class LoopbackHttpServer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LoopbackHttpServer)

public:
    struct Request
    {
        QByteArray method;
        QByteArray target; // path and query, as sent
        QPointer<QTcpSocket> connection;

        QByteArray path() const;
        // The query read the way a PHP script reads $_GET: split at "&" and
        // the first "=", "+" as a space, then percent-decoded as UTF-8.
        QList<QPair<QString, QString>> fields() const;
    };

    LoopbackHttpServer();

    bool listen();
    QUrl baseUrl() const;
    // 0 holds every answer until answer() is called.
    void setStatus(int status) { m_status = status; }
    void answer(qsizetype request, int status);

    // A loopback address where nothing listens, so connecting is refused.
    static QUrl refusingUrl();

    QList<Request> requests;

Q_SIGNALS:
    void requestReceived();

private:
    void accept();
    void read(QTcpSocket *connection);

    QTcpServer m_server;
    int m_status = 200;
};
