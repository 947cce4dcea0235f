#include "jobs/DropIntake.h"

#include "jobs/DropHint.h"
#include "jobs/JobList.h"

#include <QMimeData>
#include <QUrl>

using namespace Qt::StringLiterals;

DropIntake::DropIntake(JobList &jobs, DropHint &hint) : m_jobs(jobs), m_hint(hint) {}

QStringList DropIntake::droppedPaths(const QMimeData &data)
{
    QStringList paths;
    for (const QUrl &url : data.urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

void DropIntake::addDroppedFiles(const QMimeData &data)
{
    const QStringList paths = droppedPaths(data);
    for (const QString &path : paths)
        m_jobs.addJob(path, JobList::TagSource::Untrimmed);
    // Unlike the other intakes a drop never shows the hint: a drop of
    // something else on an empty list leaves the panel as it was.
    if (m_jobs.jobCount() > 0)
        m_hint.setVisible(false);
}
