#include "settings/SettingsFiles.h"
#include "tests/settings/BinaryBytes.h"
#include "tests/settings/FakeSetupControls.h"
#include "tests/settings/OptionsValues.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <optional>

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class tst_SettingsFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void saveSetupWritesGolden_data() { setupGoldenTable(); }
    void saveSetupWritesGolden();
    void loadSetupReadsGolden_data() { setupGoldenTable(); }
    void loadSetupReadsGolden();
    void setupRoundTrip_data();
    void setupRoundTrip();
    void loadSetup_data();
    void loadSetup();

    void saveOptionsWritesGolden_data() { optionsGoldenTable(); }
    void saveOptionsWritesGolden();
    void loadOptionsReadsGolden_data() { optionsGoldenTable(); }
    void loadOptionsReadsGolden();
    void loadOptions_data();
    void loadOptions();

    void saveCreatesMissingFolders();
    void unwritableFolderFailsTheSave_data();
    void unwritableFolderFailsTheSave();
    void fullDiskKeepsOldFiles();
    void pipesAreNoSettings();

private:
    // Each golden file is written by saving and gives back its values on loading.
    static void setupGoldenTable();
    static void optionsGoldenTable();
    SettingsFiles files() const { return SettingsFiles(m_dir->path(), DefaultFolder); }
    void writeFile(const QString &path, const QByteArray &content) const;
    bool mountSmallDisk(const QString &folder);
    static void fillDisk(const QString &folder);
    bool limitFileSize();
    void restoreFileSizeLimit();

    static inline const QString DefaultFolder = u"/default/Zenvora"_s;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_mountPoint;
    std::optional<rlimit> m_fileSizeLimit;
};

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray golden(const QString &name)
{
    const QByteArray bytes = fileBytes(QStringLiteral(SETTINGS_TEST_DATA "/") + name);
    if (bytes.isEmpty())
        qFatal("golden file %s missing", qPrintable(name));
    return bytes;
}

// Stands for "no file at all" in the tables below.
const QByteArray NoFile;

} // namespace

void tst_SettingsFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_SettingsFiles::cleanup()
{
    restoreFileSizeLimit();
    if (!m_mountPoint.isEmpty())
        QVERIFY(::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH) == 0);
    m_mountPoint.clear();
}

// A real full file system needs the right to mount one.
bool tst_SettingsFiles::mountSmallDisk(const QString &folder)
{
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
        return false;
    m_mountPoint = folder;
    return true;
}

void tst_SettingsFiles::fillDisk(const QString &folder)
{
    QFile filler(folder + u"/filler"_s);
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) > 0) {
    }
}

// Without the right to mount, a file size limit of zero makes every write
// fail the same way once the old files are in place.
bool tst_SettingsFiles::limitFileSize()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return false;
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit none{0, limit.rlim_max};
    if (::setrlimit(RLIMIT_FSIZE, &none) != 0)
        return false;
    m_fileSizeLimit = limit;
    return true;
}

void tst_SettingsFiles::restoreFileSizeLimit()
{
    if (m_fileSizeLimit)
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &*m_fileSizeLimit) == 0);
    m_fileSizeLimit.reset();
}

void tst_SettingsFiles::writeFile(const QString &path, const QByteArray &content) const
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

void tst_SettingsFiles::setupGoldenTable()
{
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("goldenFile");
    QTest::newRow("typical") << QList<int>{7, 4, 1, 5} << u"/home/李雷/My Videos, 2024"_s
                             << u"setup_typical.ini"_s;
    QTest::newRow("nothing selected, backslashes")
        << QList<int>{-1, -1, -1, -1} << u"/srv/王\\视频\\"_s << u"setup_unselected.ini"_s;
}

