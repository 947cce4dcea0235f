#include "tests/encoders/EncoderRun.h"

#include <QProcess>

using namespace Qt::StringLiterals;

namespace {
constexpr int TimeoutMilliseconds = 60000;
}

EncoderRun EncoderRun::run(const QString &program, const QStringList &arguments,
                           const QProcessEnvironment &environment, const QString &workingFolder)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(workingFolder);
    process.start(program, arguments, QIODevice::ReadOnly);
    EncoderRun result;
    result.timedOut = !process.waitForFinished(TimeoutMilliseconds);
    if (result.timedOut) {
        process.kill();
        process.waitForFinished();
    }
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

QString EncoderRun::report() const
{
    return u"exit %1%2%3, output:\n%4"_s.arg(exitCode)
        .arg(crashed ? u" (crashed)"_s : QString())
        .arg(timedOut ? u" (timed out)"_s : QString())
        .arg(output);
}
