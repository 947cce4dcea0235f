#include "FailureMessage.h"

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

QString entry(const JobResult &failure)
{
    return u'\n' + failure.inputPath + u"\n    "_s + failure.reason.split(u'\n').join(u"\n    "_s) +
           u'\n';
}

} // namespace

namespace FailureMessage {

QString caption()
{
    return u"转换失败"_s;
}

QString text(const BatchReport &report)
{
    const QList<JobResult> failures = report.failures();
    QString text = heading(failures.size(), report.results.size() - failures.size());
    for (const JobResult &failure : failures.mid(0, MaxFailuresListed))
        text += entry(failure);
    if (failures.size() > MaxFailuresListed)
        text += u"\n……还有 %1 个文件。"_s.arg(failures.size() - MaxFailuresListed);
    return text;
}

} // namespace FailureMessage
