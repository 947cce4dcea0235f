#include "app/FailureMessage.h"

#include "app/OutcomeText.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace {

// A long list would not fit on the screen; the count says the rest.
constexpr int MaxFailuresListed = 20;

QString heading(qsizetype failed, qsizetype converted)
{
    QString line = failed == 1
                       ? QCoreApplication::translate("FailureMessage", "以下文件没有转换成功")
                       : QCoreApplication::translate("FailureMessage", "以下 %1 个文件没有转换成功")
                             .arg(failed);
    // The count decides the English wording: one file or more.
    const int others = static_cast<int>(converted);
    if (others > 0)
        line +=
            QCoreApplication::translate("FailureMessage", "，其他 %1 个文件已完成", nullptr, others)
                .arg(others);
    return line + QCoreApplication::translate("FailureMessage", "：\n");
}

QString entry(const QString &path, const QString &lines)
{
    return u'\n' + path + u"\n    "_s + QString(lines).split(u'\n').join(u"\n    "_s) + u'\n';
}

} // namespace

namespace FailureMessage {

QString caption()
{
    return QCoreApplication::translate("FailureMessage", "转换失败");
}

QString progressCaption(const BatchReport &report)
{
    if (report.stopped)
        return QCoreApplication::translate("FailureMessage", "已停止");
    const qsizetype failed = report.failures().size();
    if (failed > 0)
        return QCoreApplication::translate("FailureMessage", "Done. %1 个文件失败").arg(failed);
    return QCoreApplication::translate("FailureMessage", "Done.");
}

QString reason(const JobResult &failure)
{
    if (const auto *hung = std::get_if<Outcome::Hung>(&failure.outcome))
        return QCoreApplication::translate("FailureMessage", "%1 秒没有任何输出，转换已被停止")
            .arg(hung->seconds);
    if (std::holds_alternative<Outcome::CouldNotStart>(failure.outcome))
        return QCoreApplication::translate("FailureMessage", "转换程序无法启动，请重新安装本程序");
    const auto *failed = std::get_if<Outcome::Failed>(&failure.outcome);
    if (!failed)
        return QCoreApplication::translate("FailureMessage", "转换没有成功");
    using Cause = Outcome::Failed::Cause;
    switch (failed->cause) {
    case Cause::OutputFolder:
        return QCoreApplication::translate("FailureMessage",
                                           "无法创建输出文件夹，请选择一个可以写入的文件夹");
    case Cause::TempFolder:
        return QCoreApplication::translate("FailureMessage",
                                           "无法创建临时文件夹，请检查磁盘空间和权限");
    case Cause::EncoderError:
        return QCoreApplication::translate("FailureMessage",
                                           "无法转换这个文件：它可能已损坏，或含有不能转换的内容");
    case Cause::DiskFull:
        return QCoreApplication::translate("FailureMessage", "磁盘已满，请腾出空间后再试");
    case Cause::NoPermission:
        return QCoreApplication::translate("FailureMessage",
                                           "没有权限写入输出文件夹，请选择一个可以写入的文件夹");
    case Cause::InputMissing:
        return QCoreApplication::translate("FailureMessage",
                                           "这个文件不存在，它可能已被移动或删除");
    case Cause::UnreadableInput:
        return QCoreApplication::translate("FailureMessage", "无法读取这个文件，请检查它的权限");
    case Cause::NotMedia:
        return QCoreApplication::translate("FailureMessage", "这不是音视频文件，或文件已损坏");
    case Cause::NoVideoStream:
        return QCoreApplication::translate("FailureMessage",
                                           "这个文件只有声音，没有视频，请选择 MP3 格式");
    case Cause::NoAudioStream:
        return QCoreApplication::translate("FailureMessage", "这个文件没有声音，不能转换为 MP3");
    case Cause::CutPastTheEnd:
        return QCoreApplication::translate("FailureMessage",
                                           "Music Cutter 的开始时间超过了这个文件的长度");
    case Cause::SubtitlesUnusable:
        return QCoreApplication::translate("FailureMessage", "字幕文件无法读取，或其中没有字幕");
    case Cause::FfmpegMissing:
        return QCoreApplication::translate("FailureMessage", "找不到 ffmpeg，请安装 ffmpeg 后再试");
    case Cause::UnopenableName:
        return QCoreApplication::translate("FailureMessage", "无法打开这个文件名");
    case Cause::NoOutput:
        return QCoreApplication::translate("FailureMessage", "转换结束，但没有得到输出文件");
    case Cause::Crashed:
        break;
    }
    return QCoreApplication::translate("FailureMessage", "转换程序意外中止");
}

QString text(const BatchReport &report)
{
    const QList<JobResult> failures = report.failures();
    QString text = heading(failures.size(), report.convertedCount());
    for (const JobResult &failure : failures.mid(0, MaxFailuresListed))
        text += entry(failure.inputPath, reason(failure));
    if (failures.size() > MaxFailuresListed)
        text += QCoreApplication::translate("FailureMessage", "\n……还有 %1 个文件。")
                    .arg(failures.size() - MaxFailuresListed);
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
