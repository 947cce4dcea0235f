#include "OutcomeText.h"

using namespace Qt::StringLiterals;

namespace {

QString ownLine(const Outcome::Failed &failed)
{
    using Cause = Outcome::Failed::Cause;
    switch (failed.cause) {
    case Cause::OutputFolder:
        return u"无法创建输出文件夹："_s + failed.path;
    case Cause::TempFolder:
        return u"无法创建临时文件夹："_s + failed.path;
    case Cause::UnopenableName:
        return u"无法打开这个文件名："_s + failed.path;
    case Cause::NoOutput:
        return u"%1 没有生成输出文件"_s.arg(failed.run.encoder);
    case Cause::Crashed:
        return u"%1 异常终止（信号 %2）"_s.arg(failed.run.encoder).arg(failed.code);
    case Cause::EncoderError:
    case Cause::DiskFull:
    case Cause::NoPermission:
    case Cause::UnreadableInput:
        break;
    }
    return u"%1 失败（退出码 %2）"_s.arg(failed.run.encoder).arg(failed.code);
}

QString withEncoderLines(QString text, const Outcome::EncoderRun &run)
{
    if (!run.failureLine.isEmpty())
        text.prepend(run.failureLine + u'\n');
    if (!run.lastLines.isEmpty())
        text += u'\n' + run.lastLines;
    return text;
}

QString couldNotStart(Outcome::CouldNotStart::Reason reason)
{
    switch (reason) {
    case Outcome::CouldNotStart::Reason::NoCommand:
        return u"Command Line empty"_s;
    case Outcome::CouldNotStart::Reason::NotFound:
        return u"File or command not found"_s;
    case Outcome::CouldNotStart::Reason::Busy:
        break;
    }
    return u"An encoder is still running"_s;
}

} // namespace

namespace OutcomeText {

QString details(const RunOutcome &outcome)
{
    if (const auto *failed = std::get_if<Outcome::Failed>(&outcome))
        return withEncoderLines(ownLine(*failed), failed->run);
    if (const auto *hung = std::get_if<Outcome::Hung>(&outcome))
        return withEncoderLines(
            u"%1 已停止：%2 秒没有任何输出"_s.arg(hung->run.encoder).arg(hung->seconds), hung->run);
    if (const auto *notStarted = std::get_if<Outcome::CouldNotStart>(&outcome))
        return couldNotStart(notStarted->reason);
    return {};
}

} // namespace OutcomeText
