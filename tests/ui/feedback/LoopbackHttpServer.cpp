#include "tests/ui/feedback/LoopbackHttpServer.h"

#include <QHostAddress>

using namespace Qt::StringLiterals;

QByteArray LoopbackHttpServer::Request::path() const
{
    return target.left(target.indexOf('?'));
}

QList<QPair<QString, QString>> LoopbackHttpServer::Request::fields() const
{
    const auto decode = [](QByteArray text) {
        return QUrl::fromPercentEncoding(text.replace('+', ' '));
    };
    QList<QPair<QString, QString>> result;
    const qsizetype queryStart = target.indexOf('?');
    if (queryStart < 0)
        return result;
    for (const QByteArray &pair : target.mid(queryStart + 1).split('&')) {
        const qsizetype equals = pair.indexOf('=');
        result.append(
            {decode(pair.left(equals)), equals < 0 ? QString() : decode(pair.mid(equals + 1))});
    }
    return result;
}

LoopbackHttpServer::LoopbackHttpServer()
{
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
}

bool LoopbackHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost);
}

QUrl LoopbackHttpServer::baseUrl() const
{
    return QUrl(u"http://127.0.0.1:%1/"_s.arg(m_server.serverPort()));
}

void LoopbackHttpServer::answer(qsizetype request, int status)
{
    QTcpSocket *connection = requests.at(request).connection;
    if (!connection)
        return;
    connection->write("HTTP/1.1 " + QByteArray::number(status) +
                      " Status\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
    connection->disconnectFromHost();
}

QUrl LoopbackHttpServer::refusingUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(u"http://127.0.0.1:%1/"_s.arg(port));
}

void LoopbackHttpServer::accept()
{
    while (QTcpSocket *connection = m_server.nextPendingConnection()) {
        connect(connection, &QTcpSocket::readyRead, this, [this, connection] { read(connection); });
        connect(connection, &QTcpSocket::disconnected, connection, &QObject::deleteLater);
    }
}

// Only the request line matters; the headers are read until the blank line
// that ends them (a GET carries no body).
void LoopbackHttpServer::read(QTcpSocket *connection)
{
    if (!connection->canReadLine() || !connection->peek(64 * 1024).contains("\r\n\r\n"))
        return;
    const QList<QByteArray> requestLine = connection->readLine().trimmed().split(' ');
    connection->readAll();
    requests.append({requestLine.value(0), requestLine.value(1), connection});
    if (m_status != 0)
        answer(requests.size() - 1, m_status);
    Q_EMIT requestReceived();
}
