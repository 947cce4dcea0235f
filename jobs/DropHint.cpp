#include "jobs/DropHint.h"

#include "jobs/JobList.h"

DropHint::DropHint(const JobList &jobs, QObject *parent) : QObject(parent), m_jobs(jobs)
{
    // A list emptied by the user or by a batch says where files go, as any
    // empty list does.
    connect(&m_jobs, &JobList::jobRemoved, this, [this] {
        if (m_jobs.isEmpty())
            setVisible(true);
    });
    // The jobs being converted stay after a Remove All, and the hint never
    // covers them.
    connect(&m_jobs, &JobList::jobsReset, this, &DropHint::update);
}

void DropHint::setVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    Q_EMIT visibleChanged(visible);
}

void DropHint::update()
{
    setVisible(m_jobs.isEmpty());
}
