#include "engine/LegacyNames.h"
#include "jobs/FolderListing.h"
#include "jobs/JobList.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Names from old Windows archives: GBK bytes that are not UTF-8.
class TestLegacyNames final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void foundByTheirBytes();
};

namespace {

const QByteArray GbkHoliday("\xbc\xd9\xc6\xda"); // "假期"

bool makeFile(const QByteArray &path)
{
    const int file = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    return file >= 0 && ::close(file) == 0;
}

} // namespace

void TestLegacyNames::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("shown");
    QTest::newRow("UTF-8 as it is") << QByteArray("假期 1.avi") << u"假期 1.avi"_s;
    QTest::newRow("GBK read as GB18030") << GbkHoliday + ".avi" << u"假期.avi"_s;
    QTest::newRow("neither: bad bytes escaped")
        << QByteArray("\xff\xfe \xe5\x81\x87.avi") << u"%ff%fe 假.avi"_s;
}

void TestLegacyNames::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, shown);
    QCOMPARE(LegacyNames::decode(bytes), shown);
}

// What Qt makes of such a name (U+FFFD for every bad byte) is mended into
// the name as shown when a job is queued or a folder listed, and the shown
// name leads back to the bytes on disk.
void TestLegacyNames::foundByTheirBytes()
{
    QTemporaryDir work;
    QVERIFY(work.isValid());
    const QByteArray root = QFile::encodeName(work.path());
    const QByteArray folder = root + '/' + GbkHoliday;
    QVERIFY(::mkdir(folder.constData(), 0755) == 0);
    QVERIFY(makeFile(folder + '/' + GbkHoliday + ".avi"));
    const QString shown = work.path() + u"/假期/假期.avi"_s;
    // Qt cannot name these to remove them with the rest.
    const auto removeBoth = qScopeGuard([&folder] {
        ::unlink((folder + '/' + GbkHoliday + ".avi").constData());
        ::rmdir(folder.constData());
    });

    const QString lossy = QFile::decodeName(folder + '/' + GbkHoliday + ".avi");
    QVERIFY(lossy.contains(QChar::ReplacementCharacter));
    JobList jobs;
    jobs.addJobs({lossy});
    jobs.addJob(lossy);
    QCOMPARE(jobs.paths(), QStringList({shown, shown}));
    QCOMPARE(LegacyNames::bytesOf(shown), folder + '/' + GbkHoliday + ".avi");
    QCOMPARE(LegacyNames::bytesOf(work.path() + u"/假期/missing.avi"_s), std::nullopt);

    QStringList found;
    const QStringList subfolders =
        listFolderPosix(work.path(), [&found](const QString &path) { found.append(path); }, {});
    QCOMPARE(subfolders, QStringList{work.path() + u"/假期"_s});
    listFolderPosix(subfolders.first(), [&found](const QString &path) { found.append(path); }, {});
    QCOMPARE(found, QStringList{shown});
}

QTEST_GUILESS_MAIN(TestLegacyNames)
#include "tst_legacynames.moc"
