#include "jobs/BarFilter.h"
#include "jobs/DropHint.h"
#include "jobs/FileChooser.h"
#include "jobs/FileIntake.h"
#include "jobs/JobList.h"
#include "tests/helpers/FakeFileOpenDialog.h"
#include "tests/helpers/WindowsPathStyle.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestFileDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void barFilter_data();
    void barFilter();
    void showOpenReadsTheChoice_data();
    void showOpenReadsTheChoice();
    void showOpenStartsWhereTheLastChoiceWas();
    void showOpenCancelledKeepsEverything();
    void addFileCancelledChangesNothing();
    void addFileQueuesAndRemembersFolder();
};

namespace {

const QString ProgramFolder = u"/opt/zenvora"_s;

} // namespace

void TestFileDialogs::barFilter_data()
{
    QTest::addColumn<QString>("barFilter");
    QTest::addColumn<QStringList>("nameFilters");
    QTest::newRow("add file") << u"所有格式文件(*.*)|*.*"_s
                              << QStringList{u"所有格式文件(*.*) (*)"_s};
    QTest::newRow("drop zone") << u"*.*|*.*"_s << QStringList{u"*.* (*)"_s};
    QTest::newRow("several entries and patterns")
        << u"Video|*.avi;*.mp4|Audio|*.mp3|All|*.*"_s
        << QStringList{u"Video (*.avi *.mp4)"_s, u"Audio (*.mp3)"_s, u"All (*)"_s};
    QTest::newRow("description without pattern dropped")
        << u"Video|*.avi|Lonely"_s << QStringList{u"Video (*.avi)"_s};
    QTest::newRow("empty") << QString() << QStringList();
}

void TestFileDialogs::barFilter()
{
    QFETCH(QString, barFilter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(nameFiltersFromBarFilter(barFilter), nameFilters);
}

void TestFileDialogs::showOpenReadsTheChoice_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("path");
    QTest::newRow("in a folder") << u"D:\\v\\a.avi"_s << u"D:\\v"_s;
    QTest::newRow("at a drive root") << u"D:\\a.avi"_s << u"D:"_s;
    QTest::newRow("name with dots") << u"D:\\v.d\\my.clip.rmvb"_s << u"D:\\v.d"_s;
}

void TestFileDialogs::showOpenReadsTheChoice()
{
    QFETCH(QString, chosen);
    QFETCH(QString, path);
    FakeFileOpenDialog dialog;
    dialog.answers = {QStringList{chosen}};
    FileChooser dialogs(windowsPathStyle());
    dialogs.init(&dialog);
    dialogs.setTitle(u"Open Files"_s);
    dialogs.setFilter(u"所有格式文件(*.*)|*.*"_s);

    QVERIFY(dialogs.showOpen());
    QCOMPARE(dialogs.fileName(), chosen);
    QCOMPARE(dialogs.path(), path);

    // The first dialog of a run, with no folder given, opens in the
    // process's working folder with an empty name box.
    const FileOpenRequest &request = dialog.requests.constFirst();
    QCOMPARE(request.startFolder, QDir::currentPath());
    QCOMPARE(request.fileName, QString());
    QCOMPARE(request.title, u"Open Files"_s);
    QCOMPARE(request.nameFilters, QStringList{u"所有格式文件(*.*) (*)"_s});
    QVERIFY(!request.multipleFiles);
}

void TestFileDialogs::showOpenStartsWhereTheLastChoiceWas()
{
    FakeFileOpenDialog dialog;
    dialog.answers = {QStringList{u"D:\\v\\a.avi"_s}, QStringList{u"E:\\w\\b.mp4"_s}};
    FileChooser dialogs(windowsPathStyle());
    dialogs.init(&dialog);

    QVERIFY(dialogs.showOpen());
    QVERIFY(dialogs.showOpen());
    const FileOpenRequest &second = dialog.requests.at(1);
    QCOMPARE(second.startFolder, u"D:\\v"_s);
    QCOMPARE(second.fileName, u"D:\\v\\a.avi"_s);
    QCOMPARE(dialogs.fileName(), u"E:\\w\\b.mp4"_s);
}

