#include "encoders/probe/ProbeClient.h"

#include "encoders/probe/ProbeWire.h"

#include <QCoreApplication>
#include <QLocalSocket>

using namespace Qt::StringLiterals;

namespace {

constexpr int ConnectTimeoutMilliseconds = 1000;
// A probe reads a few seconds of a file at most; a server that takes longer
// is stuck, and the encoder reads the file itself.
constexpr int ReplyTimeoutMilliseconds = 60000;

} // namespace

ProbeClient::ProbeClient(QString serverName) : m_serverName(std::move(serverName)) {}

ProbeClient::~ProbeClient() = default;

std::optional<MediaInfo> ProbeClient::read(const QString &path, QString *error)
{
    const QByteArray request = ProbeWire::encodeRequest(path);
    std::optional<QByteArray> bytes = askServer(request);
    if (!bytes)
        bytes = askModule(request, error);
    if (!bytes)
        return std::nullopt;
    std::optional<ProbeWire::Reply> reply = ProbeWire::decodeReply(*bytes);
    if (!reply) {
        if (error)
            *error = u"the file reader gave a malformed answer"_s;
        return std::nullopt;
    }
    if (error)
        *error = reply->error;
    return std::move(reply->info);
}

// Once the server has failed, it is not asked again: it may have died on a
// file that would bring it down a second time.
std::optional<QByteArray> ProbeClient::askServer(const QByteArray &request)
{
    if (m_serverName.isEmpty())
        return std::nullopt;
    if (!m_socket) {
        m_socket = std::make_unique<QLocalSocket>();
        m_socket->connectToServer(m_serverName);
        if (!m_socket->waitForConnected(ConnectTimeoutMilliseconds)) {
            m_serverName.clear();
            return std::nullopt;
        }
    }
    std::optional<QByteArray> reply;
    if (ProbeWire::writeFrame(*m_socket, request))
        reply = ProbeWire::readFrame(*m_socket, ReplyTimeoutMilliseconds);
    if (!reply || reply->isEmpty()) {
        m_socket->abort();
        m_serverName.clear();
        return std::nullopt;
    }
    return reply;
}

std::optional<QByteArray> ProbeClient::askModule(const QByteArray &request, QString *error)
{
    if (!m_probe) {
        m_module.setFileName(QCoreApplication::applicationDirPath() + u'/' + ModuleName);
        m_probe = reinterpret_cast<ProbeFunction>(m_module.resolve(ModuleFunction));
        if (!m_probe) {
            if (error)
                *error = u"the file reader cannot be loaded: %1"_s.arg(m_module.errorString());
            return std::nullopt;
        }
    }
    QByteArray reply;
    m_probe(&request, &reply);
    return reply;
}
