#include "jobs/FolderListing.h"
#include "jobs/SearchFolderFiles.h"
#include "tests/jobs/TestTree.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

// Every case runs once per folder lister built on this platform.
class TestSearchFolderFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsEveryFileFilesBeforeSubfolders_data();
    void findsEveryFileFilesBeforeSubfolders();
    void joinsPathsToTheFolderTextAsGiven_data();
    void joinsPathsToTheFolderTextAsGiven();
    void linksToFoldersAreNotFollowed_data();
    void linksToFoldersAreNotFollowed();
    void deepNestingHasNoLimit_data();
    void deepNestingHasNoLimit();
    void unlistableFoldersContributeNothing_data();
    void unlistableFoldersContributeNothing();
    void stopEndsTheSearch_data();
    void stopEndsTheSearch();
};

namespace {

struct Lister
{
    const char *name;
    FolderLister list;
};

const QList<Lister> &listers()
{
    static const QList<Lister> all{
        {"portable", &listFolderPortable},
#ifdef Q_OS_UNIX
        {"posix", &listFolderPosix},
#endif
    };
    return all;
}

// The lister column, the test's own columns, then for every lister the
// test's rows: rows(row) is called once per lister, and row(name) starts a
// named row with the lister filled in.
template <typename Columns, typename Rows> void perLister(Columns columns, Rows rows)
{
    QTest::addColumn<int>("lister");
    columns();
    for (qsizetype i = 0; i < listers().size(); ++i) {
        rows([i](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", listers().at(i).name, name) << static_cast<int>(i);
        });
    }
}

void listerRowsOnly()
{
    perLister([] {}, [](const auto &row) { row("tree"); });
}

QStringList search(const QString &folder)
{
    QFETCH(int, lister);
    QStringList found;
    SearchFolderFiles(
        folder, [&found](const QString &path) { found.append(path); }, {},
        listers().at(lister).list);
    return found;
}

} // namespace

void TestSearchFolderFiles::findsEveryFileFilesBeforeSubfolders_data()
{
    const QStringList example{u"a.avi"_s, u"notes.txt"_s, u"s/b.mp4"_s};
    const QStringList nested{u"top.avi"_s,     u"a/1.avi"_s,     u"a/z.avi"_s,  u"a/b/2.avi"_s,
                             u"a/b/c/3.avi"_s, u"a/b/c/4.avi"_s, u"d/5.avi"_s,  u"d/e/6.avi"_s,
                             u"d/e/f/7.avi"_s, u"d/g/8.avi"_s,   u"h/i/9.avi"_s};
    QStringList many{u"top.avi"_s};
    for (int i = 0; i < 250; ++i)
        many.append(u"s%1/clip.avi"_s.arg(i, 3, 10, QChar(u'0')));

    perLister(
        [] {
            QTest::addColumn<QStringList>("entries");
            QTest::addColumn<QStringList>("files"); // in the order found
        },
        [&](const auto &row) {
            row("files, then a subfolder") << example << example;
            row("by name, letter case aside, digits as characters")
                << QStringList{u"B.avi"_s, u"a.avi"_s, u"10.avi"_s, u"9.avi"_s, u"_x.avi"_s}
                << QStringList{u"10.avi"_s, u"9.avi"_s, u"a.avi"_s, u"B.avi"_s, u"_x.avi"_s};
            row("mixed-case subfolders by name")
                << QStringList{u"beta/1.avi"_s, u"Alpha/2.avi"_s, u"alpha2/3.avi"_s, u"z.avi"_s}
                << QStringList{u"z.avi"_s, u"Alpha/2.avi"_s, u"alpha2/3.avi"_s, u"beta/1.avi"_s};
            row("names equal but for case")
                << QStringList{u"a.avi"_s, u"A.avi"_s, u"a/x.avi"_s, u"A/y.avi"_s}
                << QStringList{u"A.avi"_s, u"a.avi"_s, u"A/y.avi"_s, u"a/x.avi"_s};
            row("hidden files and folders")
                << QStringList{u".cache/b.avi"_s, u"c.avi"_s, u"d/.e.mp3"_s, u".a.avi"_s}
                << QStringList{u".a.avi"_s, u"c.avi"_s, u".cache/b.avi"_s, u"d/.e.mp3"_s};
            row("nested siblings, depth first") << nested << nested;
            row("empty folder") << QStringList() << QStringList();
            row("only empty subfolders")
                << QStringList{u"e/"_s, u"f/g/"_s, u"f/h/"_s} << QStringList();
            row("250 subfolders, none skipped") << many << many;
            row("names kept as they are")
                << QStringList{u"视频 1.avi"_s, u"文件夹/clip .avi "_s, u"x/no extension"_s}
                << QStringList{u"视频 1.avi"_s, u"x/no extension"_s, u"文件夹/clip .avi "_s};
        });
}

void TestSearchFolderFiles::findsEveryFileFilesBeforeSubfolders()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, files);
    TestTree tree;
    QVERIFY(tree.add(entries));
    QCOMPARE(tree.relative(search(tree.path())), files);
}