void TestFileDialogs::showOpenCancelledKeepsEverything()
{
    FakeFileOpenDialog dialog;
    dialog.answers = {QStringList{u"D:\\v\\a.avi"_s}, QStringList()};
    FileChooser dialogs(windowsPathStyle());
    QVERIFY(!dialogs.showOpen()); // no dialog yet
    QVERIFY(dialog.requests.isEmpty());

    dialogs.init(&dialog);
    QVERIFY(dialogs.showOpen());
    QVERIFY(!dialogs.showOpen());
    QCOMPARE(dialog.requests.size(), 2);
    QCOMPARE(dialogs.fileName(), u"D:\\v\\a.avi"_s);
    QCOMPARE(dialogs.path(), u"D:\\v"_s);
}

void TestFileDialogs::addFileCancelledChangesNothing()
{
    JobList jobs;
    DropHint hint(jobs);
    hint.setVisible(false); // as after a batch has emptied the list
    FakeFileOpenDialog dialog;
    FileChooser dialogs;
    dialogs.init(&dialog);
    FileIntake intake(jobs, hint, dialogs);

    QVERIFY(!intake.addFileToJobs());
    QCOMPARE(dialog.requests.size(), 1);
    QCOMPARE(jobs.jobCount(), 0);
    QVERIFY(!hint.isVisible());
    QCOMPARE(dialogs.path(), QString());
}

void TestFileDialogs::addFileQueuesAndRemembersFolder()
{
    JobList jobs;
    DropHint hint(jobs);
    FakeFileOpenDialog dialog;
    dialog.answers = {QStringList{u"/v/a.avi "_s},
                      QStringList{u"/w/x/b.rmvb"_s, u"/u/c.mp4"_s, u"/w/x/a.avi"_s}};
    FileChooser dialogs;
    dialogs.setPath(u"/start"_s);
    dialogs.init(&dialog);
    FileIntake intake(jobs, hint, dialogs);

    QVERIFY(intake.addFileToJobs());
    QCOMPARE(jobs.paths(), QStringList{u"/v/a.avi "_s});
    QCOMPARE(jobs.jobAt(0).tag, u"AVI"_s);
    QVERIFY(!hint.isVisible());
    QCOMPARE(dialogs.path(), u"/v"_s);

    // Several files at once: queued in the dialog's order; the last one is
    // remembered.
    QVERIFY(intake.addFileToJobs());
    QCOMPARE(jobs.paths(),
             (QStringList{u"/v/a.avi "_s, u"/w/x/b.rmvb"_s, u"/u/c.mp4"_s, u"/w/x/a.avi"_s}));
    QCOMPARE(dialogs.path(), u"/w/x"_s);
    QVERIFY(!intake.addFileToJobs());

    // Nothing remembered yet: the dialog object's own folder is kept.
    QCOMPARE(dialog.requests.at(0).startFolder, u"/start"_s);
    QCOMPARE(dialog.requests.at(1).startFolder, u"/v"_s);
    QCOMPARE(dialog.requests.at(1).fileName, u"/v/a.avi "_s);
    QCOMPARE(dialog.requests.at(2).startFolder, u"/w/x"_s);
    QCOMPARE(dialog.requests.at(2).fileName, u"/w/x/a.avi"_s);
    for (const FileOpenRequest &request : std::as_const(dialog.requests)) {
        QCOMPARE(request.title, u"Open Files"_s);
        QCOMPARE(request.nameFilters.size(), 2);
        QVERIFY(request.nameFilters.first().startsWith(u"音视频文件 (*.avi *.mp4 "_s));
        for (const char *pattern : {" *.rmvb ", " *.mpg ", " *.mp3 ", " *.3gp ", " *.mkv "})
            QVERIFY(request.nameFilters.first().contains(QLatin1StringView(pattern)));
        QCOMPARE(request.nameFilters.last(), u"所有文件(*.*) (*)"_s);
        QVERIFY(request.multipleFiles);
    }
}

QTEST_GUILESS_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
