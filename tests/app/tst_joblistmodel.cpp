#include "app/FailureWords.h"
#include "app/JobListModel.h"
#include "jobs/JobList.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QStringList column(const QAbstractItemModel &model, int column, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts.append(model.index(row, column).data(role).toString());
    return texts;
}

} // namespace

class TestJobListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsPathAndTagUnderTheirHeaders();
    void rowsFollowTheQueue();
    void failedJobIsMarkedWithItsReason();
};

void TestJobListModel::showsPathAndTagUnderTheirHeaders()
{
    JobList jobs;
    const JobListModel model(jobs);
    jobs.addJob(u"/v/a.mp4  "_s);
    jobs.addJob(u"/v/a.mp4  "_s, JobList::TagSource::Untrimmed);
    QCOMPARE(model.headerData(JobListModel::FileNameColumn, Qt::Horizontal, Qt::DisplayRole),
             u"文件名"_s);
    QCOMPARE(model.headerData(JobListModel::FormatColumn, Qt::Horizontal, Qt::DisplayRole),
             u"格式"_s);
    QCOMPARE(column(model, JobListModel::FileNameColumn), QStringList(2, u"/v/a.mp4  "_s));
    QCOMPARE(column(model, JobListModel::FormatColumn), (QStringList{u"MP4"_s, u"4  "_s}));
}

// Rows and paths stay paired through every change, and the view hears of
// each change as a model must tell it.
void TestJobListModel::rowsFollowTheQueue()
{
    JobList jobs;
    JobListModel model(jobs);
    const QAbstractItemModelTester tester(&model,
                                          QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    const JobList::JobId running = jobs.addJob(u"/1.avi"_s);
    jobs.addJobs({u"/2.avi"_s, u"/3.avi"_s, u"/4.avi"_s, u"/5.avi"_s});
    QCOMPARE(inserted.count(), 2);
    jobs.setJobRunning(running, true);

    QCOMPARE(jobs.removeSelectedJobs({2, 0, 3}), 2);
    const QStringList remaining{u"/1.avi"_s, u"/2.avi"_s, u"/5.avi"_s};
    QCOMPARE(column(model, JobListModel::FileNameColumn), remaining);
    // A long path is cut short in the view; each cell's tip has it whole.
    QCOMPARE(column(model, JobListModel::FormatColumn, Qt::ToolTipRole), remaining);

    QVERIFY(jobs.removeJob(*jobs.nextWaitingJob()));
    QCOMPARE(column(model, JobListModel::FileNameColumn), (QStringList{u"/1.avi"_s, u"/5.avi"_s}));
    jobs.removeAllJobs();
    QCOMPARE(column(model, JobListModel::FileNameColumn), QStringList{u"/1.avi"_s});
}

void TestJobListModel::failedJobIsMarkedWithItsReason()
{
    JobList jobs;
    const JobListModel model(jobs);
    const JobList::JobId first = jobs.addJob(u"/a.avi"_s);
    jobs.addJob(u"/b.avi"_s);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    const RunOutcome unreadable = Outcome::Failed{Outcome::Failed::Cause::UnreadableInput};
    jobs.setJobFailed(first, {u"/a.avi"_s, unreadable});
    QCOMPARE(changed.count(), 1);
    QCOMPARE(column(model, JobListModel::FormatColumn), (QStringList{u"失败"_s, u"AVI"_s}));
    QCOMPARE(model.index(0, JobListModel::FileNameColumn).data(Qt::ToolTipRole).toString(),
             u"/a.avi\n"_s + FailureWords::longWords(unreadable));

    // Start tries it again: the mark goes.
    jobs.clearFailures();
    QCOMPARE(changed.count(), 2);
    QCOMPARE(column(model, JobListModel::FormatColumn), (QStringList{u"AVI"_s, u"AVI"_s}));
    QCOMPARE(column(model, JobListModel::FileNameColumn, Qt::ToolTipRole),
             (QStringList{u"/a.avi"_s, u"/b.avi"_s}));
}

QTEST_GUILESS_MAIN(TestJobListModel)
#include "tst_joblistmodel.moc"