void TestSearchFolderFiles::joinsPathsToTheFolderTextAsGiven_data()
{
    perLister([] { QTest::addColumn<QString>("suffix"); },
              [](const auto &row) {
                  row("plain") << QString();
                  // Like a drive root on other systems: the separator is
                  // doubled, which names the same file.
                  row("trailing separator kept") << u"/"_s;
                  row("dot segments kept") << u"/sub/.."_s;
              });
}

void TestSearchFolderFiles::joinsPathsToTheFolderTextAsGiven()
{
    QFETCH(QString, suffix);
    TestTree tree;
    QVERIFY(tree.add({u"a.avi"_s, u"sub/b.avi"_s}));
    const QString folder = tree.path() + suffix;

    const QStringList found = search(folder);
    QCOMPARE(found, (QStringList{folder + u"/a.avi"_s, folder + u"/sub/b.avi"_s}));
    for (const QString &path : found)
        QVERIFY2(QFile::exists(path), qPrintable(path));
}

void TestSearchFolderFiles::linksToFoldersAreNotFollowed_data()
{
    listerRowsOnly();
}

void TestSearchFolderFiles::linksToFoldersAreNotFollowed()
{
    TestTree tree;
    QVERIFY(tree.add({u"real/x.avi"_s, u"other/y.avi"_s}));
    QVERIFY(QFile::link(tree.path(), tree.path(u"real/loop"_s)));
    QVERIFY(QFile::link(tree.path(u"other"_s), tree.path(u"real/elsewhere"_s)));
    QVERIFY(QFile::link(tree.path(u"real/x.avi"_s), tree.path(u"real/file link.avi"_s)));
    QVERIFY(QFile::link(tree.path(u"missing.avi"_s), tree.path(u"real/dangling.avi"_s)));

    // Links to files are files like any other, whether or not they lead
    // anywhere; the converter reports the ones that cannot be read.
    QCOMPARE(tree.relative(search(tree.path(u"real"_s))),
             (QStringList{u"real/dangling.avi"_s, u"real/file link.avi"_s, u"real/x.avi"_s}));
}

void TestSearchFolderFiles::deepNestingHasNoLimit_data()
{
    listerRowsOnly();
}

void TestSearchFolderFiles::deepNestingHasNoLimit()
{
    constexpr int Depth = 300;
    TestTree tree;
    QStringList expected;
    QString folder;
    for (int level = 0; level < Depth; ++level) {
        expected.append(folder + u"level%1.avi"_s.arg(level));
        folder += u"d/"_s;
    }
    QVERIFY(tree.add(expected));
    // One file and one subfolder per folder: the order is fully determined.
    QCOMPARE(tree.relative(search(tree.path())), expected);
}

void TestSearchFolderFiles::unlistableFoldersContributeNothing_data()
{
    perLister(
        [] {
            QTest::addColumn<QString>("chosen");
            QTest::addColumn<QStringList>("files");
        },
        [](const auto &row) {
            row("missing folder") << u"gone"_s << QStringList();
            row("a file, not a folder") << u"open/y.avi"_s << QStringList();
            row("unreadable subfolder skipped")
                << QString() << QStringList{u"top.avi"_s, u"open/y.avi"_s};
        });
}

void TestSearchFolderFiles::unlistableFoldersContributeNothing()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, files);
    TestTree tree;
    QVERIFY(tree.add({u"top.avi"_s, u"locked/x.avi"_s, u"open/y.avi"_s}));
    const QString locked = tree.path(u"locked"_s);
    QVERIFY(QFile::setPermissions(locked, {}));
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (chosen.isEmpty() && !QDir(locked).entryList(QDir::Files).isEmpty())
        QSKIP("permissions do not keep this user (root) from listing the folder");

    const QString folder = chosen.isEmpty() ? tree.path() : tree.path(chosen);
    QCOMPARE(tree.relative(search(folder)), files);
}

void TestSearchFolderFiles::stopEndsTheSearch_data()
{
    perLister(
        [] {
            QTest::addColumn<bool>("stopBeforeStart");
            QTest::addColumn<int>("expectedCount");
        },
        [](const auto &row) {
            row("stopped before it starts") << true << 0;
            row("stopped at the first file") << false << 1;
        });
}

void TestSearchFolderFiles::stopEndsTheSearch()
{
    QFETCH(bool, stopBeforeStart);
    QFETCH(int, expectedCount);
    TestTree tree;
    QVERIFY(tree.add({u"1.avi"_s, u"2.avi"_s, u"a/3.avi"_s, u"a/4.avi"_s, u"b/5.avi"_s}));
    std::stop_source stop;
    if (stopBeforeStart)
        stop.request_stop();

    QFETCH(int, lister);
    int count = 0;
    SearchFolderFiles(
        tree.path(),
        [&](const QString &) {
            ++count;
            stop.request_stop();
        },
        stop.get_token(), listers().at(lister).list);
    QCOMPARE(count, expectedCount);
}

QTEST_GUILESS_MAIN(TestSearchFolderFiles)
#include "tst_searchfolderfiles.moc"