void tst_SettingsFiles::saveSetupWritesGolden()
{
    QFETCH(QList<int>, positions);
    QFETCH(QString, folder);
    QFETCH(QString, goldenFile);
    // A longer earlier file must leave nothing behind.
    writeFile(files().setupPath(), QByteArray(4096, 'z'));

    files().SaveSetup(FakeSetupControls(positions, folder));

    QCOMPARE(fileBytes(files().setupPath()), golden(goldenFile));
}

void tst_SettingsFiles::loadSetupReadsGolden()
{
    QFETCH(QList<int>, positions);
    QFETCH(QString, folder);
    QFETCH(QString, goldenFile);
    writeFile(files().setupPath(), golden(goldenFile));
    // Same format as the file, so no format defaults get in the way.
    FakeSetupControls controls({0, 0, 0, positions[3]}, u"/start"_s);

    files().LoadSetup(controls);

    QCOMPARE(controls.positions(), positions);
    QCOMPARE(controls.outputFolder(), folder);
}

void tst_SettingsFiles::setupRoundTrip_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("commas and spaces") << u"/media/My Videos, old"_s;
    QTest::newRow("trailing spaces") << u"/srv/my out  "_s;
    QTest::newRow("trailing slash kept") << u"/srv/out/"_s;
    QTest::newRow("Chinese") << u"/home/用户/视频/输出"_s;
    QTest::newRow("root") << u"/"_s;
}

void tst_SettingsFiles::setupRoundTrip()
{
    QFETCH(QString, folder);
    const FakeSetupControls saved({8, 3, 0, 6}, folder);
    files().SaveSetup(saved);
    FakeSetupControls restored({1, 1, 1, 6}, u"/start"_s);

    files().LoadSetup(restored);

    QCOMPARE(restored.positions(), saved.positions());
    QCOMPARE(restored.outputFolder(), folder);

    // The open-file dialog's folder is kept alike; a relative one is none.
    QVERIFY(files().saveLastFolder(folder));
    QCOMPARE(files().loadLastFolder(), folder);
    writeFile(files().lastFolderPath(), "\"videos\"\r\n");
    QCOMPARE(files().loadLastFolder(), QString());
}

