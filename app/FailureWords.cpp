#include "app/FailureWords.h"

QString FailureWords::mark()
{
    return tr("失败");
}

QString FailureWords::shortWords(const RunOutcome &outcome)
{
    return wordsOf(outcome).shortWords;
}

QString FailureWords::longWords(const RunOutcome &outcome)
{
    return wordsOf(outcome).longWords;
}

FailureWords::Words FailureWords::wordsOf(const RunOutcome &outcome)
{
    if (const auto *failed = std::get_if<Outcome::Failed>(&outcome))
        return failedWords(*failed);
    if (const auto *hung = std::get_if<Outcome::Hung>(&outcome))
        return hungWords(*hung);
    if (const auto *notStarted = std::get_if<Outcome::CouldNotStart>(&outcome))
        return notStartedWords(notStarted->reason);
    return {};
}

FailureWords::Words FailureWords::failedWords(const Outcome::Failed &failed)
{
    using Cause = Outcome::Failed::Cause;
    switch (failed.cause) {
    case Cause::OutputFolder:
        return {tr("无法创建输出文件夹：") + failed.path,
                tr("无法创建输出文件夹，请选择一个可以写入的文件夹")};
    case Cause::TempFolder:
        return {tr("无法创建临时文件夹：") + failed.path,
                tr("无法创建临时文件夹，请检查磁盘空间和权限")};
    case Cause::UnopenableName:
        return {tr("无法打开这个文件名：") + failed.path, tr("无法打开这个文件名")};
    case Cause::DiskFull:
        return {tr("磁盘已满"), tr("磁盘已满，请腾出空间后再试")};
    case Cause::NoPermission:
        return {tr("没有权限写入输出文件夹"),
                tr("没有权限写入输出文件夹，请选择一个可以写入的文件夹")};
    case Cause::InputMissing:
        return {tr("文件不存在"), tr("这个文件不存在，它可能已被移动或删除")};
    case Cause::UnreadableInput:
        return {tr("文件无法读取"), tr("无法读取这个文件，请检查它的权限")};
    case Cause::NotMedia:
        return {tr("不是音视频文件，或文件已损坏"), tr("这不是音视频文件，或文件已损坏")};
    case Cause::NoVideoStream:
        return {tr("文件中没有视频"), tr("这个文件只有声音，没有视频，请选择 MP3 格式")};
    case Cause::NoAudioStream:
        return {tr("文件中没有声音"), tr("这个文件没有声音，不能转换为 MP3")};
    case Cause::CutPastTheEnd:
        return {tr("剪辑的开始时间超过了文件的长度"),
                tr("Music Cutter 的开始时间超过了这个文件的长度")};
    case Cause::SubtitlesUnusable:
        return {tr("字幕文件无法读取，或其中没有字幕"), tr("字幕文件无法读取，或其中没有字幕")};
    case Cause::FfmpegMissing:
        return {tr("找不到 ffmpeg"), tr("找不到 ffmpeg，请安装 ffmpeg 后再试")};
    case Cause::NoOutput:
        return {tr("%1 没有生成输出文件").arg(failed.run.encoder),
                tr("转换结束，但没有得到输出文件")};
    case Cause::Crashed:
        return {tr("%1 异常终止（信号 %2）").arg(failed.run.encoder).arg(failed.code),
                tr("转换程序意外中止")};
    case Cause::EncoderError:
        break;
    }
    // An error the encoder gave no cause for.
    return {tr("%1 失败（退出码 %2）").arg(failed.run.encoder).arg(failed.code),
            tr("无法转换这个文件：它可能已损坏，或含有不能转换的内容")};
}

FailureWords::Words FailureWords::hungWords(const Outcome::Hung &hung)
{
    return {tr("%1 已停止：%2 秒没有任何输出").arg(hung.run.encoder).arg(hung.seconds),
            tr("%1 秒没有任何输出，转换已被停止").arg(hung.seconds)};
}

// The short words are what the window tells alone when a batch ends there.
FailureWords::Words FailureWords::notStartedWords(Outcome::CouldNotStart::Reason reason)
{
    const QString reinstall = tr("转换程序无法启动，请重新安装本程序");
    switch (reason) {
    case Outcome::CouldNotStart::Reason::NoCommand:
        return {tr("Command Line empty"), reinstall};
    case Outcome::CouldNotStart::Reason::NotFound:
        return {tr("File or command not found"), reinstall};
    case Outcome::CouldNotStart::Reason::Busy:
        break;
    }
    return {tr("An encoder is still running"), reinstall};
}
