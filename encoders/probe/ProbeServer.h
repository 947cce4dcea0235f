#pragma once

#include <QLocalServer>

// Reads files' facts for the encoders of one batch, so that they need not
// load libavformat each. Every connected encoder is served on a thread of
// its own: a probe may take a while, and encoders run side by side.
class ProbeServer final : public QLocalServer
{
    Q_OBJECT

public:
    using QLocalServer::QLocalServer;

protected:
    void incomingConnection(quintptr socketDescriptor) override;
};
