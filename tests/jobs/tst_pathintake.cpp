#include "jobs/DropHint.h"
#include "jobs/JobList.h"
#include "jobs/PathIntake.h"
#include "tests/jobs/TestTree.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestPathIntake : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void queuesInTheOrderNamed_data();
    void queuesInTheOrderNamed();

private:
    QStringList full(const QStringList &relative) const;

    TestTree m_tree;
};

void TestPathIntake::initTestCase()
{
    // One file a folder, so that the file system's listing order is no matter.
    QVERIFY(m_tree.add(
        {u"b.avi"_s, u"a clip.mp4"_s, u"d/sub/deep.mov"_s, u"d/.hidden.wav"_s, u"empty/"_s}));
}

QStringList TestPathIntake::full(const QStringList &relative) const
{
    QStringList paths;
    for (const QString &path : relative)
        paths.append(m_tree.path(path));
    return paths;
}

void TestPathIntake::queuesInTheOrderNamed_data()
{
    QTest::addColumn<QStringList>("first");
    // Named while the first paths are still being queued, as by a second start.
    QTest::addColumn<QStringList>("second");
    QTest::addColumn<QStringList>("queued");

    const QStringList folderD{u"d/.hidden.wav"_s, u"d/sub/deep.mov"_s};
    QTest::newRow("files as named") << QStringList{u"b.avi"_s, u"a clip.mp4"_s} << QStringList{}
                                    << QStringList{u"b.avi"_s, u"a clip.mp4"_s};
    QTest::newRow("a folder searched as Add Folder does")
        << QStringList{u"d"_s} << QStringList{} << folderD;
    QTest::newRow("a folder named with a trailing slash")
        << QStringList{u"d/"_s} << QStringList{} << folderD;
    QTest::newRow("files around a folder keep their places")
        << QStringList{u"b.avi"_s, u"d"_s, u"a clip.mp4"_s} << QStringList{}
        << QStringList{u"b.avi"_s} + folderD + QStringList{u"a clip.mp4"_s};
    QTest::newRow("more named during a search comes after it")
        << QStringList{u"d"_s} << QStringList{u"b.avi"_s, u"d/sub"_s}
        << folderD + QStringList{u"b.avi"_s, u"d/sub/deep.mov"_s};
    QTest::newRow("a missing file is queued as named")
        << QStringList{u"gone.avi"_s} << QStringList{} << QStringList{u"gone.avi"_s};
    QTest::newRow("an empty folder adds nothing")
        << QStringList{u"empty"_s} << QStringList{} << QStringList{};
}

void TestPathIntake::queuesInTheOrderNamed()
{
    QFETCH(QStringList, first);
    QFETCH(QStringList, second);
    QFETCH(QStringList, queued);
    JobList jobs;
    DropHint hint(jobs);
    hint.setVisible(false);
    PathIntake intake(jobs, hint);
    QSignalSpy allQueued(&intake, &PathIntake::allQueued);

    intake.addPaths(full(first));
    if (!second.isEmpty())
        intake.addPaths(full(second));

    QTRY_COMPARE(allQueued.size(), 1);
    QCOMPARE(m_tree.relative(jobs.paths()), queued);
    QCOMPARE(hint.isVisible(), queued.isEmpty());
}

QTEST_GUILESS_MAIN(TestPathIntake)
#include "tst_pathintake.moc"
