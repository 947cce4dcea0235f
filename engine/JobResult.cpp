#include "JobResult.h"

QList<JobResult> BatchReport::failures() const
{
    QList<JobResult> failed;
    for (const JobResult &result : results) {
        if (result.status == JobResult::Status::Failed)
            failed.append(result);
    }
    return failed;
}

QString BatchReport::caption() const
{
    if (stopped)
        return QStringLiteral("已停止");
    const qsizetype failed = failures().size();
    if (failed > 0)
        return QStringLiteral("Done. %1 个文件失败").arg(failed);
    return QStringLiteral("Done.");
}
