// A file manager for the real-window tests: it takes the session bus name
// org.freedesktop.FileManager1 and writes each call it receives, one line
// per call ("ShowItems URI..."), to the file named on its command line.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QObject>
#include <QStringList>

#include <cstdio>

class FileManager final : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    explicit FileManager(QString logFile) : m_logFile(std::move(logFile)) {}

public Q_SLOTS:
    void ShowFolders(const QStringList &uris, const QString &) { log(u"ShowFolders", uris); }
    void ShowItems(const QStringList &uris, const QString &) { log(u"ShowItems", uris); }

private:
    void log(QStringView method, const QStringList &uris)
    {
        QFile file(m_logFile);
        if (file.open(QIODevice::Append))
            file.write((method.toString() + u' ' + uris.join(u' ') + u'\n').toUtf8());
    }

    QString m_logFile;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: fake_file_manager LOG_FILE\n");
        return 2;
    }
    FileManager manager(app.arguments().at(1));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.FileManager1"))) {
        std::fprintf(stderr, "fake_file_manager: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    return app.exec();
}

#include "fake_file_manager.moc"
