#include "app/JobListModel.h"

#include "app/FailureWords.h"
#include "jobs/JobList.h"

// The queue tells each change before and after it happens, as a view
// needs to hear it.
JobListModel::JobListModel(const JobList &jobs, QObject *parent)
    : QAbstractTableModel(parent), m_jobs(jobs)
{
    connect(&m_jobs, &JobList::jobsAboutToBeAdded, this,
            [this](int first, int last) { beginInsertRows({}, first, last); });
    connect(&m_jobs, &JobList::jobsAdded, this, &JobListModel::endInsertRows);
    connect(&m_jobs, &JobList::jobAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&m_jobs, &JobList::jobRemoved, this, &JobListModel::endRemoveRows);
    connect(&m_jobs, &JobList::jobsAboutToBeReset, this, &JobListModel::beginResetModel);
    connect(&m_jobs, &JobList::jobsReset, this, &JobListModel::endResetModel);
    connect(&m_jobs, &JobList::failuresChanged, this, [this](int first, int last) {
        Q_EMIT dataChanged(index(first, 0), index(last, ColumnCount - 1));
    });
}

int JobListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_jobs.jobCount();
}

int JobListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JobListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_jobs.jobCount())
        return {};
    const JobList::Job &job = m_jobs.jobAt(index.row());
    const std::optional<JobResult> failure = m_jobs.failureOf(job.id);
    // A long path is cut short in the view; its row's tip shows it whole.
    if (role == Qt::ToolTipRole)
        return failure ? job.path + u'\n' + FailureWords::longWords(failure->outcome) : job.path;
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == FileNameColumn)
        return job.path;
    return failure ? FailureWords::mark() : job.tag;
}

QVariant JobListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == FileNameColumn ? tr("文件名") : tr("格式");
}
