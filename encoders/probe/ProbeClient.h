#pragma once

#include "encoders/probe/MediaInfo.h"

#include <QLibrary>
#include <QString>

#include <memory>
#include <optional>

class QLocalSocket;

// Reads a file's facts for the encoder: from the probe server of the batch
// the encoder runs in, which has libavformat loaded already, or else, when
// there is none or it does not answer, with the probe module loaded into
// this process. Loading libavformat with everything it links takes longer
// than most probes.
class ProbeClient final
{
public:
    // serverName: the local socket of the batch's probe server, or empty.
    explicit ProbeClient(QString serverName);
    ~ProbeClient();

    // As MediaProbe::read.
    std::optional<MediaInfo> read(const QString &path, QString *error = nullptr);

    // The module's file name and its one function.
    static constexpr QLatin1StringView ModuleName{"probe.so"};
    static constexpr const char *ModuleFunction = "zenvora_probe";

private:
    std::optional<QByteArray> askServer(const QByteArray &request);
    std::optional<QByteArray> askModule(const QByteArray &request, QString *error);

    QString m_serverName;
    std::unique_ptr<QLocalSocket> m_socket;
    QLibrary m_module;
    using ProbeFunction = void (*)(const QByteArray *request, QByteArray *reply);
    ProbeFunction m_probe = nullptr;
};
