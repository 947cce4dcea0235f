#include "jobs/DropHint.h"
#include "jobs/FolderIntake.h"
#include "jobs/FolderScan.h"
#include "jobs/JobList.h"
#include "jobs/SearchFolderFiles.h"
#include "tests/helpers/RecordingFolderDialog.h"
#include "tests/jobs/TestTree.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Qt::StringLiterals;

class TestFolderIntake : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void scanDeliversEverythingInOrderOnTheOwnersThread();
    void destroyingTheOwnerStopsTheSearch();
    void cancelledChooserChangesNothing_data();
    void cancelledChooserChangesNothing();
    void searchShowsHintThenQueuesAfterExistingJobs();
    void emptyFolderRestoresTextAndShowsHint();
    void secondSearchQueuesOnlyItsOwnFolder();
    void addFolderWhileSearchingIsRefused();

private:
    TestTree m_large;
};

namespace {

constexpr int LargeTreeFiles = 5000;

QStringList searched(const QString &folder)
{
    QStringList found;
    SearchFolderFiles(folder, [&found](const QString &path) { found.append(path); });
    return found;
}

// Enough files for several batches, spread over a few folders.
QStringList largeTreeEntries()
{
    QStringList entries;
    for (int i = 0; i < LargeTreeFiles; ++i)
        entries.append(u"f%1/g%2/clip%3.avi"_s.arg(i % 5).arg(i % 7).arg(i));
    return entries;
}

bool waitUntilSearched(FolderIntake &intake)
{
    QSignalSpy searching(&intake, &FolderIntake::searchingChanged);
    return !intake.isSearching() || searching.wait(30000);
}

} // namespace

void TestFolderIntake::initTestCase()
{
    QVERIFY(m_large.add(largeTreeEntries()));
}

void TestFolderIntake::scanDeliversEverythingInOrderOnTheOwnersThread()
{
    FolderScan scan;
    QStringList delivered;
    int batches = 0;
    bool offThread = false;
    connect(&scan, &FolderScan::filesFound, this, [&](const QStringList &batch) {
        delivered += batch;
        ++batches;
        offThread = offThread || QThread::currentThread() != thread();
    });
    QSignalSpy finished(&scan, &FolderScan::finished);

    QVERIFY(scan.start(m_large.path()));
    QVERIFY(scan.isRunning());
    QVERIFY(!scan.start(m_large.path()));
    QVERIFY(finished.wait(30000));
    QVERIFY(!scan.isRunning());
    QCOMPARE(finished.count(), 1);
    QVERIFY(!offThread);
    QVERIFY2(batches > 1, "a large tree must arrive in several batches");
    // The listing order of an unchanged folder is stable, so the threaded
    // scan must give exactly what a direct search gives.
    QCOMPARE(delivered, searched(m_large.path()));
}

void TestFolderIntake::destroyingTheOwnerStopsTheSearch()
{
    JobList jobs;
    DropHint hint(jobs);
    RecordingFolderDialog dialog;
    dialog.answers = {m_large.path()};
    auto intake = std::make_unique<FolderIntake>(jobs, hint, dialog);
    QVERIFY(intake->addFolderToJobs());
    intake.reset();
    // Batches already posted die with the intake; none may arrive later.
    QTest::qWait(100);
    QCOMPARE(jobs.jobCount(), 0);
}

void TestFolderIntake::cancelledChooserChangesNothing_data()
{
    QTest::addColumn<bool>("hintVisible");
    QTest::newRow("hint shown") << true;
    // As after a batch has emptied the list.
    QTest::newRow("hint hidden on an empty list") << false;
}

void TestFolderIntake::cancelledChooserChangesNothing()
{
    QFETCH(bool, hintVisible);
    JobList jobs;
    DropHint hint(jobs);
    hint.setVisible(hintVisible);
    RecordingFolderDialog dialog;
    FolderIntake intake(jobs, hint, dialog);
    QSignalSpy hintText(&intake, &FolderIntake::hintTextChanged);
    QSignalSpy searching(&intake, &FolderIntake::searchingChanged);

    QVERIFY(!intake.addFolderToJobs());
    QCOMPARE(dialog.titles, QStringList{u"选择一个文件夹:"_s});
    QCOMPARE(hint.isVisible(), hintVisible);
    QCOMPARE(intake.hintText(), u"拖拽文件到这里开始转换"_s);
    QCOMPARE(hintText.count(), 0);
    QCOMPARE(searching.count(), 0);
    QCOMPARE(jobs.jobCount(), 0);
}

