#pragma once

#include <QDBusConnection>

// The bus of the user's desktop session; a connection that is not
// connected where there is none.
class DesktopBuses final
{
public:
    static QDBusConnection session();
};
