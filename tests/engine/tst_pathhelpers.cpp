#include "PathHelpers.h"

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
    void isPartFileOf_data();
    void isPartFileOf();
};

namespace {

PathStyle styleFor(bool windows)
{
    return windows ? PathStyle::windows() : PathStyle::native();
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

void TestPathHelpers::isPartFileOf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("expected");
    QTest::newRow("its own") << u".clip.part-a1B2c3.mp4"_s << u"clip.mp4"_s << true;
    QTest::newRow("a dotted name") << u".my.clip.part-a1B2c3.rm"_s << u"my.clip.rm"_s << true;
    QTest::newRow("no extension") << u".clip.part-a1B2c3"_s << u"clip"_s << true;
    QTest::newRow("brackets are letters")
        << u".Show [720p].part-a1B2c3.avi"_s << u"Show [720p].avi"_s << true;
    QTest::newRow("brackets match no other name")
        << u".Show 7.part-a1B2c3.avi"_s << u"Show [720p].avi"_s << false;
    QTest::newRow("a star matches no other name")
        << u".Show 7.part-a1B2c3.avi"_s << u"Show *.avi"_s << false;
    QTest::newRow("a question mark matches no other name")
        << u".ab.part-a1B2c3.avi"_s << u"a?.avi"_s << false;
    QTest::newRow("another extension") << u".clip.part-a1B2c3.mpg"_s << u"clip.mp4"_s << false;
    QTest::newRow("the finished file") << u"clip.mp4"_s << u"clip.mp4"_s << false;
    QTest::newRow("a longer tag") << u".clip.part-a1B2c3d.mp4"_s << u"clip.mp4"_s << false;
    const QString longBase(243, u'a');
    QTest::newRow("a name near the limit, shortened to fit")
        << u'.' + longBase.first(238) + u".part-a1B2c3.mpg"_s << longBase + u".mpg"_s << true;
    QTest::newRow("a name near the limit, not shortened")
        << u'.' + longBase + u".part-a1B2c3.mpg"_s << longBase + u".mpg"_s << false;
}

void TestPathHelpers::isPartFileOf()
{
    QFETCH(QString, name);
    QFETCH(QString, target);
    QFETCH(bool, expected);
    QCOMPARE(IsPartFileOf(name, target), expected);
}

QTEST_GUILESS_MAIN(TestPathHelpers)
#include "tst_pathhelpers.moc"
