#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include <cstdio>

// Until the window exists, starting Zenvora checks that its three encoders
// and the system's ffmpeg are ready, and says so.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("Zenvora: the main window is not built yet. Checking the encoders instead.\n");
    const QDir data(QCoreApplication::applicationDirPath() + QStringLiteral("/data"));
    int failures = 0;
    for (const QString name : {QStringLiteral("conv.exe"), QStringLiteral("coder.exe"),
                               QStringLiteral("coder2.exe")}) {
        QProcess check;
        check.setProcessChannelMode(QProcess::ForwardedChannels);
        check.start(data.filePath(name), {QStringLiteral("--self-check")});
        const bool passed = check.waitForFinished(30000) && check.exitStatus() == QProcess::NormalExit &&
                            check.exitCode() == 0;
        std::printf("%s: %s\n", qPrintable(name), passed ? "ready" : "NOT READY");
        failures += passed ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
