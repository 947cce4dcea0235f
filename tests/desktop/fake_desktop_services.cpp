// The desktop's services for the real-window scripts, on the session bus
// (or with --system on the system bus): each call they receive is a line
// of LOG_FILE.
// Usage: fake_desktop_services [--system] LOG_FILE SERVICE...
#include "tests/desktop/FakeDesktopServices.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    const bool system = !arguments.isEmpty() && arguments.first() == QLatin1String("--system");
    if (system)
        arguments.removeFirst();
    if (arguments.size() < 2) {
        std::fprintf(stderr, "usage: fake_desktop_services [--system] LOG_FILE SERVICE...\n");
        return 2;
    }
    FakeDesktopServices::Services services;
    for (const QString &name : arguments.mid(1)) {
        const std::optional<FakeDesktopServices::Service> service =
            FakeDesktopServices::named(name);
        if (!service) {
            std::fprintf(stderr, "fake_desktop_services: no service %s\n", qPrintable(name));
            return 2;
        }
        services |= *service;
    }
    const FakeDesktopServices fakes(system ? QDBusConnection::systemBus()
                                           : QDBusConnection::sessionBus(),
                                    services, arguments.first());
    if (!fakes.error().isEmpty()) {
        std::fprintf(stderr, "fake_desktop_services: %s\n", qPrintable(fakes.error()));
        return 1;
    }
    return app.exec();
}
