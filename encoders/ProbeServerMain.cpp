#include "PosixSignals.h"
#include "ProbeServer.h"

#include <QCoreApplication>

#include <cstdio>

// probe-server SOCKET: answers on the local socket SOCKET until the program
// that started it ends it or dies.
int main(int argc, char *argv[])
{
    if (!PosixSignals::bindToParent())
        return 1;
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: probe-server SOCKET\n", stderr);
        return 2;
    }
    // The socket's folder is the starting program's own: what is left there
    // is a socket of an earlier server of the same program.
    QLocalServer::removeServer(arguments.at(1));
    ProbeServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server.listen(arguments.at(1))) {
        std::fprintf(stderr, "probe-server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    return QCoreApplication::exec();
}