void tst_SettingsFiles::loadSetup_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("startFolder");
    QTest::addColumn<QList<int>>("positions");
    QTest::addColumn<QString>("folder");

    // Before each row: bitrate 3, rate 2, channel 1, format 0. A different
    // format brings the defaults 9, 5, 0.
    const QList<int> start{3, 2, 1, 0};
    const auto setup = [](const char *bitrate, const char *rate, const char *channel,
                          const char *folder, const char *format) {
        return QByteArray("\"") + bitrate + "\"\r\n\"" + rate + "\"\r\n\"" + channel + "\"\r\n\"" +
               folder + "\"\r\n\"" + format + "\"\r\n";
    };

    QTest::newRow("no file keeps the controls") << NoFile << u"/start"_s << start << u"/start"_s;
    QTest::newRow("no file, empty folder gives the default")
        << NoFile << QString() << start << DefaultFolder;
    QTest::newRow("same format keeps the restored audio")
        << setup("7", "4", "1", "/x", "0") << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/x"_s;
    QTest::newRow("other format replaces the restored audio")
        << setup("7", "4", "1", "/x", "5") << u"/start"_s << QList<int>{9, 5, 0, 5} << u"/x"_s;
    QTest::newRow("empty folder line gives the default")
        << setup("7", "4", "1", "", "0") << u"/start"_s << QList<int>{7, 4, 1, 0} << DefaultFolder;
    QTest::newRow("-1 with the same format leaves no bitrate")
        << setup("-1", "4", "1", "/x", "0") << u"/start"_s << QList<int>{-1, 4, 1, 0} << u"/x"_s;
    QTest::newRow("-1 with another format gets its default")
        << setup("-1", "4", "1", "/x", "5") << u"/start"_s << QList<int>{9, 5, 0, 5} << u"/x"_s;
    QTest::newRow("channel 99 keeps the channel")
        << setup("7", "4", "99", "/x", "0") << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/x"_s;
    QTest::newRow("position equal to the count keeps")
        << setup("7", "6", "2", "/x", "0") << u"/start"_s << QList<int>{7, 2, 1, 0} << u"/x"_s;
    QTest::newRow("-2 keeps") << setup("-2", "4", "1", "/x", "0") << u"/start"_s
                              << QList<int>{3, 4, 1, 0} << u"/x"_s;
    QTest::newRow("format 9 keeps the format")
        << setup("7", "4", "1", "/x", "9") << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/x"_s;
    QTest::newRow("not a number keeps")
        << setup("abc", "4x", "", "/x", "0") << u"/start"_s << QList<int>{3, 2, 1, 0} << u"/x"_s;
    QTest::newRow("halves round to even") << setup("2.5", "3.5", "0.5", "/x", "0") << u"/start"_s
                                          << QList<int>{2, 4, 0, 0} << u"/x"_s;
    QTest::newRow("too wide for 16 bits does not wrap")
        << setup("65543", "65540", "65537", "/x", "65536") << u"/start"_s << start << u"/x"_s;
    QTest::newRow("hundreds of digits keep")
        << setup(QByteArray(400, '1').constData(), "4", "1", "/x", "0") << u"/start"_s
        << QList<int>{3, 4, 1, 0} << u"/x"_s;
    QTest::newRow("unquoted fields and blanks") << " 7 \r\n4\r\n  \"1\"\r\n/x\r\n0\r\n"_ba
                                                << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/x"_s;
    QTest::newRow("line feeds only") << "\"7\"\n\"4\"\n\"1\"\n\"/x\"\n\"0\"\n"_ba << u"/start"_s
                                     << QList<int>{7, 4, 1, 0} << u"/x"_s;
    QTest::newRow("last line without an end") << "\"7\"\r\n\"4\"\r\n\"1\"\r\n\"/x\"\r\n\"5\""_ba
                                              << u"/start"_s << QList<int>{9, 5, 0, 5} << u"/x"_s;
    QTest::newRow("a quote ends the folder")
        << setup("7", "4", "1", "/a\"b", "0") << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/a"_s;
    QTest::newRow("fewer lines keep the rest")
        << "\"7\"\r\n\"4\"\r\n"_ba << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/start"_s;
    QTest::newRow("empty file keeps all") << ""_ba << u"/start"_s << start << u"/start"_s;
    QTest::newRow("overlong folder line ends the reading")
        << "\"7\"\r\n\"4\"\r\n\"1\"\r\n\"" + QByteArray(100000, 'x') + "\"\r\n\"5\"\r\n"
        << u"/start"_s << QList<int>{7, 4, 1, 0} << u"/start"_s;
    QTest::newRow("binary file keeps all")
        << binaryBytes(4 << 20) << u"/start"_s << start << u"/start"_s;
    QTest::newRow("binary lines are no positions or folder")
        << "\xff\xfe\r\n\x00\x01\r\n\x80\r\nA\x00\xff\r\n\x02\r\n"_ba << u"/start"_s << start
        << DefaultFolder;
    // Only an absolute folder can be the output folder: anything else would
    // put the outputs into whatever the working folder happens to be.
    QTest::newRow("folder 13 gives the default") << setup("7", "4", "1", "13", "0") << u"/start"_s
                                                 << QList<int>{7, 4, 1, 0} << DefaultFolder;
    QTest::newRow("relative folder gives the default")
        << setup("7", "4", "1", "videos/out", "0") << u"/start"_s << QList<int>{7, 4, 1, 0}
        << DefaultFolder;
    QTest::newRow("leading space makes the folder relative")
        << setup("7", "4", "1", " /srv/out", "0") << u"/start"_s << QList<int>{7, 4, 1, 0}
        << DefaultFolder;
    QTest::newRow("Windows folder gives the default")
        << setup("7", "4", "1", "C:\\Users\\out", "0") << u"/start"_s << QList<int>{7, 4, 1, 0}
        << DefaultFolder;
    QTest::newRow("NUL after a slash gives the default")
        << "\"7\"\r\n\"4\"\r\n\"1\"\r\n\"/a\x00z\"\r\n\"0\"\r\n"_ba << u"/start"_s
        << QList<int>{7, 4, 1, 0} << DefaultFolder;
    QTest::newRow("bytes that are not UTF-8 after a slash give the default")
        << "\"7\"\r\n\"4\"\r\n\"1\"\r\n\"/a\xffz\"\r\n\"0\"\r\n"_ba << u"/start"_s
        << QList<int>{7, 4, 1, 0} << DefaultFolder;
    QTest::newRow("absolute folder not made yet is kept")
        << setup("7", "4", "1", "/no/such/folder/yet", "0") << u"/start"_s << QList<int>{7, 4, 1, 0}
        << u"/no/such/folder/yet"_s;
}

