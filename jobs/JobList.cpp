#include "jobs/JobList.h"

#include "engine/LegacyNames.h"

#include <algorithm>
#include <functional>

namespace {

QString lastThreeUpper(const QString &text)
{
    return text.right(3).toUpper();
}

} // namespace

JobList::JobList(QObject *parent) : QAbstractTableModel(parent) {}

QString JobList::FormatTag(const QString &path)
{
    return lastThreeUpper(path.trimmed());
}

QString JobList::untrimmedFormatTag(const QString &path)
{
    return lastThreeUpper(path);
}

JobList::JobId JobList::addJob(const QString &path, TagSource tagSource)
{
    const int row = jobCount();
    beginInsertRows({}, row, row);
    const JobId id = m_nextId++;
    m_jobs.append(newJob(id, path, tagSource));
    endInsertRows();
    return id;
}

// A name Qt could not decode is shown, and kept, by its real bytes.
JobList::Job JobList::newJob(JobId id, const QString &path, TagSource tagSource)
{
    const QString shown = LegacyNames::mended(path);
    return {id, shown,
            tagSource == TagSource::Trimmed ? FormatTag(shown) : untrimmedFormatTag(shown)};
}

void JobList::addJobs(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const int first = jobCount();
    beginInsertRows({}, first, first + static_cast<int>(paths.size()) - 1);
    for (const QString &path : paths)
        m_jobs.append(newJob(m_nextId++, path, TagSource::Trimmed));
    endInsertRows();
}

int JobList::removeSelectedJobs(QList<int> rows)
{
    // From the bottom up, so the rows still to remove keep their numbers.
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    int removed = 0;
    for (const int row : std::as_const(rows)) {
        if (row < 0 || row >= jobCount() || isRunning(row))
            continue;
        removeRow(row);
        ++removed;
    }
    if (m_jobs.isEmpty())
        setDropHintVisible(true);
    return removed;
}

void JobList::removeAllJobs()
{
    QList<Job> kept;
    for (const Job &job : std::as_const(m_jobs)) {
        if (m_runningJobs.contains(job.id))
            kept.append(job);
    }
    beginResetModel();
    m_jobs = kept;
    m_failures.clear();
    endResetModel();
    // The jobs being converted stay, and the hint never covers them.
    setDropHintVisible(m_jobs.isEmpty());
}

bool JobList::removeJob(JobId id)
{
    const int row = rowOf(id);
    if (row < 0)
        return false;
    removeRow(row);
    // A batch that converted the last file leaves an empty list, which says
    // where files go as any empty list does.
    if (m_jobs.isEmpty())
        setDropHintVisible(true);
    return true;
}

std::optional<JobList::JobId> JobList::nextWaitingJob() const
{
    for (const Job &job : m_jobs) {
        if (!m_runningJobs.contains(job.id) && !m_failures.contains(job.id))
            return job.id;
    }
    return std::nullopt;
}

void JobList::setJobRunning(JobId id, bool running)
{
    if (running)
        m_runningJobs.insert(id);
    else
        m_runningJobs.remove(id);
}

void JobList::setJobFailed(JobId id, const JobResult &failure)
{
    const int row = rowOf(id);
    if (row < 0)
        return;
    m_failures.insert(id, m_reasonOf ? m_reasonOf(failure) : QString());
    Q_EMIT dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void JobList::clearFailures()
{
    if (m_failures.isEmpty())
        return;
    m_failures.clear();
    Q_EMIT dataChanged(index(0, 0), index(jobCount() - 1, ColumnCount - 1));
}

QString JobList::pathOf(JobId id) const
{
    const int row = rowOf(id);
    return row < 0 ? QString() : m_jobs.at(row).path;
}

QStringList JobList::paths() const
{
    QStringList all;
    all.reserve(m_jobs.size());
    for (const Job &job : m_jobs)
        all.append(job.path);
    return all;
}

void JobList::updateDropHint()
{
    setDropHintVisible(m_jobs.isEmpty());
}

void JobList::setDropHintVisible(bool visible)
{
    if (m_dropHintVisible == visible)
        return;
    m_dropHintVisible = visible;
    Q_EMIT dropHintVisibleChanged(visible);
}

int JobList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : jobCount();
}

int JobList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant JobList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= jobCount())
        return {};
    const Job &job = m_jobs.at(index.row());
    const auto failure = m_failures.constFind(job.id);
    const bool failed = failure != m_failures.cend();
    // A long path is cut short in the view; its row's tip shows it whole.
    if (role == Qt::ToolTipRole)
        return failed ? job.path + u'\n' + *failure : job.path;
    if (role != Qt::DisplayRole)
        return {};
    if (index.column() == FileNameColumn)
        return job.path;
    return failed ? tr("失败") : job.tag;
}

QVariant JobList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == FileNameColumn ? tr("文件名") : tr("格式");
}

int JobList::rowOf(JobId id) const
{
    // Finished jobs are almost always at the front.
    for (int row = 0; row < jobCount(); ++row) {
        if (m_jobs.at(row).id == id)
            return row;
    }
    return -1;
}

bool JobList::isRunning(int row) const
{
    return m_runningJobs.contains(m_jobs.at(row).id);
}

void JobList::removeRow(int row)
{
    m_failures.remove(m_jobs.at(row).id);
    beginRemoveRows({}, row, row);
    m_jobs.removeAt(row);
    endRemoveRows();
}
