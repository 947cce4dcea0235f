#include "engine/BuildOutputPath.h"
#include "tests/helpers/WindowsPathStyle.h"

#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

class TestBuildOutputPath : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void naming_data();
    void naming();
    void timeSuffix_data();
    void timeSuffix();
    void suffixesCollideWithoutPadding();
    void existingFiles_data();
    void existingFiles();
};

namespace {

CommandEnvironment environment(PathStyle style, QTime time, QSet<QString> existing = {})
{
    CommandEnvironment env;
    env.pathStyle = style;
    env.clock = [time] { return time; };
    env.pathExists = [existing](const QString &path) { return existing.contains(path); };
    return env;
}

} // namespace

void TestBuildOutputPath::naming_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("expected");

    QTest::newRow("separator added") << true << u"E:\\out"_s << u"D:\\clips\\holiday.avi"_s
                                     << u".rmvb"_s << u"E:\\out\\holiday-957.rmvb"_s;
    QTest::newRow("separator kept") << true << u"E:\\out\\"_s << u"D:\\clips\\holiday.avi"_s
                                    << u".mp3"_s << u"E:\\out\\holiday-957.mp3"_s;
    QTest::newRow("name cut at its first dot")
        << true << u"E:\\out"_s << u"D:\\clips.v2\\my.clip.part.avi"_s << u".mov"_s
        << u"E:\\out\\my-957.mov"_s;
    QTest::newRow("folder text used as it is") << true << u" E:\\my out "_s << u"holiday.avi"_s
                                               << u".rm"_s << u" E:\\my out \\holiday-957.rm"_s;
    QTest::newRow("native") << false << u"/home/u/Videos/Zenvora"_s << u"/media/clips/holiday.avi"_s
                            << u".3gp"_s << u"/home/u/Videos/Zenvora/holiday-957.3gp"_s;
    QTest::newRow("native separator kept")
        << false << u"/out/"_s << u"/in/a.b.mkv"_s << u".mp4"_s << u"/out/a-957.mp4"_s;
}

void TestBuildOutputPath::naming()
{
    QFETCH(bool, windows);
    QFETCH(QString, folder);
    QFETCH(QString, input);
    QFETCH(QString, extension);
    QFETCH(QString, expected);
    const PathStyle style = windows ? windowsPathStyle() : PathStyle::native();
    QCOMPARE(BuildOutputPath(environment(style, QTime(9, 5, 7)), folder, input, extension),
             expected);
}

void TestBuildOutputPath::timeSuffix_data()
{
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("expected");

    QTest::newRow("09:05:07") << QTime(9, 5, 7) << u"E:\\out\\a-957.avi"_s;
    QTest::newRow("10:00:05") << QTime(10, 0, 5) << u"E:\\out\\a-1005.avi"_s;
    QTest::newRow("01:00:05") << QTime(1, 0, 5) << u"E:\\out\\a-105.avi"_s;
    QTest::newRow("midnight") << QTime(0, 0, 0) << u"E:\\out\\a-000.avi"_s;
    QTest::newRow("last second") << QTime(23, 59, 59) << u"E:\\out\\a-235959.avi"_s;
}

void TestBuildOutputPath::timeSuffix()
{
    QFETCH(QTime, time);
    QFETCH(QString, expected);
    QCOMPARE(BuildOutputPath(environment(windowsPathStyle(), time), u"E:\\out"_s, u"C:\\a.avi"_s,
                             u".avi"_s),
             expected);
}

void TestBuildOutputPath::suffixesCollideWithoutPadding()
{
    const auto pathAt = [](QTime time) {
        return BuildOutputPath(environment(windowsPathStyle(), time), u"E:\\out"_s, u"C:\\a.avi"_s,
                               u".avi"_s);
    };
    QCOMPARE(pathAt(QTime(1, 10, 5)), u"E:\\out\\a-1105.avi"_s);
    QCOMPARE(pathAt(QTime(11, 0, 5)), pathAt(QTime(1, 10, 5)));
}

void TestBuildOutputPath::existingFiles_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("expected");

    const QString base = u"E:\\out\\holiday-957"_s;
    QTest::newRow("free") << QStringList() << base + u".rmvb"_s;
    QTest::newRow("taken once") << QStringList{base + u".rmvb"_s} << base + u"-2.rmvb"_s;
    QTest::newRow("taken twice") << QStringList{base + u".rmvb"_s, base + u"-2.rmvb"_s}
                                 << base + u"-3.rmvb"_s;
    QTest::newRow("first free copy wins")
        << QStringList{base + u".rmvb"_s, base + u"-3.rmvb"_s} << base + u"-2.rmvb"_s;
    QTest::newRow("only a copy exists") << QStringList{base + u"-2.rmvb"_s} << base + u".rmvb"_s;
    QTest::newRow("other extension is no collision")
        << QStringList{base + u".rm"_s} << base + u".rmvb"_s;
}

void TestBuildOutputPath::existingFiles()
{
    QFETCH(QStringList, existing);
    QFETCH(QString, expected);
    const CommandEnvironment env = environment(windowsPathStyle(), QTime(9, 5, 7),
                                               QSet<QString>(existing.begin(), existing.end()));
    QCOMPARE(BuildOutputPath(env, u"E:\\out"_s, u"D:\\clips\\holiday.avi"_s, u".rmvb"_s), expected);
}

QTEST_GUILESS_MAIN(TestBuildOutputPath)
#include "tst_buildoutputpath.moc"
