#include "app/FailureMessage.h"

#include "app/FailureWords.h"
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
        return QCoreApplication::translate("FailureMessage", "完成，%1 个文件失败").arg(failed);
    return QCoreApplication::translate("FailureMessage", "Done.");
}

QString text(const BatchReport &report)
{
    const QList<JobResult> failures = report.failures();
    QString text = heading(failures.size(), report.convertedCount());
    for (const JobResult &failure : failures.mid(0, MaxFailuresListed))
        text += entry(failure.inputPath, FailureWords::longWords(failure.outcome));
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
