#include "jobs/DropHint.h"
#include "jobs/JobList.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestJobList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatTag_data();
    void formatTag();
    void keepsDuplicatesInOrderOfAdding();
    void removeSelectedKeepsRowsAndPathsPaired_data();
    void removeSelectedKeepsRowsAndPathsPaired();
    void dropHintShowsOnAnEmptyList();
    void runningJobCannotBeRemovedByUser();
    void finishedJobIsRemovedByIdentity();
    void bulkAddKeepsOrderAndTags();
    void failedJobStaysMarkedUntilRetried();
};

void TestJobList::formatTag_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("trimmed");
    QTest::addColumn<QString>("untrimmed");
    QTest::newRow("avi") << u"D:\\v\\a.avi"_s << u"AVI"_s << u"AVI"_s;
    QTest::newRow("rmvb") << u"D:\\v\\a.rmvb"_s << u"MVB"_s << u"MVB"_s;
    QTest::newRow("ts keeps dot") << u"/v/a.ts"_s << u".TS"_s << u".TS"_s;
    QTest::newRow("mpeg") << u"/v/a.mpeg"_s << u"PEG"_s << u"PEG"_s;
    QTest::newRow("no extension") << u"D:\\v\\clip"_s << u"LIP"_s << u"LIP"_s;
    QTest::newRow("shorter than three") << u"ab"_s << u"AB"_s << u"AB"_s;
    QTest::newRow("trailing spaces") << u"/v/a.mp4  "_s << u"MP4"_s << u"4  "_s;
    QTest::newRow("chinese") << u"/v/视频文件"_s << u"频文件"_s << u"频文件"_s;
}

void TestJobList::formatTag()
{
    QFETCH(QString, path);
    QFETCH(QString, trimmed);
    QFETCH(QString, untrimmed);
    QCOMPARE(JobList::FormatTag(path), trimmed);
    QCOMPARE(JobList::untrimmedFormatTag(path), untrimmed);

    JobList list;
    list.addJob(path);
    list.addJob(path, JobList::TagSource::Untrimmed);
    QCOMPARE(list.jobAt(0).tag, trimmed);
    QCOMPARE(list.jobAt(1).tag, untrimmed);
    QCOMPARE(list.jobAt(0).path, path);
}

void TestJobList::keepsDuplicatesInOrderOfAdding()
{
    JobList list;
    list.addJob(u"/a.avi"_s);
    list.addJob(u"/b.avi"_s);
    list.addJob(u"/a.avi"_s);
    QCOMPARE(list.paths(), (QStringList{u"/a.avi"_s, u"/b.avi"_s, u"/a.avi"_s}));
    QCOMPARE(list.removeSelectedJobs({0}), 1);
    QCOMPARE(list.paths(), (QStringList{u"/b.avi"_s, u"/a.avi"_s}));
}

void TestJobList::removeSelectedKeepsRowsAndPathsPaired_data()
{
    QTest::addColumn<QList<int>>("selectedRows");
    QTest::addColumn<int>("runningRow");
    QTest::addColumn<QStringList>("remaining");
    const QStringList all{u"/1.avi"_s, u"/2.avi"_s, u"/3.avi"_s, u"/4.avi"_s, u"/5.avi"_s};
    QTest::newRow("third of five")
        << QList<int>{2} << -1 << QStringList{u"/1.avi"_s, u"/2.avi"_s, u"/4.avi"_s, u"/5.avi"_s};
    QTest::newRow("first") << QList<int>{0} << -1 << all.mid(1);
    QTest::newRow("last") << QList<int>{4} << -1 << all.mid(0, 4);
    QTest::newRow("nothing selected") << QList<int>{-1} << -1 << all;
    QTest::newRow("beyond the end") << QList<int>{5} << -1 << all;
    QTest::newRow("several, in any order, one twice")
        << QList<int>{3, 0, 3, 1} << -1 << QStringList{u"/3.avi"_s, u"/5.avi"_s};
    QTest::newRow("the running job stays")
        << QList<int>{0, 1, 2} << 0 << QStringList{u"/1.avi"_s, u"/4.avi"_s, u"/5.avi"_s};
}

void TestJobList::removeSelectedKeepsRowsAndPathsPaired()
{
    QFETCH(QList<int>, selectedRows);
    QFETCH(int, runningRow);
    QFETCH(QStringList, remaining);
    JobList list;
    QList<JobList::JobId> ids;
    for (int i = 1; i <= 5; ++i)
        ids.append(list.addJob(u"/%1.avi"_s.arg(i)));
    if (runningRow >= 0)
        list.setJobRunning(ids.at(runningRow), true);
    QCOMPARE(list.removeSelectedJobs(selectedRows), 5 - remaining.size());
    QCOMPARE(list.paths(), remaining);
    QCOMPARE(list.jobCount(), remaining.size());
    for (int row = 0; row < list.jobCount(); ++row)
        QCOMPARE(list.jobAt(row).path, remaining.at(row));
}

