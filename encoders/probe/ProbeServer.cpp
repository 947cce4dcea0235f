#include "encoders/probe/ProbeServer.h"

#include "encoders/probe/MediaProbe.h"
#include "encoders/probe/ProbeWire.h"

#include <QLocalSocket>
#include <QThread>

namespace {

// Until the encoder hangs up or sends something that is not a request.
void serve(quintptr socketDescriptor)
{
    QLocalSocket socket;
    if (!socket.setSocketDescriptor(socketDescriptor))
        return;
    while (const std::optional<QByteArray> request = ProbeWire::readFrame(socket, -1)) {
        const QByteArray reply = MediaProbe::answer(*request);
        if (reply.isEmpty() || !ProbeWire::writeFrame(socket, reply))
            return;
    }
}

} // namespace

void ProbeServer::incomingConnection(quintptr socketDescriptor)
{
    QThread *thread = QThread::create(serve, socketDescriptor);
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}