void tst_SettingsFiles::loadSetup()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, startFolder);
    QFETCH(QList<int>, positions);
    QFETCH(QString, folder);
    if (!content.isNull())
        writeFile(files().setupPath(), content);
    FakeSetupControls controls({3, 2, 1, 0}, startFolder);

    files().LoadSetup(controls);

    QCOMPARE(controls.positions(), positions);
    QCOMPARE(controls.outputFolder(), folder);
}

void tst_SettingsFiles::optionsGoldenTable()
{
    QTest::addColumn<QList<int>>("options");
    QTest::addColumn<QString>("goldenFile");
    QTest::newRow("cutter 1:02:03 to 1:02:33")
        << QList<int>{0, 1, 3723, 3753, 2, 1, 1} << u"options_cutter.ini"_s;
    QTest::newRow("negative and extreme values") << QList<int>{-1,
                                                               0,
                                                               std::numeric_limits<int>::min(),
                                                               std::numeric_limits<int>::max(),
                                                               32767,
                                                               0,
                                                               0}
                                                 << u"options_extremes.ini"_s;
}

void tst_SettingsFiles::saveOptionsWritesGolden()
{
    QFETCH(QList<int>, options);
    QFETCH(QString, goldenFile);
    writeFile(files().optionsPath(), QByteArray(4096, 'z'));

    files().SaveOptions(optionsOf(options));

    QCOMPARE(fileBytes(files().optionsPath()), golden(goldenFile));
}

void tst_SettingsFiles::loadOptionsReadsGolden()
{
    QFETCH(QList<int>, options);
    QFETCH(QString, goldenFile);
    writeFile(files().optionsPath(), golden(goldenFile));
    AppOptions loaded = optionsOf({5, 5, 5, 5});

    files().LoadOptions(loaded);

    QCOMPARE(valuesOf(loaded), options);
}

