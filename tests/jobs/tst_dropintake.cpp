#include "jobs/DropHint.h"
#include "jobs/DropIntake.h"
#include "jobs/JobList.h"

#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace Qt::StringLiterals;

class TestDropIntake : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void droppedUrlsBecomeJobs_data();
    void droppedUrlsBecomeJobs();
    void dropHint_data();
    void dropHint();
    void dropDuringBatchIsAppended();
};

namespace {

QList<QUrl> localFiles(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    return urls;
}

QStringList tags(const JobList &jobs)
{
    QStringList all;
    for (int row = 0; row < jobs.jobCount(); ++row)
        all.append(jobs.jobAt(row).tag);
    return all;
}

} // namespace

void TestDropIntake::droppedUrlsBecomeJobs_data()
{
    QTest::addColumn<QList<QUrl>>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<QStringList>("tags");

    const QStringList three{u"/v/c.avi"_s, u"/v/a.avi"_s, u"/v/b.rmvb"_s};
    QTest::newRow("three files in drop order")
        << localFiles(three) << QString() << three << QStringList{u"AVI"_s, u"AVI"_s, u"MVB"_s};
    QTest::newRow("a folder is one job") << localFiles({u"/media/clips"_s}) << QString()
                                         << QStringList{u"/media/clips"_s} << QStringList{u"IPS"_s};
    QTest::newRow("tag taken untrimmed") << localFiles({u"/v/a.mp4 "_s}) << QString()
                                         << QStringList{u"/v/a.mp4 "_s} << QStringList{u"P4 "_s};
    QTest::newRow("remote locations ignored")
        << QList<QUrl>{QUrl(u"https://example.com/a.avi"_s), QUrl::fromLocalFile(u"/v/x.mov"_s),
                       QUrl(u"smb://server/share/b.avi"_s)}
        << QString() << QStringList{u"/v/x.mov"_s} << QStringList{u"MOV"_s};
    QTest::newRow("plain text ignored")
        << QList<QUrl>() << u"/v/a.avi"_s << QStringList() << QStringList();
    QTest::newRow("same file twice")
        << localFiles({u"/v/a.avi"_s, u"/v/a.avi"_s}) << QString()
        << QStringList{u"/v/a.avi"_s, u"/v/a.avi"_s} << QStringList{u"AVI"_s, u"AVI"_s};
}

void TestDropIntake::droppedUrlsBecomeJobs()
{
    QFETCH(QList<QUrl>, urls);
    QFETCH(QString, text);
    QFETCH(QStringList, paths);
    QFETCH(QStringList, tags);
    QMimeData data;
    if (!urls.isEmpty())
        data.setUrls(urls);
    if (!text.isEmpty())
        data.setText(text);
    JobList jobs;
    DropHint hint(jobs);
    DropIntake intake(jobs, hint);

    QCOMPARE(DropIntake::offersFiles(data), !paths.isEmpty());
    intake.addDroppedFiles(data);
    QCOMPARE(jobs.paths(), paths);
    QCOMPARE(::tags(jobs), tags);
}

void TestDropIntake::dropHint_data()
{
    QTest::addColumn<bool>("listHasJob");
    QTest::addColumn<bool>("hintBefore");
    QTest::addColumn<bool>("dropFiles");
    QTest::addColumn<bool>("hintAfter");
    QTest::newRow("files on an empty list") << false << true << true << false;
    QTest::newRow("text on an empty list") << false << true << false << true;
    // A drop that queues nothing does not show the hint, unlike Add File.
    QTest::newRow("text on an emptied list, hint hidden") << false << false << false << false;
    QTest::newRow("text while the hint covers jobs") << true << true << false << false;
}

void TestDropIntake::dropHint()
{
    QFETCH(bool, listHasJob);
    QFETCH(bool, hintBefore);
    QFETCH(bool, dropFiles);
    QFETCH(bool, hintAfter);
    JobList jobs;
    DropHint hint(jobs);
    if (listHasJob)
        jobs.addJob(u"/v/queued.avi"_s);
    hint.setVisible(hintBefore);
    DropIntake intake(jobs, hint);
    QMimeData data;
    if (dropFiles)
        data.setUrls(localFiles({u"/v/a.avi"_s}));
    else
        data.setText(u"some text"_s);

    intake.addDroppedFiles(data);
    QCOMPARE(hint.isVisible(), hintAfter);
}

void TestDropIntake::dropDuringBatchIsAppended()
{
    JobList jobs;
    DropHint hint(jobs);
    const JobList::JobId running = jobs.addJob(u"/v/running.avi"_s);
    jobs.addJob(u"/v/waiting.avi"_s);
    jobs.setJobRunning(running, true);
    DropIntake intake(jobs, hint);
    QMimeData data;
    data.setUrls(localFiles({u"/v/dropped.mpg"_s}));

    intake.addDroppedFiles(data);
    QCOMPARE(jobs.paths(),
             (QStringList{u"/v/running.avi"_s, u"/v/waiting.avi"_s, u"/v/dropped.mpg"_s}));
}

QTEST_GUILESS_MAIN(TestDropIntake)
#include "tst_dropintake.moc"
