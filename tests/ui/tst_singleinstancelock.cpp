#include "ui/SingleInstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/mount.h>

using namespace Qt::StringLiterals;
using Outcome = SingleInstanceLock::Outcome;

class TestSingleInstanceLock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void tryLock_data();
    void tryLock();

private:
    // Folder names below the test folder; an empty name stays empty.
    QString folder(const QString &name) const
    {
        return name.isEmpty() ? name : m_dir->filePath(name);
    }

    void makeReadOnly(const QString &path);

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mountPoint;
};

void TestSingleInstanceLock::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    // A plain file where a folder should be stops even the superuser.
    QFile file(m_dir->filePath(u"file"_s));
    QVERIFY(file.open(QIODevice::WriteOnly));
}

void TestSingleInstanceLock::cleanup()
{
    if (!m_mountPoint.isEmpty())
        QVERIFY(::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH) == 0);
    m_mountPoint.clear();
}

// The superuser ignores permission bits, so it gets a read-only file system.
void TestSingleInstanceLock::makeReadOnly(const QString &path)
{
    QVERIFY(QDir().mkpath(path));
    if (::mount("tmpfs", QFile::encodeName(path).constData(), "tmpfs", MS_RDONLY, "size=16k") == 0)
        m_mountPoint = path;
    else
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
}

void TestSingleInstanceLock::tryLock_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("heldIn");
    QTest::addColumn<QString>("readOnly");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("lockedIn");

    const QStringList usable{u"run"_s, u"cache"_s};
    const QStringList runBelowFile{u"file/run"_s, u"cache"_s};
    const QString none;
    QTest::newRow("first folder") << usable << none << none << Outcome::Locked << u"run"_s;
    QTest::newRow("missing first folder is made")
        << QStringList{u"new/run"_s, u"cache"_s} << none << none << Outcome::Locked << u"new/run"_s;
    QTest::newRow("another copy holds it")
        << usable << u"run"_s << none << Outcome::AnotherRuns << none;
    QTest::newRow("read-only first folder falls back")
        << usable << none << u"run"_s << Outcome::Locked << u"cache"_s;
    QTest::newRow("first folder below a file falls back")
        << runBelowFile << none << none << Outcome::Locked << u"cache"_s;
    QTest::newRow("no first folder falls back")
        << QStringList{none, u"cache"_s} << none << none << Outcome::Locked << u"cache"_s;
    QTest::newRow("another copy holds the fallback")
        << runBelowFile << u"cache"_s << none << Outcome::AnotherRuns << none;
    QTest::newRow("nowhere to lock starts unguarded") << QStringList{u"file/run"_s, u"file/cache"_s}
                                                      << none << none << Outcome::Unguarded << none;
}

void TestSingleInstanceLock::tryLock()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, heldIn);
    QFETCH(QString, readOnly);
    QFETCH(Outcome, outcome);
    QFETCH(QString, lockedIn);
    // Held by this test's own process, which is as alive as another copy.
    QLockFile otherCopy(SingleInstanceLock::lockPath(folder(heldIn)));
    if (!heldIn.isEmpty()) {
        QVERIFY(QDir().mkpath(folder(heldIn)));
        QVERIFY(otherCopy.tryLock(0));
    }
    if (!readOnly.isEmpty()) {
        makeReadOnly(folder(readOnly));
        if (QFileInfo(folder(readOnly)).isWritable())
            QSKIP("no read-only folder can be made here");
    }
    QStringList paths;
    for (const QString &name : folders)
        paths << folder(name);
    SingleInstanceLock lock(paths);

    QCOMPARE(lock.tryLock(), outcome);
    // Where a second start finds the running copy to hand its files to.
    QCOMPARE(lock.folder(), folder(outcome == Outcome::AnotherRuns ? heldIn : lockedIn));

    for (const QString &name : folders) {
        if (!name.isEmpty() && name != heldIn)
            QCOMPARE(QFile::exists(SingleInstanceLock::lockPath(folder(name))), name == lockedIn);
    }
    // The lock this copy holds keeps the next start out.
    if (outcome == Outcome::Locked)
        QCOMPARE(SingleInstanceLock(paths).tryLock(), Outcome::AnotherRuns);
}

QTEST_GUILESS_MAIN(TestSingleInstanceLock)
#include "tst_singleinstancelock.moc"
