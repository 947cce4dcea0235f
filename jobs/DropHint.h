#pragma once

#include <QObject>

class JobList;

// Whether the hint panel over the list shows: it tells where files go while
// the list is empty and while a folder is searched. The intakes set it once
// they have queued what they were given; a list emptied by the user or by
// a batch shows it again by itself.
class DropHint final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DropHint)

public:
    explicit DropHint(const JobList &jobs, QObject *parent = nullptr);

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    // Shown over an empty list, hidden over one with jobs.
    void update();

Q_SIGNALS:
    void visibleChanged(bool visible);

private:
    const JobList &m_jobs;
    bool m_visible = true;
};
