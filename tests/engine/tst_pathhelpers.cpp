#include "engine/PathHelpers.h"
#include "tests/helpers/WindowsPathStyle.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPathHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parsePath_data();
    void parsePath();
    void fileNameFromPath_data();
    void fileNameFromPath();
    void nameWithoutExtension_data();
    void nameWithoutExtension();
};

namespace {

PathStyle styleFor(bool windows)
{
    return windows ? windowsPathStyle() : PathStyle::native();
}

void addColumns()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
}

} // namespace

void TestPathHelpers::parsePath_data()
{
    addColumns();
    QTest::newRow("file in folder") << true << u"C:\\v\\a.avi"_s << u"C:\\v\\"_s;
    QTest::newRow("drive without folder") << true << u"C:a.avi"_s << u"C:"_s;
    QTest::newRow("bare name") << true << u"a.avi"_s << QString();
    QTest::newRow("drive root") << true << u"C:\\"_s << u"C:\\"_s;
    QTest::newRow("network share") << true << u"\\\\srv\\share\\x.avi"_s << u"\\\\srv\\share\\"_s;
    QTest::newRow("empty") << true << QString() << QString();
    QTest::newRow("slash is no windows separator") << true << u"C:/v/a.avi"_s << u"C:"_s;
    QTest::newRow("native file in folder") << false << u"/home/u/a.avi"_s << u"/home/u/"_s;
    QTest::newRow("native root") << false << u"/"_s << u"/"_s;
    QTest::newRow("native bare name") << false << u"a.avi"_s << QString();
    QTest::newRow("native has no drives") << false << u"C:a.avi"_s << QString();
}

void TestPathHelpers::parsePath()
{
    QFETCH(bool, windows);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(ParsePath(path, styleFor(windows)), expected);
}

void TestPathHelpers::fileNameFromPath_data()
{
    addColumns();
    QTest::newRow("file in folder") << true << u"C:\\v\\a.avi"_s << u"a.avi"_s;
    QTest::newRow("bare name") << true << u"a.avi"_s << u"a.avi"_s;
    QTest::newRow("folder") << true << u"C:\\v\\"_s << QString();
    QTest::newRow("empty") << true << QString() << QString();
    QTest::newRow("drive end is no separator") << true << u"C:a.avi"_s << u"C:a.avi"_s;
    QTest::newRow("native file in folder") << false << u"/home/u/a.avi"_s << u"a.avi"_s;
    QTest::newRow("native backslash is a name character")
        << false << u"/x/a\\b.avi"_s << u"a\\b.avi"_s;
}

void TestPathHelpers::fileNameFromPath()
{
    QFETCH(bool, windows);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(FileNameFromPath(path, styleFor(windows)), expected);
}

void TestPathHelpers::nameWithoutExtension_data()
{
    addColumns();
    QTest::newRow("one extension") << true << u"C:\\v\\movie.avi"_s << u"movie"_s;
    QTest::newRow("cut at the first dot") << true << u"C:\\v\\my.clip.part.rmvb"_s << u"my"_s;
    QTest::newRow("dot in folder name") << true << u"C:\\v.d\\clip"_s << u"clip"_s;
    QTest::newRow("hidden file") << true << u"C:\\v\\.hidden"_s << QString();
    QTest::newRow("folder") << true << u"C:\\v\\"_s << QString();
    QTest::newRow("empty") << true << QString() << QString();
    QTest::newRow("native") << false << u"/home/u.d/my.clip.mkv"_s << u"my"_s;
}

void TestPathHelpers::nameWithoutExtension()
{
    QFETCH(bool, windows);
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(NameWithoutExtension(path, styleFor(windows)), expected);
}

QTEST_GUILESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