void TestFolderIntake::searchShowsHintThenQueuesAfterExistingJobs()
{
    TestTree tree;
    QVERIFY(tree.add({u"a.avi"_s, u"notes.txt"_s, u"s/b.mp4"_s}));
    JobList jobs;
    DropHint hint(jobs);
    jobs.addJob(u"/queued/first.avi"_s);
    hint.update();
    RecordingFolderDialog dialog;
    dialog.answers = {tree.path()};
    FolderIntake intake(jobs, hint, dialog);
    QSignalSpy hintText(&intake, &FolderIntake::hintTextChanged);

    QVERIFY(intake.addFolderToJobs());
    QVERIFY(intake.isSearching());
    QVERIFY(hint.isVisible()); // shown over the list although it has jobs
    QCOMPARE(intake.hintText(), u"搜索文件..."_s);

    QVERIFY(waitUntilSearched(intake));
    QCOMPARE(jobs.paths(), QStringList{u"/queued/first.avi"_s} + searched(tree.path()));
    QCOMPARE(tree.relative(jobs.paths().mid(1)).last(), u"s/b.mp4"_s);
    const int notes = static_cast<int>(jobs.paths().indexOf(tree.path(u"notes.txt"_s)));
    QCOMPARE(jobs.jobAt(notes).tag, u"TXT"_s);
    QCOMPARE(intake.hintText(), u"拖拽文件到这里开始转换"_s);
    QVERIFY(!hint.isVisible());
    QCOMPARE(hintText.count(), 2);
    QCOMPARE(hintText.at(0).at(0).toString(), u"搜索文件..."_s);
    QCOMPARE(hintText.at(1).at(0).toString(), u"拖拽文件到这里开始转换"_s);
}

void TestFolderIntake::emptyFolderRestoresTextAndShowsHint()
{
    TestTree tree;
    QVERIFY(tree.add({u"empty/"_s}));
    JobList jobs;
    DropHint hint(jobs);
    hint.setVisible(false);
    RecordingFolderDialog dialog;
    dialog.answers = {tree.path()};
    FolderIntake intake(jobs, hint, dialog);
    QSignalSpy searching(&intake, &FolderIntake::searchingChanged);

    QVERIFY(intake.addFolderToJobs());
    QVERIFY(waitUntilSearched(intake));
    QCOMPARE(jobs.jobCount(), 0);
    QCOMPARE(intake.hintText(), u"拖拽文件到这里开始转换"_s);
    QVERIFY(hint.isVisible());
    QCOMPARE(searching.count(), 2);
    QCOMPARE(searching.at(0).at(0).toBool(), true);
    QCOMPARE(searching.at(1).at(0).toBool(), false);
}

void TestFolderIntake::secondSearchQueuesOnlyItsOwnFolder()
{
    TestTree first;
    TestTree second;
    QVERIFY(first.add({u"1.avi"_s, u"x/2.avi"_s}));
    QVERIFY(second.add({u"3.avi"_s, u"y/4.avi"_s, u"y/z/5.avi"_s}));
    JobList jobs;
    DropHint hint(jobs);
    RecordingFolderDialog dialog;
    dialog.answers = {first.path(), second.path()};
    FolderIntake intake(jobs, hint, dialog);
    intake.setStartFolder(u"/srv/media"_s);

    QVERIFY(intake.addFolderToJobs());
    QVERIFY(waitUntilSearched(intake));
    QVERIFY(intake.addFolderToJobs());
    QVERIFY(waitUntilSearched(intake));
    QCOMPARE(jobs.paths(), searched(first.path()) + searched(second.path()));
    // Each chooser opens where the one before was left.
    QCOMPARE(dialog.starts, (QStringList{u"/srv/media"_s, first.path()}));
}

void TestFolderIntake::addFolderWhileSearchingIsRefused()
{
    JobList jobs;
    DropHint hint(jobs);
    RecordingFolderDialog dialog;
    dialog.answers = {m_large.path(), m_large.path()};
    FolderIntake intake(jobs, hint, dialog);

    QVERIFY(intake.addFolderToJobs());
    QVERIFY(!intake.addFolderToJobs());
    QCOMPARE(dialog.titles.size(), 1);
    QVERIFY(waitUntilSearched(intake));
    QCOMPARE(jobs.jobCount(), LargeTreeFiles);
}

QTEST_GUILESS_MAIN(TestFolderIntake)
#include "tst_folderintake.moc"
