#include "desktop/XdgOpen.h"

#include <QCoreApplication>
#include <QProcess>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void tellStandardError(const QString &line)
{
    std::fprintf(stderr, "zenvora: %s\n", qUtf8Printable(line));
}

} // namespace

// xdg-open exits once the program it chose has taken the page, or when
// there is none (status 3) or the program failed (4). Some programs keep it
// waiting until they close: the caller never waits for it.
void XdgOpen::open(const QUrl &url, std::function<void()> failed)
{
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProgram(u"xdg-open"_s);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::finished, process,
                     [process, url, failed](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status == QProcess::NormalExit && exitCode == 0)
                             return;
                         tellStandardError(u"xdg-open could not open %1 (exit status %2)"_s.arg(
                             url.toDisplayString(), QString::number(exitCode)));
                         failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         tellStandardError(u"xdg-open could not be started: "_s +
                                           process->errorString());
                         failed();
                     });
    process->start();
}
