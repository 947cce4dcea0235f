// Start-up time of the window as a user meets it: from starting the program
// to its first painted frame, on a virtual X display (Xvfb), each round with
// fresh settings. The program reports the frame itself when asked to.

#include "bench/BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace BenchSupport;

namespace {

constexpr int Rounds = 9;
constexpr int TimeoutMilliseconds = 10000;
const QString Display = u":73"_s;

double untilFirstFrame(const QString &program, const QString &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, Display);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    environment.insert(u"HOME"_s, home);
    environment.insert(u"XDG_CONFIG_HOME"_s, home + u"/config"_s);
    environment.insert(u"XDG_CACHE_HOME"_s, home + u"/cache"_s);
    environment.insert(u"XDG_RUNTIME_DIR"_s, home);
    environment.insert(u"ZENVORA_REPORT_FIRST_PAINT"_s, u"1"_s);
    QProcess window;
    window.setProcessEnvironment(environment);
    window.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QElapsedTimer clock;
    clock.start();
    window.start(program, {}, QIODevice::ReadOnly);
    QByteArray said;
    while (!said.contains("first frame painted") && clock.elapsed() < TimeoutMilliseconds &&
           window.state() != QProcess::NotRunning) {
        window.waitForReadyRead(50);
        said += window.readAllStandardError();
    }
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    window.kill();
    window.waitForFinished();
    if (!said.contains("first frame painted")) {
        std::fprintf(stderr, "window_start: no frame: %s\n", said.constData());
        return -1.0;
    }
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    QTemporaryDir home;
    if (xvfb.isEmpty() || !home.isValid()) {
        std::fprintf(stderr, "window_start: needs Xvfb\n");
        return 1;
    }
    QProcess server;
    server.start(xvfb, {Display, u"-screen"_s, u"0"_s, u"1024x768x24"_s, u"-nolisten"_s, u"tcp"_s});
    QThread::msleep(500);
    const QString program = programFolder() + u"/zenvora"_s;
    QList<double> times;
    for (int round = 0; round < Rounds; ++round) {
        const double seconds = untilFirstFrame(program, home.path());
        if (seconds < 0)
            return 1;
        times.append(seconds);
    }
    server.terminate();
    server.waitForFinished();
    std::printf("window start to first painted frame under Xvfb: median %.3f s over %d starts "
                "(target <= 0.300 s)\n",
                median(times), Rounds);
    return 0;
}
