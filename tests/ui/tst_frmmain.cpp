#include "Desktop.h"
#include "FakeFileOpenDialog.h"
#include "FolderDialog.h"
#include "RecordingMessageSink.h"
#include "SettingsFiles.h"
#include "frmMain.h"
#include "frmSuggest.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

class RecordingDesktop final : public Desktop
{
public:
    void openUrl(const QUrl &url) override { opened.append(url); }
    void playSound(const QString &file) override { sounds.append(file); }
    QList<QUrl> opened;
    QStringList sounds;
};

class FixedFolderDialog final : public FolderDialog
{
public:
    QString chooseFolder(const QString &title) override
    {
        titles.append(title);
        return answer;
    }
    QString answer;
    QStringList titles;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void startsWithFirstFormatAndItsDefaults();
    void restoredFormatReplacesRestoredAudioChoices();
    void formatChoiceWritesItsDefaults_data();
    void formatChoiceWritesItsDefaults();
    void typedChannelCountsAsNoChannel();
    void refusesStartOnEmptyList();
    void removePopupRemovesSelectedJob();
    void actionNamesDispatchExactly();
    void exitSavesButCloseDoesNot();
    void helpAndAboutAndLink();
    void browseWritesChoiceOrDefault();
    void toolbarTooltipsSayWhatButtonsDo();
    void feedbackLinkOpensFreshForm();
    void addFileAndFolderFromToolbar();
    void dropsQueueLocalFilesAndFolders();

private:
    frmMain &window();
    template <typename T> T *child(const QString &name) { return window().findChild<T *>(name); }

    QTemporaryDir m_dir;
    RecordingMessageSink m_messages;
    RecordingDesktop m_desktop;
    FixedFolderDialog m_folders;
    FakeFileOpenDialog m_files;
    std::unique_ptr<SettingsFiles> m_settings;
    std::unique_ptr<frmMain> m_window;
};

void TestFrmMain::init()
{
    m_messages = {};
    m_desktop = {};
    m_folders = {};
    m_files = {};
    m_settings = std::make_unique<SettingsFiles>(m_dir.path(), u"/videos/Zenvora"_s);
    QFile::remove(m_settings->setupPath());
    QFile::remove(m_settings->optionsPath());
}

void TestFrmMain::cleanup()
{
    m_window.reset();
}

frmMain &TestFrmMain::window()
{
    if (!m_window) {
        CommandEnvironment environment;
        environment.programFolder = m_dir.filePath(u"app"_s);
        environment.intermediatePath = m_dir.filePath(u"tmp/tmp.mp4"_s);
        m_window = std::make_unique<frmMain>(
            frmMainServices{m_messages, m_folders, m_files, m_desktop, *m_settings, environment});
    }
    return *m_window;
}

void TestFrmMain::startsWithFirstFormatAndItsDefaults()
{
    const ConversionSettings s = window().currentSettings();
    QCOMPARE(s.format, OutputFormat::Rmvb);
    QCOMPARE((QStringList{s.videoBitrate, s.frameRate, s.size, s.audioRate, s.audioBitrate}),
             (QStringList{u"1200"_s, u"29"_s, u"原始大小"_s, u"44100"_s, u"320"_s}));
    QCOMPARE(s.channelIndex, 1);
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), SettingsFiles::DefaultOutputFolder());
    QCOMPARE(child<QComboBox>(u"cmbOF"_s)->currentText(), u"RMVB(RealPlayerRMVB)"_s);
    QCOMPARE(window().options().SoundPrompt, 0);
    QVERIFY(child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
}

void TestFrmMain::restoredFormatReplacesRestoredAudioChoices()
{
    // Audio bitrate 3 ("48"), rate 5 ("16000"), mono, a folder, then MP3.
    writeFile(m_settings->setupPath(), "\"3\"\r\n\"5\"\r\n\"0\"\r\n\"/data/out\"\r\n\"8\"\r\n");
    writeFile(m_settings->optionsPath(), "1\r\n0\r\n0\r\n0\r\n");
    const ConversionSettings s = window().currentSettings();
    QCOMPARE(s.format, OutputFormat::Mp3Audio);
    QCOMPARE(s.audioBitrate, u"320"_s);
    QCOMPARE(s.audioRate, u"48000"_s);
    QCOMPARE(s.channelIndex, 1);
    QCOMPARE(s.outputFolder, u"/data/out"_s);
    QCOMPARE(window().options().SoundPrompt, 1);

    // Saved again, the positions of what the combos now show are written.
    window().imgExit_Click();
    QFile setup(m_settings->setupPath());
    QVERIFY(setup.open(QIODevice::ReadOnly));
    QCOMPARE(setup.readAll(), QByteArray("\"13\"\r\n\"0\"\r\n\"1\"\r\n\"/data/out\"\r\n\"8\"\r\n"));
}

