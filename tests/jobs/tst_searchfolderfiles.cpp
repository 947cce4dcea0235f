#include "FolderListing.h"
#include "SearchFolderFiles.h"
#include "TestTree.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QSet>
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
        {"portable", &ListFolderPortable},
#ifdef Q_OS_UNIX
        {"posix", &ListFolderPosix},
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

QStringList ancestorsOf(const QString &relativePath)
{
    QStringList folders{QString()};
    const QStringList parts = relativePath.split(u'/');
    for (qsizetype depth = 1; depth < parts.size(); ++depth)
        folders.append(parts.first(depth).join(u'/'));
    return folders;
}

// The order of a depth-first search that lists a folder's own files before
// descending: every folder's files form one unbroken block, which starts with
// the folder's own files. Returns what breaks that, or an empty text.
QString depthFirstViolation(const QStringList &found)
{
    QSet<QString> folders;
    for (const QString &path : found) {
        for (const QString &folder : ancestorsOf(path))
            folders.insert(folder);
    }
    for (const QString &folder : std::as_const(folders)) {
        const QString prefix = folder.isEmpty() ? QString() : folder + u'/';
        QList<qsizetype> own, deeper;
        for (qsizetype i = 0; i < found.size(); ++i) {
            if (found.at(i).startsWith(prefix))
                (found.at(i).sliced(prefix.size()).contains(u'/') ? deeper : own).append(i);
        }
        const QList<qsizetype> block = own + deeper;
        const auto [first, last] = std::minmax_element(block.cbegin(), block.cend());
        if (*last - *first + 1 != block.size())
            return u"the files under \"%1\" are not one block"_s.arg(folder);
        if (!own.isEmpty() && !deeper.isEmpty() && own.last() > deeper.first())
            return u"a file of \"%1\" comes after one of its subfolders"_s.arg(folder);
    }
    return {};
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

void TestSearchFolderFiles::findsEveryFileFilesBeforeSubfolders_data()
{
    const QStringList example{u"a.avi"_s, u"notes.txt"_s, u"s/b.mp4"_s};
    const QStringList hidden{u".a.avi"_s, u".cache/b.avi"_s, u"c.avi"_s, u"d/.e.mp3"_s};
    const QStringList nested{u"top.avi"_s,     u"a/1.avi"_s,   u"a/b/2.avi"_s, u"a/b/c/3.avi"_s,
                             u"a/b/c/4.avi"_s, u"a/z.avi"_s,   u"d/5.avi"_s,   u"d/e/6.avi"_s,
                             u"d/e/f/7.avi"_s, u"d/g/8.avi"_s, u"h/i/9.avi"_s};
    QStringList many{u"top.avi"_s};
    for (int i = 0; i < 250; ++i)
        many.append(u"s%1/clip.avi"_s.arg(i, 3, 10, QChar(u'0')));
    const QStringList names{u"视频 1.avi"_s, u"文件夹/clip .avi "_s, u"x/no extension"_s};

    perLister(
        [] {
            QTest::addColumn<QStringList>("entries");
            QTest::addColumn<QStringList>("files");
        },
        [&](const auto &row) {
            row("files, then a subfolder") << example << example;
            row("hidden files and folders") << hidden << hidden;
            row("nested siblings, depth first") << nested << nested;
            row("empty folder") << QStringList() << QStringList();
            row("only empty subfolders")
                << QStringList{u"e/"_s, u"f/g/"_s, u"f/h/"_s} << QStringList();
            row("250 subfolders, none skipped") << many << many;
            row("names kept as they are") << names << names;
        });
}

void TestSearchFolderFiles::findsEveryFileFilesBeforeSubfolders()
{
    QFETCH(QStringList, entries);
    QFETCH(QStringList, files);
    TestTree tree;
    QVERIFY(tree.add(entries));

    const QStringList found = tree.relative(search(tree.path()));
    QCOMPARE(sorted(found), sorted(files));
    const QString violation = depthFirstViolation(found);
    QVERIFY2(violation.isEmpty(), qPrintable(violation));
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
    QCOMPARE(sorted(found), (QStringList{folder + u"/a.avi"_s, folder + u"/sub/b.avi"_s}));
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
    QCOMPARE(sorted(tree.relative(search(tree.path(u"real"_s)))),
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
                << QString() << QStringList{u"open/y.avi"_s, u"top.avi"_s};
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
    QCOMPARE(sorted(tree.relative(search(folder))), files);
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
