#include "desktop/DesktopBuses.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

// Without a bus address libdbus would start a bus of its own for the
// display, which outlives the program; a desktop session always has one.
QDBusConnection DesktopBuses::session()
{
    const bool sessionHasOne =
        qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS") ||
        QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + u"/bus"_s);
    return sessionHasOne ? QDBusConnection::sessionBus() : QDBusConnection(QString());
}
