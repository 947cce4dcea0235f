#include "app/OutcomeText.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

QString ownLine(const Outcome::Failed &failed)
{
    using Cause = Outcome::Failed::Cause;
    switch (failed.cause) {
    case Cause::OutputFolder:
        return QCoreApplication::translate("OutcomeText", "无法创建输出文件夹：") + failed.path;
    case Cause::TempFolder:
        return QCoreApplication::translate("OutcomeText", "无法创建临时文件夹：") + failed.path;
    case Cause::UnopenableName:
        return QCoreApplication::translate("OutcomeText", "无法打开这个文件名：") + failed.path;
    case Cause::DiskFull:
        return QCoreApplication::translate("OutcomeText", "磁盘已满");
    case Cause::NoPermission:
        return QCoreApplication::translate("OutcomeText", "没有权限写入输出文件夹");
    case Cause::InputMissing:
        return QCoreApplication::translate("OutcomeText", "文件不存在");
    case Cause::UnreadableInput:
        return QCoreApplication::translate("OutcomeText", "文件无法读取");
    case Cause::NotMedia:
        return QCoreApplication::translate("OutcomeText", "不是音视频文件，或文件已损坏");
    case Cause::NoVideoStream:
        return QCoreApplication::translate("OutcomeText", "文件中没有视频");
    case Cause::NoAudioStream:
        return QCoreApplication::translate("OutcomeText", "文件中没有声音");
    case Cause::CutPastTheEnd:
        return QCoreApplication::translate("OutcomeText", "剪辑的开始时间超过了文件的长度");
    case Cause::SubtitlesUnusable:
        return QCoreApplication::translate("OutcomeText", "字幕文件无法读取，或其中没有字幕");
    case Cause::FfmpegMissing:
        return QCoreApplication::translate("OutcomeText", "找不到 ffmpeg");
    case Cause::NoOutput:
        return QCoreApplication::translate("OutcomeText", "%1 没有生成输出文件")
            .arg(failed.run.encoder);
    case Cause::Crashed:
        return QCoreApplication::translate("OutcomeText", "%1 异常终止（信号 %2）")
            .arg(failed.run.encoder)
            .arg(failed.code);
    case Cause::EncoderError:
        break;
    }
    return QCoreApplication::translate("OutcomeText", "%1 失败（退出码 %2）")
        .arg(failed.run.encoder)
        .arg(failed.code);
}

QString withEncoderLines(QString text, const Outcome::EncoderRun &run)
{
    if (!run.lastLines.isEmpty())
        text += u'\n' + run.lastLines;
    return text;
}

// What the encoder said of its failure reads first: it names the file and
// what it found there.
QString withFailureLine(QString text, const Outcome::EncoderRun &run)
{
    if (!run.failureLine.isEmpty())
        text.prepend(run.failureLine + u'\n');
    return withEncoderLines(text, run);
}

QString couldNotStart(Outcome::CouldNotStart::Reason reason)
{
    switch (reason) {
    case Outcome::CouldNotStart::Reason::NoCommand:
        return QCoreApplication::translate("OutcomeText", "Command Line empty");
    case Outcome::CouldNotStart::Reason::NotFound:
        return QCoreApplication::translate("OutcomeText", "File or command not found");
    case Outcome::CouldNotStart::Reason::Busy:
        break;
    }
    return QCoreApplication::translate("OutcomeText", "An encoder is still running");
}

} // namespace

namespace OutcomeText {

QString details(const RunOutcome &outcome)
{
    if (const auto *failed = std::get_if<Outcome::Failed>(&outcome))
        return withFailureLine(ownLine(*failed), failed->run);
    // A hung encoder's failure line is only how it took being stopped.
    if (const auto *hung = std::get_if<Outcome::Hung>(&outcome))
        return withEncoderLines(
            QCoreApplication::translate("OutcomeText", "%1 已停止：%2 秒没有任何输出")
                .arg(hung->run.encoder)
                .arg(hung->seconds),
            hung->run);
    if (const auto *notStarted = std::get_if<Outcome::CouldNotStart>(&outcome))
        return couldNotStart(notStarted->reason);
    return {};
}

} // namespace OutcomeText
