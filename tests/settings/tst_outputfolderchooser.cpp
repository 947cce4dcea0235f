#include "settings/OutputFolderChooser.h"
#include "tests/helpers/RecordingFolderDialog.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_OutputFolderChooser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void browse_data();
    void browse();
    void opensAtTheNearestFolderThatExists_data();
    void opensAtTheNearestFolderThatExists();
};

void tst_OutputFolderChooser::browse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cancel keeps the folder") << QString() << u"/srv/current"_s;
    QTest::newRow("root as returned") << u"/"_s << u"/"_s;
    QTest::newRow("folder without trailing separator") << u"/srv/Out"_s << u"/srv/Out"_s;
    QTest::newRow("trailing separator kept") << u"/srv/Out/"_s << u"/srv/Out/"_s;
    QTest::newRow("Windows root") << u"C:\\"_s << u"C:\\"_s;
    QTest::newRow("spaces, commas, Chinese") << u"/mnt/视频 a, b"_s << u"/mnt/视频 a, b"_s;
}

void tst_OutputFolderChooser::browse()
{
    QFETCH(QString, answer);
    QFETCH(QString, expected);
    RecordingFolderDialog dialog;
    dialog.answers = {answer};
    const OutputFolderChooser chooser(dialog);

    QCOMPARE(chooser.browse(u"/srv/current"_s), expected);
    QCOMPARE(dialog.titles, QStringList{u"请选择一个文件夹:"_s});
    QCOMPARE(dialog.starts, QStringList{u"/srv/current"_s});
}

void tst_OutputFolderChooser::opensAtTheNearestFolderThatExists_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("opens"); // "~" for the home folder

    const QString existing = QDir::tempPath();
    QTest::newRow("an existing folder") << existing << existing;
    QTest::newRow("a folder not made yet opens above it")
        << existing + u"/zenvora-not-made/Zenvora"_s << existing;
    QTest::newRow("a trailing separator") << existing + u'/' << existing;
    QTest::newRow("a relative name") << u"Desktop"_s << u"~"_s;
    QTest::newRow("nothing") << QString() << u"~"_s;
}

void tst_OutputFolderChooser::opensAtTheNearestFolderThatExists()
{
    QFETCH(QString, start);
    QFETCH(QString, opens);
    QCOMPARE(OutputFolderChooser::nearestExistingFolder(start),
             opens == u"~" ? QDir::homePath() : opens);
}

QTEST_GUILESS_MAIN(tst_OutputFolderChooser)
#include "tst_outputfolderchooser.moc"