void TestFrmMain::formatChoiceWritesItsDefaults_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QStringList>("texts"); // video bitrate, frame rate, size, rate, bitrate
    QTest::addColumn<int>("channelIndex");
    QTest::newRow("mpg") << 2 << QStringList{u"600"_s, u"24"_s, u"原始大小"_s, u"28000"_s, u"64"_s}
                         << 1;
    QTest::newRow("3gp") << 7 << QStringList{u"128"_s, u"29"_s, u"320x240"_s, u"8000"_s, u"12.2"_s}
                         << 0;
    // MP3 leaves what the user typed into size, bitrate and frame rate.
    QTest::newRow("mp3") << 8
                         << QStringList{u"typed vb"_s, u"typed f"_s, u"typed s"_s, u"48000"_s,
                                        u"320"_s}
                         << 1;
}

void TestFrmMain::formatChoiceWritesItsDefaults()
{
    QFETCH(int, format);
    QFETCH(QStringList, texts);
    QFETCH(int, channelIndex);
    child<QComboBox>(u"cmbVB"_s)->setCurrentText(u"typed vb"_s);
    child<QComboBox>(u"cmbF"_s)->setCurrentText(u"typed f"_s);
    child<QComboBox>(u"cmbS"_s)->setCurrentText(u"typed s"_s);
    child<QComboBox>(u"cmbR"_s)->setCurrentText(u"typed r"_s);
    child<QComboBox>(u"cmbChannel"_s)->setCurrentIndex(0);
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(format);
    const ConversionSettings s = window().currentSettings();
    QCOMPARE((QStringList{s.videoBitrate, s.frameRate, s.size, s.audioRate, s.audioBitrate}),
             texts);
    QCOMPARE(s.channelIndex, channelIndex);
}

void TestFrmMain::typedChannelCountsAsNoChannel()
{
    child<QComboBox>(u"cmbChannel"_s)->setCurrentText(u"立体"_s);
    QCOMPARE(window().currentSettings().channelIndex, -1);
    QCOMPARE(window().position(SetupControls::List::Channel), -1);
    child<QComboBox>(u"cmbR"_s)->setCurrentText(u"22050"_s);
    QCOMPARE(window().position(SetupControls::List::AudioRate), 4);
}

void TestFrmMain::refusesStartOnEmptyList()
{
    auto *start = child<QPushButton>(u"Command3"_s);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(m_messages.texts(), QStringList{u"请先添加一个文件"_s});
    QCOMPARE(m_messages.messages.first().caption, u"添加"_s);
    QVERIFY(child<QComboBox>(u"cmbOF"_s)->isEnabled());
    QCOMPARE(window().driver().state(), BatchDriver::State::Idle);
}

void TestFrmMain::removePopupRemovesSelectedJob()
{
    window().jobs().AddJob(u"/v/a.avi"_s);
    window().jobs().AddJob(u"/v/b.avi"_s);
    window().jobs().UpdateDropHint();
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    auto *view = child<QTreeView>(u"LV"_s);
    view->setCurrentIndex(window().jobs().index(1, 0));

    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_2"_s), Qt::LeftButton);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
    QCOMPARE(menu->objectName(), u"menuRemove"_s);
    QCOMPARE(window().jobs().jobCount(), 2); // the button only opens the pop-up
    menu->findChild<QAction *>(u"menuRemoveSelected"_s)->trigger();
    menu->close();
    QCOMPARE(window().jobs().paths(), QStringList{u"/v/a.avi"_s});
    QCOMPARE(child<QLineEdit>(u"txtAction"_s)->text(), QString());

    // Removing with nothing selected removes nothing.
    view->clearSelection();
    window().writeAction(u"RemoveSelected"_s);
    QCOMPARE(window().jobs().jobCount(), 1);
}

void TestFrmMain::actionNamesDispatchExactly()
{
    window().jobs().AddJob(u"/v/a.avi"_s);
    child<QTreeView>(u"LV"_s)->setCurrentIndex(window().jobs().index(0, 0));
    window().writeAction(u"removeselected"_s);
    QCOMPARE(window().jobs().jobCount(), 1);
    QCOMPARE(child<QLineEdit>(u"txtAction"_s)->text(), QString());
    window().writeAction(u"A"_s);
    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages.first().caption, u"Zenvora"_s);
    window().writeAction(u"RemoveSelected"_s);
    QCOMPARE(window().jobs().jobCount(), 0);
    QVERIFY(child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
}

void TestFrmMain::exitSavesButCloseDoesNot()
{
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(3);
    window().close();
    QVERIFY(!QFile::exists(m_settings->setupPath()));
    m_window.reset();

    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(3);
    QTest::mouseClick(child<QToolButton>(u"imgExit"_s), Qt::LeftButton);
    QFile setup(m_settings->setupPath());
    QVERIFY(setup.open(QIODevice::ReadOnly));
    QVERIFY(setup.readAll().endsWith("\"3\"\r\n"));
    QVERIFY(!window().isVisible());
}