void TestJobList::dropHintShowsOnAnEmptyList()
{
    JobList list;
    DropHint hint(list);
    QVERIFY(hint.isVisible());
    list.addJob(u"/a.avi"_s);
    QVERIFY(hint.isVisible()); // the caller applies the rule after adding
    hint.update();
    QVERIFY(!hint.isVisible());

    QSignalSpy spy(&hint, &DropHint::visibleChanged);
    list.removeSelectedJobs({-1});
    QVERIFY(!hint.isVisible());
    QCOMPARE(list.removeSelectedJobs({0}), 1);
    QVERIFY(hint.isVisible());
    QCOMPARE(spy.count(), 1);

    // A batch emptying the list shows the hint again, once the last is gone.
    const JobList::JobId finished = list.addJob(u"/b.avi"_s);
    const JobList::JobId last = list.addJob(u"/c.avi"_s);
    hint.update();
    list.removeJob(finished);
    QVERIFY(!hint.isVisible());
    list.removeJob(last);
    QCOMPARE(list.jobCount(), 0);
    QVERIFY(hint.isVisible());

    list.removeAllJobs();
    QVERIFY(hint.isVisible());
    QCOMPARE(list.jobCount(), 0);
}

void TestJobList::runningJobCannotBeRemovedByUser()
{
    JobList list;
    DropHint hint(list);
    const JobList::JobId running = list.addJob(u"/a.avi"_s);
    list.addJob(u"/b.avi"_s);
    list.addJob(u"/c.avi"_s);
    list.setJobRunning(running, true);
    QCOMPARE(list.removeSelectedJobs({0}), 0);
    QCOMPARE(list.removeSelectedJobs({1}), 1);
    QCOMPARE(list.paths(), (QStringList{u"/a.avi"_s, u"/c.avi"_s}));
    // Jobs run side by side: the next one to start is the first not running.
    const JobList::JobId third = *list.nextWaitingJob();
    QCOMPARE(list.pathOf(third), u"/c.avi"_s);
    list.setJobRunning(third, true);
    QVERIFY(!list.nextWaitingJob());
    QCOMPARE(list.removeSelectedJobs({1}), 0);
    list.addJob(u"/d.avi"_s);
    list.removeAllJobs();
    QCOMPARE(list.paths(), (QStringList{u"/a.avi"_s, u"/c.avi"_s}));
    QVERIFY(!hint.isVisible());

    list.setJobRunning(running, false);
    list.setJobRunning(third, false);
    QCOMPARE(list.nextWaitingJob(), std::optional<JobList::JobId>(running));
    QCOMPARE(list.removeSelectedJobs({0}), 1);
    QCOMPARE(list.removeSelectedJobs({0}), 1);
    QCOMPARE(list.jobCount(), 0);
}

void TestJobList::finishedJobIsRemovedByIdentity()
{
    JobList list;
    list.addJob(u"/a.avi"_s);
    const JobList::JobId second = list.addJob(u"/b.avi"_s);
    list.addJob(u"/c.avi"_s);
    list.removeSelectedJobs({0}); // the user removes another job meanwhile
    QCOMPARE(list.pathOf(second), u"/b.avi"_s);
    QVERIFY(list.removeJob(second));
    QCOMPARE(list.paths(), QStringList{u"/c.avi"_s});
    QVERIFY(!list.removeJob(second));
    QCOMPARE(list.pathOf(second), QString());
}

void TestJobList::bulkAddKeepsOrderAndTags()
{
    JobList list;
    QSignalSpy inserted(&list, &JobList::jobsAdded);
    list.addJob(u"/first.mov"_s);
    list.addJobs({u"/x.avi"_s, u" /y.mp4 "_s});
    list.addJobs({});
    QCOMPARE(inserted.count(), 2);
    QCOMPARE(list.paths(), (QStringList{u"/first.mov"_s, u"/x.avi"_s, u" /y.mp4 "_s}));
    QCOMPARE(list.jobAt(2).tag, u"MP4"_s);
}

void TestJobList::failedJobStaysMarkedUntilRetried()
{
    JobList list;
    const JobList::JobId first = list.addJob(u"/a.avi"_s);
    const JobList::JobId second = list.addJob(u"/b.avi"_s);
    const JobResult unreadable{u"/a.avi"_s,
                               Outcome::Failed{Outcome::Failed::Cause::UnreadableInput}};
    list.setJobFailed(first, unreadable);
    QCOMPARE(list.paths(), (QStringList{u"/a.avi"_s, u"/b.avi"_s}));
    QCOMPARE(list.nextWaitingJob(), second);
    QVERIFY(list.failureOf(first));
    QCOMPARE(list.failureOf(first)->outcome, unreadable.outcome);
    QVERIFY(!list.failureOf(second));
    list.setJobFailed(second, {u"/b.avi"_s, Outcome::Hung{}});
    QVERIFY(!list.nextWaitingJob());
    QCOMPARE(list.failedCount(), 2);

    // Removed and added again, a file is no longer marked.
    list.removeSelectedJobs({1});
    const JobList::JobId again = list.addJob(u"/b.avi"_s);
    QCOMPARE(list.failedCount(), 1);
    QCOMPARE(list.nextWaitingJob(), again);
    list.clearFailures();
    QCOMPARE(list.nextWaitingJob(), first);
    QVERIFY(!list.failureOf(first));
}

QTEST_GUILESS_MAIN(TestJobList)
#include "tst_joblist.moc"