void tst_SettingsFiles::loadOptions_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QList<int>>("expected");

    // Before each row: sound off, cutter on from 90 s to 180 s, subtitles
    // 关闭. Without a sixth line the subtitles are 自动 whatever else is kept.
    const QList<int> kept{1, 1, 90, 180, 1, 0, 0};
    QTest::newRow("no file: sound on, cutter off, subtitles auto, times kept")
        << NoFile << QList<int>{0, 0, 90, 180, 1, 0, 0};
    QTest::newRow("1 first turns the sound off")
        << "1\r\n0\r\n0\r\n0\r\n"_ba << QList<int>{1, 0, 0, 0, 1, 0, 0};
    QTest::newRow("abc reads as 0")
        << "abc\r\n1\r\n90\r\n180\r\n"_ba << QList<int>{0, 1, 90, 180, 1, 0, 0};
    QTest::newRow("leading number of a text")
        << "  1xyz\r\n0 on\r\n30s\r\n-60\r\n"_ba << QList<int>{1, 0, 30, -60, 1, 0, 0};
    QTest::newRow("quoted numbers")
        << "\"0\"\r\n\"0\"\r\n\"30\"\r\n\"60\"\r\n"_ba << QList<int>{0, 0, 30, 60, 1, 0, 0};
    QTest::newRow("halves round to even")
        << "0.5\r\n1.5\r\n2.5\r\n-2.5\r\n"_ba << QList<int>{0, 2, 2, -2, 1, 0, 0};
    QTest::newRow("16-bit and 32-bit limits")
        << "32767\r\n-32768\r\n2147483647\r\n-2147483648\r\n"_ba
        << QList<int>{32767, -32768, 2147483647, std::numeric_limits<int>::min(), 1, 0, 0};
    QTest::newRow("just over the limits keeps")
        << "32768\r\n-32769\r\n2147483648\r\n-2147483649\r\n"_ba << kept;
    QTest::newRow("too wide does not wrap")
        << "65536\r\n65537\r\n4294967386\r\n4294967297\r\n"_ba << kept;
    QTest::newRow("hundreds of digits keep") << QByteArray(400, '9') + "\r\n" << kept;
    QTest::newRow("fifth line: files at once")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 0};
    QTest::newRow("files at once too wide keeps")
        << "0\r\n0\r\n0\r\n0\r\n32768\r\n"_ba << QList<int>{0, 0, 0, 0, 1, 0, 0};
    QTest::newRow("sixth line 1: subtitles off")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n1\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 1, 0};
    QTest::newRow("sixth line 0: subtitles auto")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n0\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 0};
    QTest::newRow("sixth line quoted 1")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n\"1\"\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 1, 0};
    QTest::newRow("sixth line in words is auto")
        << "0\r\n0\r\n0\r\n0\r\n4\r\noff\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 0};
    QTest::newRow("sixth line outside the list is auto")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n2\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 0};
    QTest::newRow("sixth line negative is auto")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n-1\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 0};
    QTest::newRow("sixth line too wide is auto")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n65537\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 0};
    QTest::newRow("seventh line 1: no notification")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n0\r\n1\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 0, 1};
    QTest::newRow("seventh line outside the list notifies")
        << "0\r\n0\r\n0\r\n0\r\n4\r\n1\r\n2\r\n"_ba << QList<int>{0, 0, 0, 0, 4, 1, 0};
    QTest::newRow("fewer lines keep the times")
        << "0\r\n0\r\n"_ba << QList<int>{0, 0, 90, 180, 1, 0, 0};
    QTest::newRow("one line holds one field")
        << "0,0,7,7\r\n"_ba << QList<int>{0, 1, 90, 180, 1, 0, 0};
    QTest::newRow("empty file keeps all but the two choices") << ""_ba << kept;
    QTest::newRow("binary file keeps all but the two choices") << binaryBytes(4 << 20) << kept;
    QTest::newRow("binary line reads as 0")
        << "\x00\xff\r\n1\r\n\x80\r\n7\r\n"_ba << QList<int>{0, 1, 0, 7, 1, 0, 0};
}

void tst_SettingsFiles::loadOptions()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, expected);
    if (!content.isNull())
        writeFile(files().optionsPath(), content);
    AppOptions options =
        optionsOf({1, 1, 90, 180, 1, AppOptions::SubtitlesOff, AppOptions::NotifyOff});

    files().LoadOptions(options);

    QCOMPARE(valuesOf(options), expected);
}

void tst_SettingsFiles::saveCreatesMissingFolders()
{
    const SettingsFiles nested(m_dir->filePath(u"a/b/zenvora"_s), DefaultFolder);

    nested.SaveSetup(FakeSetupControls({7, 4, 1, 5}, u"/home/李雷/My Videos, 2024"_s));
    nested.SaveOptions(optionsOf({0, 1, 3723, 3753, 2, 1, 1}));

    QCOMPARE(fileBytes(nested.setupPath()), golden(u"setup_typical.ini"_s));
    QCOMPARE(fileBytes(nested.optionsPath()), golden(u"options_cutter.ini"_s));
}

