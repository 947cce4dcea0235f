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
    case Cause::DiskFull:
        return u"磁盘已满"_s;
    case Cause::NoPermission:
        return u"没有权限写入输出文件夹"_s;
    case Cause::InputMissing:
        return u"文件不存在"_s;
    case Cause::UnreadableInput:
        return u"文件无法读取"_s;
    case Cause::NotMedia:
        return u"不是音视频文件，或文件已损坏"_s;
    case Cause::NoVideoStream:
        return u"文件中没有视频"_s;
    case Cause::NoAudioStream:
        return u"文件中没有声音"_s;
    case Cause::CutPastTheEnd:
        return u"剪辑的开始时间超过了文件的长度"_s;
    case Cause::SubtitlesUnusable:
        return u"字幕文件无法读取，或其中没有字幕"_s;
    case Cause::FfmpegMissing:
        return u"找不到 ffmpeg"_s;
    case Cause::NoOutput:
        return u"%1 没有生成输出文件"_s.arg(failed.run.encoder);
    case Cause::Crashed:
        return u"%1 异常终止（信号 %2）"_s.arg(failed.run.encoder).arg(failed.code);
    case Cause::EncoderError:
        break;
    }
    return u"%1 失败（退出码 %2）"_s.arg(failed.run.encoder).arg(failed.code);
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
        return withFailureLine(ownLine(*failed), failed->run);
    // A hung encoder's failure line is only how it took being stopped.
    if (const auto *hung = std::get_if<Outcome::Hung>(&outcome))
        return withEncoderLines(
            u"%1 已停止：%2 秒没有任何输出"_s.arg(hung->run.encoder).arg(hung->seconds), hung->run);
    if (const auto *notStarted = std::get_if<Outcome::CouldNotStart>(&outcome))
        return couldNotStart(notStarted->reason);
    return {};
}

} // namespace OutcomeText
