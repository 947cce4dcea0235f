#pragma once

#include <QDBusConnection>

// The buses of the user's desktop session and of the machine, each a
// connection that is not connected where there is none.
class DesktopBuses final
{
public:
    static QDBusConnection session();
    static QDBusConnection system();
};
