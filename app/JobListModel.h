#pragma once

#include <QAbstractTableModel>

class JobList;

// The queue as the window lists it, in two columns ("文件名", "格式"): a
// failed job is marked in place of its format, and its row's tip says why.
class JobListModel final : public QAbstractTableModel
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(JobListModel)

public:
    enum Column
    {
        FileNameColumn,
        FormatColumn,
        ColumnCount
    };

    explicit JobListModel(const JobList &jobs, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const JobList &m_jobs;
};
