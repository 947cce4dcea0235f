#include "SelfCheck.h"

#include "AudioCodec.h"
#include "Console.h"
#include "EncoderList.h"
#include "PosixSignals.h"
#include "VideoCodec.h"

#include <QProcess>

#include <optional>

using namespace Qt::StringLiterals;

namespace SelfCheck {

namespace {

constexpr int ToolTimeoutMilliseconds = 15000;

std::optional<QByteArray> outputOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    PosixSignals::bindChildToThisProcess(process);
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForFinished(ToolTimeoutMilliseconds) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

QString problem(const ToolLocator::Tools &tools)
{
    if (!tools.error.isEmpty())
        return tools.error;
    const std::optional<QByteArray> listing =
        outputOf(tools.ffmpeg, {u"-hide_banner"_s, u"-nostdin"_s, u"-encoders"_s});
    if (!listing)
        return u"%1 cannot be run"_s.arg(tools.ffmpeg);
    const QSet<QString> available = EncoderList::parse(*listing);
    QStringList missing;
    for (const QString &encoder : VideoCodec::allEncoders() + AudioCodec::allEncoders()) {
        if (!available.contains(encoder))
            missing.append(encoder);
    }
    if (!missing.isEmpty())
        return u"%1 lacks the encoders %2"_s.arg(tools.ffmpeg, missing.join(u", "_s));
    return {};
}

} // namespace

int run(const QString &encoderName, const ToolLocator::Tools &tools)
{
    const QString reason = problem(tools);
    if (!reason.isEmpty()) {
        Console::printLine(u"%1: not ready: %2"_s.arg(encoderName, reason));
        return 1;
    }
    Console::printLine(u"%1: ready, using %2"_s.arg(encoderName, tools.ffmpeg));
    return 0;
}

} // namespace SelfCheck
