#include "encoders/probe/ProbeServer.h"
#include "encoders/system/PosixSignals.h"
#include "encoders/system/ProcessGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

// probe-server SOCKET: answers on the local socket SOCKET until the program
// that started it ends it or dies.
int main(int argc, char *argv[])
{
    if (!ProcessGroup::bindToParent())
        return 1;
    QCoreApplication application(argc, argv);
    PosixSignals signalWatcher;
    QObject::connect(&signalWatcher, &PosixSignals::terminationRequested, &application,
                     &QCoreApplication::quit);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2) {
        std::fputs("usage: probe-server SOCKET\n", stderr);
        return 2;
    }
    ProbeServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server.listen(arguments.at(1))) {
        std::fprintf(stderr, "probe-server: %s\n", qPrintable(server.errorString()));
        return 1;
    }
    const int status = QCoreApplication::exec();
    // Ended by a signal: the program that made the socket's folder died
    // without removing it, so the server removes its socket and the folder.
    server.close();
    QDir().rmdir(QFileInfo(arguments.at(1)).path());
    return status;
}
