#include "FailureMessage.h"

#include "OutcomeText.h"

using namespace Qt::StringLiterals;

namespace {

// A long list would not fit on the screen; the count says the rest.
constexpr int MaxFailuresListed = 20;

QString heading(qsizetype failed, qsizetype converted)
{
    QString line =
        failed == 1 ? u"以下文件没有转换成功"_s : u"以下 %1 个文件没有转换成功"_s.arg(failed);
    if (converted > 0)
        line += u"，其他 %1 个文件已完成"_s.arg(converted);
    return line + u"：\n"_s;
}

QString entry(const QString &path, const QString &lines)
{
    return u'\n' + path + u"\n    "_s + QString(lines).split(u'\n').join(u"\n    "_s) + u'\n';
}

} // namespace

namespace FailureMessage {

QString caption()
{
    return u"转换失败"_s;
}

QString progressCaption(const BatchReport &report)
{
    if (report.stopped)
        return u"已停止"_s;
    const qsizetype failed = report.failures().size();
    if (failed > 0)
        return u"Done. %1 个文件失败"_s.arg(failed);
    return u"Done."_s;
}

QString reason(const JobResult &failure)
{
    if (const auto *hung = std::get_if<Outcome::Hung>(&failure.outcome))
        return u"%1 秒没有任何输出，转换已被停止"_s.arg(hung->seconds);
    if (std::holds_alternative<Outcome::CouldNotStart>(failure.outcome))
        return u"转换程序无法启动，请重新安装本程序"_s;
    const auto *failed = std::get_if<Outcome::Failed>(&failure.outcome);
    if (!failed)
        return u"转换没有成功"_s;
    using Cause = Outcome::Failed::Cause;
    switch (failed->cause) {
    case Cause::OutputFolder:
        return u"无法创建输出文件夹，请选择一个可以写入的文件夹"_s;
    case Cause::TempFolder:
        return u"无法创建临时文件夹，请检查磁盘空间和权限"_s;
    case Cause::EncoderError:
        return u"无法转换这个文件：它可能已损坏，或含有不能转换的内容"_s;
    case Cause::DiskFull:
        return u"磁盘已满，请腾出空间后再试"_s;
    case Cause::NoPermission:
        return u"没有权限写入输出文件夹，请选择一个可以写入的文件夹"_s;
    case Cause::InputMissing:
        return u"这个文件不存在，它可能已被移动或删除"_s;
    case Cause::UnreadableInput:
        return u"无法读取这个文件，请检查它的权限"_s;
    case Cause::NotMedia:
        return u"这不是音视频文件，或文件已损坏"_s;
    case Cause::NoVideoStream:
        return u"这个文件只有声音，没有视频，请选择 MP3 格式"_s;
    case Cause::NoAudioStream:
        return u"这个文件没有声音，不能转换为 MP3"_s;
    case Cause::CutPastTheEnd:
        return u"Music Cutter 的开始时间超过了这个文件的长度"_s;
    case Cause::SubtitlesUnusable:
        return u"字幕文件无法读取，或其中没有字幕"_s;
    case Cause::FfmpegMissing:
        return u"找不到 ffmpeg，请安装 ffmpeg 后再试"_s;
    case Cause::UnopenableName:
        return u"无法打开这个文件名"_s;
    case Cause::NoOutput:
        return u"转换结束，但没有得到输出文件"_s;
    case Cause::Crashed:
        break;
    }
    return u"转换程序意外中止"_s;
}

QString text(const BatchReport &report)
{
    const QList<JobResult> failures = report.failures();
    QString text = heading(failures.size(), report.convertedCount());
    for (const JobResult &failure : failures.mid(0, MaxFailuresListed))
        text += entry(failure.inputPath, reason(failure));
    if (failures.size() > MaxFailuresListed)
        text += u"\n……还有 %1 个文件。"_s.arg(failures.size() - MaxFailuresListed);
    return text;
}

QString details(const BatchReport &report)
{
    QString details;
    for (const JobResult &failure : report.failures())
        details += entry(failure.inputPath, OutcomeText::details(failure.outcome));
    return details.trimmed();
}

} // namespace FailureMessage