void tst_SettingsFiles::unwritableFolderFailsTheSave_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("foldersInTheWay");
    // A plain file where a folder should be stops even the superuser.
    QTest::newRow("settings folder below a file") << u"file/zenvora"_s << QStringList{};
    QTest::newRow("file names taken by folders")
        << u"taken"_s << QStringList{u"options.ini"_s, u"setup.ini"_s};
}

void tst_SettingsFiles::unwritableFolderFailsTheSave()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, foldersInTheWay);
    writeFile(m_dir->filePath(u"file"_s), "not a folder"_ba);
    const QDir settingsFolder(m_dir->filePath(folder));
    for (const QString &name : foldersInTheWay)
        QVERIFY(settingsFolder.mkpath(name));
    const SettingsFiles blocked(settingsFolder.path(), DefaultFolder);

    QVERIFY(!blocked.SaveSetup(FakeSetupControls({7, 4, 1, 5}, u"/x"_s)));
    QVERIFY(!blocked.SaveOptions(optionsOf({0, 1, 3723, 3753})));

    QCOMPARE(fileBytes(m_dir->filePath(u"file"_s)), "not a folder"_ba);
    // Only what was in the way is there: no settings file, no temporary.
    QCOMPARE(settingsFolder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             foldersInTheWay);
}

// A pipe under a settings name would block its reader for ever: it is read
// as no file, and a save leaves it in place and fails.
void tst_SettingsFiles::pipesAreNoSettings()
{
    const SettingsFiles files(m_dir->path(), DefaultFolder);
    for (const QString &path : {files.setupPath(), files.optionsPath()})
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    FakeSetupControls controls({7, 4, 1, 5}, QString());
    files.LoadSetup(controls);
    QCOMPARE(controls.outputFolder(), DefaultFolder);
    AppOptions options = optionsOf({1, 1, 5, 9, 1, AppOptions::SubtitlesOff});
    files.LoadOptions(options);
    QCOMPARE(options.SoundPrompt, 0);
    QCOMPARE(options.MusicCutterOn, 0);
    QCOMPARE(options.subtitles, AppOptions::SubtitlesAuto);

    QVERIFY(!files.SaveSetup(controls));
    QVERIFY(!files.SaveOptions(options));
    for (const QString &path : {files.setupPath(), files.optionsPath()})
        QCOMPARE(QFileInfo(path).isFile(), false);
}

void tst_SettingsFiles::fullDiskKeepsOldFiles()
{
    const QString folder = m_dir->filePath(u"full"_s);
    QVERIFY(QDir().mkpath(folder));
    const bool mounted = mountSmallDisk(folder);
    const SettingsFiles full(folder, DefaultFolder);
    const QByteArray oldSetup = golden(u"setup_typical.ini"_s);
    const QByteArray oldOptions = golden(u"options_cutter.ini"_s);
    writeFile(full.setupPath(), oldSetup);
    writeFile(full.optionsPath(), oldOptions);
    if (mounted)
        fillDisk(folder);
    else if (!limitFileSize())
        QSKIP("neither a small file system nor a file size limit can be set up here");

    const bool setupSaved = full.SaveSetup(FakeSetupControls({1, 2, 0, 3}, u"/elsewhere"_s));
    const bool optionsSaved = full.SaveOptions(optionsOf({1, 0, 10, 20}));
    restoreFileSizeLimit();

    QCOMPARE(fileBytes(full.setupPath()), oldSetup);
    QCOMPARE(fileBytes(full.optionsPath()), oldOptions);
    QVERIFY(!setupSaved);
    QVERIFY(!optionsSaved);
    // No temporary file is left behind either.
    QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    entries.removeOne(u"filler"_s);
    QCOMPARE(entries, (QStringList{u"options.ini"_s, u"setup.ini"_s}));
}

QTEST_GUILESS_MAIN(tst_SettingsFiles)
#include "tst_settingsfiles.moc"