void TestFrmMain::helpAndAboutAndLink()
{
    window().imgHelp_Click();
    QVERIFY(m_desktop.opened.isEmpty()); // no help page: nothing, and no message
    QVERIFY(m_messages.messages.isEmpty());
    QDir().mkpath(m_dir.filePath(u"app/help"_s));
    writeFile(m_dir.filePath(u"app/help/index.html"_s), "<html></html>");
    window().imgToolbar_Click(3);
    QCOMPARE(m_desktop.opened,
             QList<QUrl>{QUrl::fromLocalFile(m_dir.filePath(u"app/help/index.html"_s))});

    window().showAbout();
    const QStringList lines = m_messages.messages.first().text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).contains(u"Velmora"_s) && lines.at(0).contains(u"2008"_s));
    QCOMPARE(lines.at(2), frmMain::ProductWebPage());

    window().lblWeb_Click();
    QCOMPARE(m_desktop.opened.last(), QUrl(frmMain::ProductWebPage()));
}

void TestFrmMain::browseWritesChoiceOrDefault()
{
    m_folders.answer = u"/media/films"_s;
    QTest::mouseClick(child<QPushButton>(u"cmdBrowse"_s), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), u"/media/films"_s);
    QCOMPARE(m_folders.titles, QStringList{u"请选择一个文件夹:"_s});
    m_folders.answer.clear();
    window().cmdBrowse_Click();
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), SettingsFiles::DefaultOutputFolder());
}

void TestFrmMain::toolbarTooltipsSayWhatButtonsDo()
{
    QCOMPARE(child<QToolButton>(u"CmdToolsBar_0"_s)->text(), u"添加文件"_s);
    QVERIFY(!child<QToolButton>(u"CmdToolsBar_0"_s)->toolTip().contains(u"PDF"_s));
    QVERIFY(!child<QToolButton>(u"CmdToolsBar_1"_s)->toolTip().contains(u"PDF"_s));
    QVERIFY(!child<QToolButton>(u"CmdToolsBar_4"_s)->toolTip().contains(u"Move"_s));
    QVERIFY(!child<QToolButton>(u"CmdToolsBar_3"_s));
}

void TestFrmMain::feedbackLinkOpensFreshForm()
{
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    auto *link = child<QLabel>(u"lblFeed"_s);
    QTest::mouseClick(link, Qt::LeftButton);
    const QList<frmSuggest *> forms = window().findChildren<frmSuggest *>();
    QCOMPARE(forms.size(), 1);
    QCOMPARE(forms.first()->windowTitle(), u"建议和意见"_s);
    forms.first()->close();
    QTRY_VERIFY(window().findChildren<frmSuggest *>().isEmpty());

    // While a batch runs the link is disabled and opens nothing.
    link->setEnabled(false);
    QTest::mouseClick(link, Qt::LeftButton);
    QVERIFY(window().findChildren<frmSuggest *>().isEmpty());
}

void TestFrmMain::addFileAndFolderFromToolbar()
{
    QVERIFY(QDir().mkpath(m_dir.filePath(u"clips/sub"_s)));
    writeFile(m_dir.filePath(u"clips/b.mp4"_s), "b");
    writeFile(m_dir.filePath(u"clips/sub/c.rmvb"_s), "c");

    // A cancelled dialog changes nothing.
    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_0"_s), Qt::LeftButton);
    QCOMPARE(window().jobs().jobCount(), 0);
    QCOMPARE(m_files.requests.first().title, u"Open Files"_s);

    m_files.answers = {m_dir.filePath(u"clips/b.mp4"_s)};
    window().writeAction(u"AddaFile"_s);
    QCOMPARE(window().jobs().paths(), QStringList{m_dir.filePath(u"clips/b.mp4"_s)});
    QVERIFY(!child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));

    m_folders.answer = m_dir.filePath(u"clips"_s);
    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_1"_s), Qt::LeftButton);
    QCOMPARE(m_folders.titles, QStringList{u"选择一个文件夹:"_s});
    QTRY_COMPARE(window().jobs().jobCount(), 3);
    QCOMPARE(window().jobs().paths().mid(1), (QStringList{m_dir.filePath(u"clips/b.mp4"_s),
                                                          m_dir.filePath(u"clips/sub/c.rmvb"_s)}));
    QTRY_COMPARE(child<QLabel>(u"lblText"_s)->text(), u"拖拽文件到这里开始转换"_s);
}

void TestFrmMain::dropsQueueLocalFilesAndFolders()
{
    writeFile(m_dir.filePath(u"a.avi"_s), "a");
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QWidget *viewport = child<QTreeView>(u"LV"_s)->viewport();
    const auto drop = [&](const QList<QUrl> &urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter({10, 10}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent dropEvent(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                             Qt::NoModifier);
        QApplication::sendEvent(viewport, &dropEvent);
    };
    drop({QUrl::fromLocalFile(m_dir.filePath(u"a.avi"_s)), QUrl(u"https://example.org/x.avi"_s),
          QUrl::fromLocalFile(m_dir.path())});
    QCOMPARE(window().jobs().paths(), (QStringList{m_dir.filePath(u"a.avi"_s), m_dir.path()}));
    QVERIFY(!child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
