#include "ui/WindowOptions.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWindowOptions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data();
    void parse();
};

void TestWindowOptions::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("version");
    QTest::addColumn<bool>("help");
    QTest::addColumn<QString>("errorNames"); // empty: understood

    const QDir here = QDir::current();
    QTest::newRow("nothing") << QStringList{} << QStringList{} << false << false << QString();
    QTest::newRow("paths in order, made absolute")
        << QStringList{u"b clip.avi"_s, u"/abs/假期"_s, u"sub/a.mp4"_s}
        << QStringList{here.absoluteFilePath(u"b clip.avi"_s), u"/abs/假期"_s,
                       here.absoluteFilePath(u"sub/a.mp4"_s)}
        << false << false << QString();
    QTest::newRow("a name like an option after --")
        << QStringList{u"--"_s, u"-v.avi"_s} << QStringList{here.absoluteFilePath(u"-v.avi"_s)}
        << false << false << QString();
    QTest::newRow("version") << QStringList{u"--version"_s} << QStringList{} << true << false
                             << QString();
    QTest::newRow("short version")
        << QStringList{u"-v"_s} << QStringList{} << true << false << QString();
    QTest::newRow("help") << QStringList{u"--help"_s} << QStringList{} << false << true
                          << QString();
    QTest::newRow("unknown option")
        << QStringList{u"--queue"_s, u"a.avi"_s} << QStringList{} << false << false << u"queue"_s;
    QTest::newRow("language before a path")
        << QStringList{u"--lang"_s, u"en"_s, u"a.avi"_s}
        << QStringList{here.absoluteFilePath(u"a.avi"_s)} << false << false << QString();
    QTest::newRow("language joined")
        << QStringList{u"--lang=zh"_s} << QStringList{} << false << false << QString();
    QTest::newRow("unknown language")
        << QStringList{u"--lang"_s, u"fr"_s} << QStringList{} << false << false << u"--lang"_s;
    QTest::newRow("language without a value")
        << QStringList{u"--lang"_s} << QStringList{} << false << false << u"lang"_s;
    // Before the window's toolkit has taken its own options out, --version
    // must still be seen among them.
    QTest::newRow("version among the toolkit's options")
        << QStringList{u"-platform"_s, u"offscreen"_s, u"--version"_s} << QStringList{} << true
        << false << u"p, l, a"_s;
}

void TestWindowOptions::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, paths);
    QFETCH(bool, version);
    QFETCH(bool, help);
    QFETCH(QString, errorNames);

    const WindowOptions options = WindowOptions::parse(QStringList{u"zenvora"_s} + arguments);

    QCOMPARE(options.versionRequested, version);
    QCOMPARE(options.helpRequested, help);
    QCOMPARE(options.error.isEmpty(), errorNames.isEmpty());
    QVERIFY2(options.error.contains(errorNames), qPrintable(options.error));
    if (errorNames.isEmpty())
        QCOMPARE(options.paths, paths);
}

QTEST_GUILESS_MAIN(TestWindowOptions)
#include "tst_windowoptions.moc"
