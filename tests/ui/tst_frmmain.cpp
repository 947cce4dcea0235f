#include "app/BatchStatus.h"
#include "app/ComboTexts.h"
#include "app/JobListModel.h"
#include "engine/AppPaths.h"
#include "engine/OutputFormats.h"
#include "engine/ports/Desktop.h"
#include "engine/ports/FolderDialog.h"
#include "settings/SettingsFiles.h"
#include "tests/helpers/FakeFileOpenDialog.h"
#include "tests/helpers/RecordingMessageSink.h"
#include "ui/HelpWindow.h"
#include "ui/MessageBoxSink.h"
#include "ui/WholeEntryComboBox.h"
#include "ui/feedback/frmSuggest.h"
#include "ui/frmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

class RecordingDesktop final : public Desktop
{
public:
    void showFolder(const QString &folder, const QStringList &selected, Failed failed) override
    {
        shown.append({folder, selected});
        if (!opens)
            failed();
    }
    void openUrl(const QUrl &url, Failed failed) override
    {
        opened.append(url);
        if (!opens)
            failed();
    }
    void playSound(const QString &file) override { sounds.append(file); }
    void stayAwake(Failed failed) override
    {
        awake.append(u"stay"_s);
        if (!keepsAwake)
            failed();
    }
    void allowSleep() override { awake.append(u"allow"_s); }
    void showBatchProgress(std::optional<double> fraction, int filesLeft) override
    {
        progress.append({fraction, filesLeft});
    }
    void notify(const QString &title, const QString &text, const QString &action,
                std::function<void()> chosen) override
    {
        notifications.append(QStringList{title, text, action});
        notificationChosen = std::move(chosen);
    }
    bool opens = true;
    QList<QUrl> opened;
    QList<std::pair<QString, QStringList>> shown;
    QStringList sounds;
    bool keepsAwake = true;
    QStringList awake;
    QList<std::pair<std::optional<double>, int>> progress;
    QList<QStringList> notifications;
    std::function<void()> notificationChosen;
};

class FixedFolderDialog final : public FolderDialog
{
public:
    QString chooseFolder(const QString &title, const QString &startFolder) override
    {
        titles.append(title);
        starts.append(startFolder);
        return answer;
    }
    QString answer;
    QStringList titles;
    QStringList starts;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(32).toImage();
}

// A label's background: its bottom-right corner, below any text.
QColor backgroundOf(const QImage &image)
{
    return image.pixelColor(image.width() - 1, image.height() - 1);
}

int distance(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
           std::abs(a.blue() - b.blue());
}

// The colour that stands out most from the background: the text's own.
QColor inkOf(const QImage &image)
{
    const QColor background = backgroundOf(image);
    QColor ink = background;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (distance(image.pixelColor(x, y), background) > distance(ink, background))
                ink = image.pixelColor(x, y);
        }
    }
    return ink;
}

// The longest horizontal run of text-coloured pixels: an underline spans
// the whole text, no stroke of a letter does.
int longestInkRun(const QImage &image)
{
    const QColor background = backgroundOf(image);
    int longest = 0;
    for (int y = 0; y < image.height(); ++y) {
        int run = 0;
        for (int x = 0; x < image.width(); ++x) {
            run = distance(image.pixelColor(x, y), background) > 90 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
    }
    return longest;
}

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysReachTheCommands_data();
    void keysReachTheCommands();
    void rowMenuRemovesAndOpensTheFolder();
    void combosShowTheirEntriesWhole();
    void init();
    void cleanup();
    void startsWithFirstFormatAndItsDefaults();
    void restoredFormatReplacesRestoredAudioChoices();
    void formatChoiceWritesItsDefaults_data();
    void formatChoiceWritesItsDefaults();
    void typedChannelCountsAsNoChannel();
    void refusesStartOnEmptyList();
    void removePopupRemovesSelectedJob();
    void menuActionsAreDispatched();
    void exitSavesButCloseDoesNot();
    void helpAndAboutAndLink();
    void browseWritesChoiceAndCancelKeepsIt();
    void tooltipsSayWhatControlsDo_data();
    void tooltipsSayWhatControlsDo();
    void feedbackLinkOpensFreshForm();
    void linksShowUnderlineAndDisabledLook_data();
    void linksShowUnderlineAndDisabledLook();
    void addFileQueuesChoicesInDialogOrder_data();
    void addFileQueuesChoicesInDialogOrder();
    void addFolderQueuesByName();
    void dropsQueueLocalFilesAndFolders();
    void longPathsStayReadable();
    void deleteRemovesSelectedRows_data();
    void deleteRemovesSelectedRows();
    void listMenuReadsChinese();
    void batchDisablesWhatItWouldIgnore_data();
    void batchDisablesWhatItWouldIgnore();
    void progressResetsAtStartAndStop_data();
    void progressResetsAtStartAndStop();
    void failureMessageWordsItselfByCount_data();
    void failureMessageWordsItselfByCount();
    void failureMessageNamesTheCause_data();
    void failureMessageNamesTheCause();
    void enterAnswersEachQuestionSafely_data();
    void enterAnswersEachQuestionSafely();
    void closeDuringBatchAsksFirst_data();
    void closeDuringBatchAsksFirst();
    void staleStopAnswerStopsNothing();
    void queueIsOfferedBackAtNextStart();
    void failedFilesStayMarkedForRetry();
    void couldNotStartIsToldAlone();
    void statusLineTellsPlaceAndEnd();
    void parametersTheFormatIgnoresAreDisabled();
    void unopenablePlacesAreTold();
    void filesAtOnceReachTheDriver_data();
    void filesAtOnceReachTheDriver();
    void desktopHearsOfTheBatch_data();
    void desktopHearsOfTheBatch();
    void subtitlesChoiceReachesTheEncoder_data();
    void subtitlesChoiceReachesTheEncoder();

private:
    frmMain &window();
    template <typename T> T *child(const QString &name) { return window().findChild<T *>(name); }
    QAction *listMenuItem(const QString &name);
    QAction *windowAction(const QString &name);

    QTemporaryDir m_dir;
    RecordingMessageSink m_messages;
    RecordingDesktop m_desktop;
    FixedFolderDialog m_folders;
    FakeFileOpenDialog m_files;
    std::unique_ptr<SettingsFiles> m_settings;
    QString m_stateFolder;
    std::unique_ptr<frmMain> m_window;
};

void TestFrmMain::init()
{
    m_messages = {};
    m_desktop = {};
    m_folders = {};
    m_files = {};
    m_stateFolder.clear();
    m_settings = std::make_unique<SettingsFiles>(m_dir.path(), u"/videos/Zenvora"_s);
    QFile::remove(m_settings->setupPath());
    QFile::remove(m_settings->optionsPath());
    QFile::remove(m_settings->lastFolderPath());
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
        m_window = std::make_unique<frmMain>(frmMainServices{
            m_messages, m_folders, m_files, m_desktop, *m_settings, environment, m_stateFolder});
    }
    return *m_window;
}

// A command of the window, shared by its toolbar, menus and keys.
QAction *TestFrmMain::windowAction(const QString &name)
{
    for (QAction *action : window().actions()) {
        if (action->objectName() == name)
            return action;
    }
    return nullptr;
}

QAction *TestFrmMain::listMenuItem(const QString &name)
{
    const QList<QAction *> submenus = child<QMenu>(u"menuList"_s)->actions();
    for (QAction *entry : submenus) {
        if (entry->objectName() == name)
            return entry;
        if (entry->menu())
            if (auto *item = entry->menu()->findChild<QAction *>(name))
                return item;
    }
    return nullptr;
}

void TestFrmMain::keysReachTheCommands_data()
{
    QTest::addColumn<QKeyCombination>("keys");
    QTest::addColumn<QString>("reached"); // what the command shows
    QTest::newRow("Ctrl+O adds files") << QKeyCombination(Qt::CTRL, Qt::Key_O) << u"file dialog"_s;
    QTest::newRow("Ctrl+Shift+O adds a folder")
        << QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_O) << u"folder dialog"_s;
    QTest::newRow("Ctrl+Return starts")
        << QKeyCombination(Qt::CTRL, Qt::Key_Return) << u"请先添加一个文件"_s;
}

void TestFrmMain::keysReachTheCommands()
{
    QFETCH(QKeyCombination, keys);
    QFETCH(QString, reached);
    window().show();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(&window(), keys.key(), keys.keyboardModifiers());
    QCOMPARE(m_files.requests.size(), reached == u"file dialog" ? 1 : 0);
    QCOMPARE(m_folders.titles.size(), reached == u"folder dialog" ? 1 : 0);
    QCOMPARE(m_messages.messages.size(), reached.startsWith(u"请") ? 1 : 0);
    if (!m_messages.messages.isEmpty())
        QCOMPARE(m_messages.messages.first().text, reached);
}

void TestFrmMain::rowMenuRemovesAndOpensTheFolder()
{
    window().jobs().addJobs({u"/v/a.avi"_s, u"/w/b.avi"_s});
    auto *view = child<QTreeView>(u"LV"_s);
    view->setCurrentIndex(view->model()->index(1, 0));
    listMenuItem(u"menuListOpenFolder"_s)->trigger();
    QCOMPARE(m_desktop.shown.last(), (std::pair{u"/w"_s, QStringList{u"/w/b.avi"_s}}));
    listMenuItem(u"menuListRemove"_s)->trigger();
    QCOMPARE(window().jobs().paths(), QStringList{u"/v/a.avi"_s});
}

// Every entry fits its list, and a box narrower than its text shows the
// text's start ("自动(按质量)" was seen as "动(按质量)").
void TestFrmMain::combosShowTheirEntriesWhole()
{
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(OutputFormats::indexOf(OutputFormat::H264Mp4));
    QCoreApplication::processEvents();
    for (auto *box : window().findChildren<WholeEntryComboBox *>()) {
        box->showPopup();
        for (int entry = 0; entry < box->count(); ++entry) {
            const QString text = box->itemText(entry);
            QVERIFY2(box->view()->viewport()->width() >
                         box->view()->fontMetrics().horizontalAdvance(text),
                     qPrintable(box->objectName() + u": "_s + text));
        }
        box->hidePopup();
        if (box->lineEdit() && !box->lineEdit()->hasFocus())
            QVERIFY2(box->lineEdit()->cursorPosition() == 0, qPrintable(box->objectName()));
    }
}

void TestFrmMain::startsWithFirstFormatAndItsDefaults()
{
    const ConversionSettings s = window().currentSettings();
    QCOMPARE(s.format, OutputFormat::Rmvb);
    QCOMPARE((QStringList{s.videoBitrate, s.frameRate, s.size, s.audioRate, s.audioBitrate}),
             (QStringList{u"1200"_s, u"29"_s, u"原始大小"_s, u"44100"_s, u"320"_s}));
    QCOMPARE(s.channelIndex, 1);
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), AppPaths::DefaultOutputFolder());
    QCOMPARE(child<QComboBox>(u"cmbOF"_s)->currentText(), u"RMVB(RealPlayerRMVB)"_s);
    QCOMPARE(window().options().SoundPrompt, 0);
    QVERIFY(child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
    QCOMPARE(child<QToolButton>(u"CmdToolsBar_0"_s)->text(), u"添加文件"_s);
    QVERIFY(!child<QToolButton>(u"CmdToolsBar_3"_s));
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
    // Typed where every parameter is used: a format that does not use one
    // keeps the value typed behind what it shows.
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(OutputFormats::indexOf(OutputFormat::H264Mp4));
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
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(OutputFormats::indexOf(OutputFormat::H264Mp4));
    child<QComboBox>(u"cmbChannel"_s)->setCurrentText(u"立体"_s);
    QCOMPARE(window().currentSettings().channelIndex, -1);
    QCOMPARE(window().controller().form().position(ConversionCombo::Channel), -1);
    child<QComboBox>(u"cmbR"_s)->setCurrentText(u"22050"_s);
    QCOMPARE(window().controller().form().position(ConversionCombo::AudioRate), 4);
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
    window().jobs().addJob(u"/v/a.avi"_s);
    window().jobs().addJob(u"/v/b.avi"_s);
    window().controller().dropHint().update();
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    auto *view = child<QTreeView>(u"LV"_s);
    view->setCurrentIndex(view->model()->index(1, 0));

    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_2"_s), Qt::LeftButton);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
    QCOMPARE(menu->objectName(), u"menuRemove"_s);
    QCOMPARE(window().jobs().jobCount(), 2); // the button only opens the pop-up
    menu->findChild<QAction *>(u"menuRemoveSelected"_s)->trigger();
    menu->close();
    QCOMPARE(window().jobs().paths(), QStringList{u"/v/a.avi"_s});

    // Removing with nothing selected removes nothing.
    view->clearSelection();
    windowAction(u"menuRemoveSelected"_s)->trigger();
    QCOMPARE(window().jobs().jobCount(), 1);
}

void TestFrmMain::menuActionsAreDispatched()
{
    window().jobs().addJob(u"/v/a.avi"_s);
    auto *view = child<QTreeView>(u"LV"_s);
    view->setCurrentIndex(view->model()->index(0, 0));
    windowAction(u"menuA"_s)->trigger();
    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages.first().caption, u"Zenvora"_s);
    QCOMPARE(window().jobs().jobCount(), 1);
    windowAction(u"menuRemoveSelected"_s)->trigger();
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
    QCOMPARE(m_messages.messages.size(), 0);

    // A save that fails is told, and the window closes all the same.
    m_window.reset();
    QVERIFY(QFile::remove(m_settings->setupPath()) && QDir().mkpath(m_settings->setupPath()));
    window().imgExit_Click();
    QCOMPARE(m_messages.messages.size(), 1);
    QVERIFY(m_messages.messages.first().text.endsWith(m_settings->setupPath()));
    QVERIFY(!window().isVisible());
}

void TestFrmMain::helpAndAboutAndLink()
{
    const QString help = m_dir.filePath(u"app/help/index.html"_s);
    window().imgHelp_Click();
    QCOMPARE(m_messages.texts(), QStringList{u"找不到帮助文件："_s + help});
    m_messages = {};
    QDir().mkpath(m_dir.filePath(u"app/help"_s));
    writeFile(help, "<html><body><h1>使用说明</h1></body></html>");
    // Help needs no browser: it opens inside, once however often it is asked.
    window().imgToolbar_Click(3);
    window().imgHelp_Click();
    QVERIFY(m_desktop.opened.isEmpty() && m_desktop.shown.isEmpty());
    const QList<HelpWindow *> helps = window().findChildren<HelpWindow *>();
    QCOMPARE(helps.size(), 1);
    QVERIFY(helps.first()->isVisible());
    QVERIFY(helps.first()->browser()->toPlainText().contains(u"使用说明"_s));

    window().showAbout();
    const QStringList lines = m_messages.messages.first().text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).contains(u"Velmora"_s) && lines.at(0).contains(u"2008"_s));
    QVERIFY(lines.at(0).contains(QStringLiteral(ZENVORA_VERSION)));
    QCOMPARE(lines.at(2), frmMain::ProductWebPage());

    window().lblWeb_Click();
    QCOMPARE(m_desktop.opened.last(), QUrl(frmMain::ProductWebPage()));
}

void TestFrmMain::browseWritesChoiceAndCancelKeepsIt()
{
    m_folders.answer = u"/media/films"_s;
    QTest::mouseClick(child<QPushButton>(u"cmdBrowse"_s), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), u"/media/films"_s);
    QCOMPARE(m_folders.titles, QStringList{u"请选择一个文件夹:"_s});
    m_folders.answer.clear();
    window().cmdBrowse_Click();
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), u"/media/films"_s);
    // The second opens at the folder the first chose.
    QCOMPARE(m_folders.starts.last(), u"/media/films"_s);
}

void TestFrmMain::tooltipsSayWhatControlsDo_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("output folder box") << u"txtPath"_s << u"Select a Folder to Output"_s;
    QTest::newRow("browse") << u"cmdBrowse"_s << u"Select an Output Folder"_s;
    QTest::newRow("add file") << u"CmdToolsBar_0"_s << u"Add a File"_s;
    QTest::newRow("add folder") << u"CmdToolsBar_1"_s << u"Add Files from a Folder"_s;
    QTest::newRow("options") << u"CmdToolsBar_4"_s << u"Options"_s;
    QTest::newRow("feedback") << u"lblFeed"_s << u"Send us your suggestion or question"_s;
}

void TestFrmMain::tooltipsSayWhatControlsDo()
{
    QFETCH(QString, name);
    QFETCH(QString, toolTip);
    QCOMPARE(child<QWidget>(name)->toolTip(), toolTip);
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

void TestFrmMain::linksShowUnderlineAndDisabledLook_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("skinned");
    for (const char *link : {"lblWeb", "lblFeed"}) {
        QTest::addRow("%s", link) << QString::fromLatin1(link) << false;
        QTest::addRow("%s, skinned", link) << QString::fromLatin1(link) << true;
    }
}

void TestFrmMain::linksShowUnderlineAndDisabledLook()
{
    QFETCH(QString, link);
    QFETCH(bool, skinned);
    if (skinned) {
        QFile skin(u":/skin/skin.qss"_s);
        QVERIFY(skin.open(QIODevice::ReadOnly));
        window().setStyleSheet(QString::fromUtf8(skin.readAll()));
    }
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    auto *label = child<QLabel>(link);
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());

    const QImage enabled = label->grab().toImage();
    QCOMPARE_GE(longestInkRun(enabled), textWidth * 9 / 10);
    QCOMPARE_GT(inkOf(enabled).hsvSaturationF(), 0.5);
    label->setEnabled(false);
    QCOMPARE_LT(inkOf(label->grab().toImage()).hsvSaturationF(), 0.3);
}

void TestFrmMain::addFileQueuesChoicesInDialogOrder_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::newRow("cancelled") << QStringList();
    QTest::newRow("one file") << QStringList{u"/clips/b.mp4"_s};
    QTest::newRow("several, in the dialog's order")
        << QStringList{u"/clips/c.avi"_s, u"/clips/A.avi"_s, u"/other/b.mp4"_s};
    QTest::newRow("from a folder that exists") << QStringList{m_dir.filePath(u"a.avi"_s)};
}

void TestFrmMain::addFileQueuesChoicesInDialogOrder()
{
    QFETCH(QStringList, chosen);
    m_files.answers = {chosen};
    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_0"_s), Qt::LeftButton);
    QCOMPARE(window().jobs().paths(), chosen);
    QCOMPARE(child<QWidget>(u"lblText"_s)->isVisibleTo(&window()), chosen.isEmpty());
    QCOMPARE(m_files.requests.first().title, u"Open Files"_s);
    QVERIFY(m_files.requests.first().multipleFiles);
    // The first dialog opens in the videos folder, or home, never where the program started.
    QVERIFY((QStringList{QStandardPaths::writableLocation(QStandardPaths::MoviesLocation),
                         QDir::homePath()})
                .contains(m_files.requests.first().startFolder));

    // The next dialog starts where the last file chosen is, offering it.
    windowAction(u"menuAddaFile"_s)->trigger();
    QCOMPARE(m_files.requests.size(), 2);
    const QString last = chosen.isEmpty() ? QString() : QFileInfo(chosen.last()).path();
    if (!chosen.isEmpty()) {
        QCOMPARE(m_files.requests.at(1).fileName, chosen.last());
        QCOMPARE(m_files.requests.at(1).startFolder, last);
    }

    // So does the first dialog of the next run, while that folder exists.
    m_window.reset();
    windowAction(u"menuAddaFile"_s)->trigger();
    QCOMPARE(m_files.requests.at(2).startFolder == last, QFileInfo(last).isDir());
}

void TestFrmMain::addFolderQueuesByName()
{
    const QString folder = m_dir.filePath(u"clips"_s);
    for (const QString &entry : {u"B.avi"_s, u"a.avi"_s, u"10.avi"_s, u"9.avi"_s, u"sub/x.avi"_s,
                                 u"Sub2/y.avi"_s, u"ALPHA/z.avi"_s}) {
        QVERIFY(QDir().mkpath(QFileInfo(folder + u'/' + entry).path()));
        writeFile(folder + u'/' + entry, "v");
    }
    m_folders.answer = folder;
    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_1"_s), Qt::LeftButton);
    QCOMPARE(m_folders.titles, QStringList{u"选择一个文件夹:"_s});
    // The next chooser, for folders or files, opens in the folder added.
    QCOMPARE(m_settings->loadLastFolder(), folder);
    QTRY_COMPARE(window().jobs().jobCount(), 7);
    QStringList expected;
    for (const QString &entry : {u"10.avi"_s, u"9.avi"_s, u"a.avi"_s, u"B.avi"_s, u"ALPHA/z.avi"_s,
                                 u"sub/x.avi"_s, u"Sub2/y.avi"_s})
        expected.append(folder + u'/' + entry);
    QCOMPARE(window().jobs().paths(), expected);
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

void TestFrmMain::longPathsStayReadable()
{
    const QString path = u"/media/films/"_s + QString(200, u'x') + u"/The Last Reel.avi"_s;
    window().jobs().addJob(path);
    auto *view = child<QTreeView>(u"LV"_s);
    QCOMPARE(view->textElideMode(), Qt::ElideMiddle);
    for (int column : {0, 1})
        QCOMPARE(view->model()->index(0, column).data(Qt::ToolTipRole).toString(), path);
}

void TestFrmMain::deleteRemovesSelectedRows_data()
{
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<int>("running");
    QTest::addColumn<QStringList>("remaining");
    QTest::newRow("first and last") << QList<int>{0, 2} << -1 << QStringList{u"/v/b.avi"_s};
    QTest::newRow("the running job stays")
        << QList<int>{0, 1} << 0 << QStringList{u"/v/a.avi"_s, u"/v/c.avi"_s};
    QTest::newRow("nothing selected")
        << QList<int>{} << -1 << QStringList{u"/v/a.avi"_s, u"/v/b.avi"_s, u"/v/c.avi"_s};
}

void TestFrmMain::deleteRemovesSelectedRows()
{
    QFETCH(QList<int>, selected);
    QFETCH(int, running);
    QFETCH(QStringList, remaining);
    QList<JobQueue::JobId> ids;
    for (const QString &path : {u"/v/a.avi"_s, u"/v/b.avi"_s, u"/v/c.avi"_s})
        ids.append(window().jobs().addJob(path));
    if (running >= 0)
        window().jobs().setJobRunning(ids.at(running), true);
    window().show();
    window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window()));
    auto *view = child<QTreeView>(u"LV"_s);
    view->setFocus();
    view->clearSelection();
    for (int row : std::as_const(selected))
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    // A menu opened below the rows, where it has no row to remove, does
    // not take the key's removal with it.
    Q_EMIT view->customContextMenuRequested({5, view->viewport()->height() - 5});
    child<QMenu>(u"menuList"_s)->close();

    QTest::keyClick(view, Qt::Key_Delete);
    QCOMPARE(window().jobs().paths(), remaining);
}

void TestFrmMain::listMenuReadsChinese()
{
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QWidget *viewport = child<QTreeView>(u"LV"_s)->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, {20, 20},
                            viewport->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(viewport, &event);
    QMenu *menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())));
    QCOMPARE(menu->objectName(), u"menuList"_s);
    QStringList titles;
    for (const QAction *submenu : menu->actions())
        titles.append(submenu->text());
    menu->close();
    QCOMPARE(titles, (QStringList{u"移除"_s, u"打开所在文件夹"_s, QString(), u"文件"_s, u"选项"_s,
                                  u"关于"_s}));
    QCOMPARE(listMenuItem(u"menuAddaFile"_s)->text(), u"添加文件(&A)"_s);
}

void TestFrmMain::batchDisablesWhatItWouldIgnore_data()
{
    // A control or, when no widget has the name, an item of the list's menu.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("enabledDuringBatch");
    for (const char *name :
         {"txtPath", "cmdBrowse", "lblFeed", "cmbOF", "cmbChannel", "CmdToolsBar_0",
          "CmdToolsBar_1", "CmdToolsBar_2", "CmdToolsBar_4", "CmdToolsBar_5", "menuAddaFile",
          "menuAddaFolder", "menuOption", "menuExit"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
    for (const char *name : {"Command3", "LV", "lblWeb", "imgExit", "menuHelp", "menuA"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
}

void TestFrmMain::batchDisablesWhatItWouldIgnore()
{
    QFETCH(QString, name);
    QFETCH(bool, enabledDuringBatch);
    const auto enabled = [&] {
        if (const auto *widget = child<QWidget>(name))
            return widget->isEnabled();
        return listMenuItem(name)->isEnabled();
    };
    // MP3 uses the channel, so its combo is enabled between batches.
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(8);
    window().jobs().addJob(u"/v/a.avi"_s);
    QVERIFY(enabled());
    auto *start = child<QPushButton>(u"Command3"_s);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(window().driver().state(), BatchDriver::State::StartPending);
    QCOMPARE(enabled(), enabledDuringBatch);
    QTest::mouseClick(start, Qt::LeftButton); // stop, confirmed
    QCOMPARE(window().driver().state(), BatchDriver::State::Idle);
    QVERIFY(enabled());
}

void TestFrmMain::progressResetsAtStartAndStop_data()
{
    QTest::addColumn<bool>("stopping");
    QTest::addColumn<QString>("shownBefore");
    QTest::newRow("new batch after one with a failure") << false << u"完成，1 个文件失败"_s;
    QTest::newRow("batch stopped at 27 %") << true << u"转换中| 27%"_s;
}

void TestFrmMain::progressResetsAtStartAndStop()
{
    QFETCH(bool, stopping);
    QFETCH(QString, shownBefore);
    const QIcon startIcon(u":/icons/start.svg"_s);
    const QIcon stopIcon(u":/icons/stop.svg"_s);
    QVERIFY(iconImage(startIcon) != iconImage(stopIcon));
    auto *start = child<QPushButton>(u"Command3"_s);
    auto *bar = child<QProgressBar>(u"pb"_s);
    auto *caption = child<QLabel>(u"lblPB"_s);
    window().jobs().addJob(u"/v/a.avi"_s);
    if (stopping)
        QTest::mouseClick(start, Qt::LeftButton);
    Q_EMIT window().driver().progressChanged(Progress{.percent = 27, .activity = 2}, 1);
    if (!stopping)
        Q_EMIT window().driver().batchFinished({{{u"/v/x.avi"_s, Outcome::Failed{}}}, false});
    // The window shows a batch's end once the driver has returned.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCOMPARE(bar->value(), 27);
    QCOMPARE(caption->text(), shownBefore);
    QCOMPARE(iconImage(start->icon()), iconImage(stopping ? stopIcon : startIcon));

    // A Start at once after the end is taken for a late Stop and ignored.
    if (!stopping) {
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(window().driver().state(), BatchDriver::State::Idle);
        QTest::qWait(BatchStatus::StaleClickMilliseconds);
    }
    QTest::mouseClick(start, Qt::LeftButton); // stops, confirmed, or starts
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(caption->text(), u"0%"_s);
    QCOMPARE(start->text(), stopping ? u"立刻开始转换！"_s : u"停止转换"_s);
    QCOMPARE(iconImage(start->icon()), iconImage(stopping ? startIcon : stopIcon));
}

void TestFrmMain::failureMessageWordsItselfByCount_data()
{
    QTest::addColumn<QString>("outcomes"); // a letter per job: Converted or Failed
    QTest::addColumn<QString>("heading");
    QTest::newRow("one job, failed") << u"F"_s << u"以下文件没有转换成功："_s;
    QTest::newRow("three jobs, one failed")
        << u"CFC"_s << u"以下文件没有转换成功，其他 2 个文件已完成："_s;
    QTest::newRow("three jobs, two failed")
        << u"FCF"_s << u"以下 2 个文件没有转换成功，其他 1 个文件已完成："_s;
    QTest::newRow("three jobs, all failed") << u"FFF"_s << u"以下 3 个文件没有转换成功："_s;
    QTest::newRow("three jobs, none failed") << u"CCC"_s << QString();
}

void TestFrmMain::failureMessageWordsItselfByCount()
{
    QFETCH(QString, outcomes);
    QFETCH(QString, heading);
    BatchReport report;
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        const bool failed = outcomes.at(i) == u'F';
        const Outcome::EncoderRun run{Stage::One, u"conv.exe"_s};
        report.results.append({u"/v/%1.avi"_s.arg(i),
                               failed ? RunOutcome(Outcome::Failed{
                                            Outcome::Failed::Cause::EncoderError, int(i), {}, run})
                                      : RunOutcome(Outcome::Converted{})});
    }
    Q_EMIT window().driver().batchFinished(report);
    QVERIFY(m_messages.messages.isEmpty()); // not inside the driver's signal
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    if (heading.isEmpty()) {
        QVERIFY(m_messages.messages.isEmpty());
        QCOMPARE(child<QLabel>(u"lblPB"_s)->text(), u"Done."_s);
        return;
    }
    QCOMPARE(m_messages.messages.size(), 1);
    const RecordingMessageSink::Message &message = m_messages.messages.first();
    QCOMPARE(message.caption, u"转换失败"_s);
    QCOMPARE(message.text.section(u'\n', 0, 0), heading);
    // A person reads why; the encoder's own words wait behind the details.
    QVERIFY(!message.text.contains(u"退出码"_s));
    for (qsizetype i = 0; i < outcomes.size(); ++i) {
        const bool failed = outcomes.at(i) == u'F';
        QCOMPARE(message.text.contains(u"/v/%1.avi\n    无法转换这个文件"_s.arg(i)), failed);
        QCOMPARE(message.details.contains(u"/v/%1.avi\n    conv.exe 失败（退出码 %1）"_s.arg(i)),
                 failed);
    }
}

void TestFrmMain::enterAnswersEachQuestionSafely_data()
{
    QTest::addColumn<bool>("yesClicked");
    QTest::addColumn<MessageSink::OnEnter>("onEnter");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Enter keeps converting") << false << MessageSink::OnEnter::No << false;
    QTest::newRow("Yes stops") << true << MessageSink::OnEnter::No << true;
    QTest::newRow("the batch ended meanwhile") << false << MessageSink::OnEnter::No << false;
    QTest::newRow("Enter restores the queue") << false << MessageSink::OnEnter::Yes << true;
}

void TestFrmMain::enterAnswersEachQuestionSafely()
{
    QFETCH(bool, yesClicked);
    QFETCH(MessageSink::OnEnter, onEnter);
    QFETCH(bool, answer);
    const bool dismissed = QByteArray(QTest::currentDataTag()).contains("ended");
    MessageBoxSink sink(nullptr);
    // Runs inside the box's own event loop, once it is shown.
    QTimer::singleShot(0, this, [&sink, yesClicked, dismissed] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        if (dismissed)
            sink.dismissQuestion();
        else if (yesClicked)
            box->button(QMessageBox::Yes)->click();
        else
            QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE(sink.confirm(u"停止转换？"_s, u"停止转换"_s, onEnter), answer);
}

void TestFrmMain::closeDuringBatchAsksFirst_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("batchEndsWhileAsking");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no keeps converting") << false << false << false;
    QTest::newRow("yes stops and closes") << true << false << true;
    QTest::newRow("batch ends while asking") << true << true << false;
}

void TestFrmMain::closeDuringBatchAsksFirst()
{
    QFETCH(bool, answer);
    QFETCH(bool, batchEndsWhileAsking);
    QFETCH(bool, closes);
    window().jobs().addJob(u"/v/a.avi"_s);
    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QTest::mouseClick(child<QPushButton>(u"Command3"_s), Qt::LeftButton);
    m_messages.confirmAnswer = answer;
    if (batchEndsWhileAsking)
        m_messages.whileAsking = [this] { window().driver().stop(); };
    QTest::mouseClick(child<QToolButton>(u"imgExit"_s), Qt::LeftButton);
    QCOMPARE(m_messages.questions.size(), 1);
    QCOMPARE(m_messages.questions.first().caption, u"退出"_s);
    QCOMPARE(m_messages.dismissals, batchEndsWhileAsking ? 1 : 0);
    QCOMPARE(window().isVisible(), !closes);
    QCOMPARE(window().driver().state() == BatchDriver::State::Idle, closes || batchEndsWhileAsking);
    QCOMPARE(window().jobs().paths(), QStringList{u"/v/a.avi"_s});
}

void TestFrmMain::staleStopAnswerStopsNothing()
{
    window().jobs().addJob(u"/v/a.avi"_s);
    window().Command3_Click();
    // While Stop is asked, the batch ends and another one starts.
    m_messages.whileAsking = [this] {
        m_messages.whileAsking = nullptr;
        window().driver().stop();
        QTest::qWait(BatchStatus::StaleClickMilliseconds);
        window().Command3_Click();
    };
    window().Command3_Click();
    QCOMPARE(m_messages.dismissals, 1);
    QCOMPARE(window().driver().state(), BatchDriver::State::StartPending);
}

void TestFrmMain::queueIsOfferedBackAtNextStart()
{
    m_stateFolder = m_dir.filePath(u"state"_s);
    QDir(m_stateFolder).removeRecursively();
    window().offerRestoredQueue(); // nothing kept: nothing asked
    window().jobs().addJobs({u"/v/a.avi"_s, u"/v/b.avi"_s});
    // Kept at once, before any close: a kill loses nothing.
    QTRY_VERIFY(QFile::exists(m_stateFolder + u"/queue.json"_s));
    m_window.reset();

    window().offerRestoredQueue();
    QCOMPARE(m_messages.questions.size(), 1);
    QCOMPARE(m_messages.questions.first().text, u"上次有 2 个文件没有转换，是否恢复？"_s);
    QCOMPARE(m_messages.enterAnswers, QList{MessageSink::OnEnter::Yes});
    QCOMPARE(window().jobs().paths(), (QStringList{u"/v/a.avi"_s, u"/v/b.avi"_s}));
    QVERIFY(!child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
    window().close();
    m_window.reset();

    // No, by accident: the files are still offered at the next start...
    m_messages.confirmAnswer = false;
    window().offerRestoredQueue();
    QVERIFY(window().jobs().paths().isEmpty());
    m_window.reset();
    m_messages = {};
    window().offerRestoredQueue();
    QCOMPARE(m_messages.questions.size(), 1);
    // ...until the queue changes after a No.
    m_window.reset();
    m_messages = {};
    m_messages.confirmAnswer = false;
    window().offerRestoredQueue();
    window().jobs().addJobs({u"/v/c.avi"_s});
    window().jobs().removeAllJobs();
    m_window.reset();
    m_messages = {};
    window().offerRestoredQueue();
    QVERIFY(m_messages.questions.isEmpty());
}

// A cause in a person's words in the message; behind the details, what the
// encoder said first, then the cause, then its last lines. Each cause's
// words are checked in tst_failurewords.
void TestFrmMain::failureMessageNamesTheCause_data()
{
    QTest::addColumn<RunOutcome>("outcome");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("details"); // their first two lines
    const QString said = u"the output folder \"/o\" does not exist"_s;
    // The last lines hold the line as the encoder printed it.
    QTest::newRow("output folder gone")
        << RunOutcome(Outcome::Failed{Outcome::Failed::Cause::OutputFolder, 1, u"/o"_s,
                                      Outcome::EncoderRun{Stage::One, u"conv.exe"_s,
                                                          u"conv.exe: [token] "_s + said,
                                                          u"conv.exe: "_s + said}})
        << u"无法创建输出文件夹，请选择一个可以写入的文件夹"_s
        << u"conv.exe: the output folder \"/o\" does not exist\n无法创建输出文件夹：/o"_s;
    // A hung encoder's last words are how it took being stopped.
    QTest::newRow("hung") << RunOutcome(Outcome::Hung{
                                 300,
                                 Outcome::EncoderRun{
                                     Stage::One, u"conv.exe"_s,
                                     u"( 5%)\nconv.exe: [stopped-by-signal] stopped by signal 15"_s,
                                     u"conv.exe: stopped by signal 15"_s}})
                          << u"300 秒没有任何输出，转换已被停止"_s
                          << u"conv.exe 已停止：300 秒没有任何输出\n( 5%)"_s;
}

void TestFrmMain::failureMessageNamesTheCause()
{
    QFETCH(RunOutcome, outcome);
    QFETCH(QString, reason);
    QFETCH(QString, details);
    Q_EMIT window().driver().batchFinished({{{u"/v/a.avi"_s, outcome}}, false});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCOMPARE(m_messages.messages.size(), 1);
    const RecordingMessageSink::Message &message = m_messages.messages.first();
    QCOMPARE(message.text.section(u'\n', 1), u"\n/v/a.avi\n    "_s + reason + u'\n');
    QCOMPARE(message.details.section(u'\n', 0, 2),
             u"/v/a.avi\n    "_s + QString(details).replace(u"\n"_s, u"\n    "_s));
}

void TestFrmMain::failedFilesStayMarkedForRetry()
{
    const JobQueue::JobId id = window().jobs().addJob(u"/v/a.avi"_s);
    // As the driver tells a failed job: marked in the queue, then announced.
    const JobResult failure{u"/v/a.avi"_s,
                            Outcome::Failed{Outcome::Failed::Cause::EncoderError,
                                            1,
                                            {},
                                            Outcome::EncoderRun{Stage::One, u"conv.exe"_s}}};
    window().jobs().setJobFailed(id, failure);
    Q_EMIT window().driver().jobFinished(failure, id);
    const QAbstractItemModel *list = child<QTreeView>(u"LV"_s)->model();
    QCOMPARE(list->index(0, JobListModel::FormatColumn).data().toString(), u"失败"_s);
    const QString tip =
        list->index(0, JobListModel::FileNameColumn).data(Qt::ToolTipRole).toString();
    QVERIFY(tip.contains(u"无法转换这个文件"_s));
    QVERIFY(!tip.contains(u"退出码"_s));

    // Start tries it again.
    window().Command3_Click();
    QCOMPARE(window().driver().state(), BatchDriver::State::StartPending);
    QCOMPARE(window().jobs().failedCount(), 0);
    QCOMPARE(list->index(0, JobListModel::FormatColumn).data().toString(), u"AVI"_s);
}

void TestFrmMain::couldNotStartIsToldAlone()
{
    const JobQueue::JobId a = window().jobs().addJob(u"/v/a.avi"_s);
    window().Command3_Click();
    Q_EMIT window().driver().batchFinished(
        {{{u"/v/b.avi"_s, Outcome::Failed{}},
          {u"/v/a.avi"_s, Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::NotFound}}},
         false});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCOMPARE(m_messages.messages.size(), 1);
    QCOMPARE(m_messages.messages.first().text, u"File or command not found"_s);
    QCOMPARE(m_messages.messages.first().icon, MessageSink::Icon::Critical);
    QVERIFY(child<QLabel>(u"lblStatus"_s)->text().startsWith(u"已停止"_s));
    QCOMPARE(window().jobs().pathOf(a), u"/v/a.avi"_s);
}

void TestFrmMain::statusLineTellsPlaceAndEnd()
{
    auto *status = child<QLabel>(u"lblStatus"_s);
    const JobQueue::JobId a = window().jobs().addJob(u"/v/a.avi"_s);
    window().jobs().addJob(u"/v/b.avi"_s);
    window().Command3_Click();
    Q_EMIT window().driver().jobStarted(u"/v/a.avi"_s, a);
    QCOMPARE(status->text(), u"第 1/2 个：a.avi"_s);
    window().jobs().removeJob(a);
    Q_EMIT window().driver().jobFinished({u"/v/a.avi"_s, Outcome::Converted{u"/o/a.mpg"_s}}, a);
    QVERIFY(status->text().startsWith(u"第 1/2 个：a.avi，剩余约 "_s));
    window().Command3_Click(); // stop, confirmed
    QCOMPARE(status->text(), u"已停止：1 个已完成，1 个未转换"_s);
    QCOMPARE_LE(status->geometry().bottom(), frmMain::ClientHeight);
    QCOMPARE_GT(status->geometry().top(), child<QProgressBar>(u"pb"_s)->geometry().bottom());
    // 移除全部 empties the list, and the line about its files goes with them.
    QAction *removeAll = nullptr;
    for (QWidget *widget : QApplication::allWidgets()) {
        if (widget->objectName() == u"menuRemove")
            removeAll = widget->findChild<QAction *>(u"menuRemoveAll"_s);
    }
    QVERIFY(removeAll);
    removeAll->trigger();
    QCOMPARE(window().jobs().jobCount(), 0);
    QCOMPARE(status->text(), QString());
}

void TestFrmMain::parametersTheFormatIgnoresAreDisabled()
{
    auto *format = child<QComboBox>(u"cmbOF"_s);
    auto *frameRate = child<QComboBox>(u"cmbF"_s);
    auto *videoBitrate = child<QComboBox>(u"cmbVB"_s);
    auto *audioBitrate = child<QComboBox>(u"cmbBR"_s);
    auto *size = child<QComboBox>(u"cmbS"_s);
    format->setCurrentIndex(4); // MP4 (高清)
    QVERIFY(!frameRate->isEnabled());
    QCOMPARE(frameRate->currentText(), u"—"_s);
    QCOMPARE(frameRate->toolTip(), u"此格式的帧率跟随源文件"_s);
    QVERIFY(!child<QComboBox>(u"cmbR"_s)->isEnabled());
    QVERIFY(!child<QComboBox>(u"cmbChannel"_s)->isEnabled());
    QVERIFY(videoBitrate->isEnabled());
    QCOMPARE(videoBitrate->toolTip(), ComboTexts::hoverText(ConversionCombo::VideoBitrate));

    // RealMedia at the source size takes fixed sound, shown instead of the
    // user's value; another size takes the user's value again.
    format->setCurrentIndex(0);
    QVERIFY(!audioBitrate->isEnabled());
    QCOMPARE(audioBitrate->currentText(), u"128"_s);
    QCOMPARE(window().currentSettings().audioBitrate, u"320"_s);
    QCOMPARE(window().controller().form().position(ConversionCombo::AudioBitrate),
             audioBitrate->findText(u"320"_s));
    size->setCurrentText(u"640x480"_s);
    QVERIFY(audioBitrate->isEnabled());
    QCOMPARE(audioBitrate->currentText(), u"320"_s);
    QVERIFY(!frameRate->isEnabled());
    // Typed, a size is left alone until it is finished; RealVideo then
    // shows the height it codes.
    size->setCurrentText(u"640x360"_s);
    QCOMPARE(size->currentText(), u"640x360"_s);
    Q_EMIT size->lineEdit()->editingFinished();
    QCOMPARE(size->currentText(), u"640x352"_s);

    // A value the codec moves shows as the output will have it; an entry it
    // moves to another entry is not offered.
    format->setCurrentIndex(2); // MPG
    frameRate->setCurrentIndex(frameRate->findText(u"29"_s));
    Q_EMIT frameRate->activated(frameRate->currentIndex());
    QCOMPARE(frameRate->currentText(), u"29.97"_s);
    format->setCurrentIndex(4);
    const auto *bitrates = qobject_cast<QStandardItemModel *>(audioBitrate->model());
    QVERIFY(!bitrates->item(audioBitrate->findText(u"10.2"_s))->isEnabled());
    QVERIFY(bitrates->item(audioBitrate->findText(u"32"_s))->isEnabled());

    // After a batch the rule holds again.
    format->setCurrentIndex(8);
    window().jobs().addJob(u"/v/a.avi"_s);
    window().Command3_Click();
    window().Command3_Click();
    QCOMPARE(window().driver().state(), BatchDriver::State::Idle);
    QVERIFY(format->isEnabled());
    QVERIFY(!videoBitrate->isEnabled() && !size->isEnabled());
    QVERIFY(audioBitrate->isEnabled());
}

void TestFrmMain::unopenablePlacesAreTold()
{
    m_desktop.opens = false;
    window().lblWeb_Click();
    QCOMPARE(m_messages.messages.size(), 1);
    QVERIFY(m_messages.messages.first().text.endsWith(frmMain::ProductWebPage()));
    Q_EMIT window().driver().openFolderRequested(u"/out/films/"_s, {u"/out/films/a.mp4"_s});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCOMPARE(m_messages.messages.size(), 2);
    QCOMPARE(m_messages.messages.last().text, u"无法打开输出文件夹：/out/films/"_s);

    m_desktop.opens = true;
    window().lblWeb_Click();
    QCOMPARE(m_messages.messages.size(), 2);
}

void TestFrmMain::filesAtOnceReachTheDriver_data()
{
    QTest::addColumn<QByteArray>("jobsLine");
    QTest::addColumn<int>("atOnce");
    QTest::newRow("default: one") << QByteArray() << 1;
    QTest::newRow("two") << "2\r\n"_ba << 2;
}

// An encoder that takes its time lets the jobs that run side by side be
// counted: those started before the first one ends.
void TestFrmMain::filesAtOnceReachTheDriver()
{
    QFETCH(QByteArray, jobsLine);
    QFETCH(int, atOnce);
    if (QThread::idealThreadCount() < atOnce)
        QSKIP("fewer processors than files at once");
    writeFile(m_settings->optionsPath(), "1\r\n0\r\n0\r\n0\r\n"_ba + jobsLine);
    const QString encoder = m_dir.filePath(u"app/data/conv.exe"_s);
    QVERIFY(QDir().mkpath(QFileInfo(encoder).path()));
    writeFile(encoder, "#!/bin/sh\nsleep 1\n");
    QVERIFY(QFile::setPermissions(encoder, QFile::ReadOwner | QFile::ExeOwner));
    for (const QString &name : {u"a.avi"_s, u"b.avi"_s, u"c.avi"_s}) {
        writeFile(m_dir.filePath(name), "clip");
        window().jobs().addJob(m_dir.filePath(name));
    }
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(2); // MPG: one stage
    child<QLineEdit>(u"txtPath"_s)->setText(m_dir.filePath(u"out"_s));
    int startedBeforeAnEnd = 0;
    bool ended = false;
    connect(&window().driver(), &BatchDriver::jobStarted, this,
            [&] { startedBeforeAnEnd += ended ? 0 : 1; });
    connect(&window().driver(), &BatchDriver::jobFinished, this, [&] { ended = true; });
    QSignalSpy batchEnd(&window().driver(), &BatchDriver::batchFinished);

    window().Command3_Click();

    QVERIFY(batchEnd.wait(15000));
    QCOMPARE(startedBeforeAnEnd, atOnce);
}

void TestFrmMain::subtitlesChoiceReachesTheEncoder_data()
{
    QTest::addColumn<QByteArray>("subtitlesLine");
    QTest::addColumn<QByteArray>("seen");
    QTest::newRow("no sixth line: auto") << QByteArray() << "auto|unset"_ba;
    QTest::newRow("sixth line 1: off") << "1\r\n"_ba
                                       << "off|unset"_ba;
}

// The encoder writes down what its environment tells it; the window has no
// sound track choice, so one the program inherited must not get through.
void TestFrmMain::subtitlesChoiceReachesTheEncoder()
{
    QFETCH(QByteArray, subtitlesLine);
    QFETCH(QByteArray, seen);
    writeFile(m_settings->optionsPath(), "1\r\n0\r\n0\r\n0\r\n1\r\n"_ba + subtitlesLine);
    const QString record = m_dir.filePath(u"seen"_s);
    QFile::remove(record);
    const QString encoder = m_dir.filePath(u"app/data/conv.exe"_s);
    QVERIFY(QDir().mkpath(QFileInfo(encoder).path()));
    writeFile(encoder, "#!/bin/sh\nprintf '%s|%s' \"$ZENVORA_SUBTITLES\" "
                       "\"${ZENVORA_AUDIO_TRACK-unset}\" > '"_ba +
                           QFile::encodeName(record) + "'\n");
    QVERIFY(QFile::setPermissions(encoder, QFile::ReadOwner | QFile::ExeOwner));
    writeFile(m_dir.filePath(u"a.avi"_s), "clip");
    window().jobs().addJob(m_dir.filePath(u"a.avi"_s));
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(2); // MPG: one stage
    child<QLineEdit>(u"txtPath"_s)->setText(m_dir.filePath(u"out"_s));
    QSignalSpy batchEnd(&window().driver(), &BatchDriver::batchFinished);
    qputenv("ZENVORA_AUDIO_TRACK", "2");
    const auto restore = qScopeGuard([] { qunsetenv("ZENVORA_AUDIO_TRACK"); });

    window().Command3_Click();

    QVERIFY(batchEnd.wait(15000));
    QFile written(record);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), seen);
}

void TestFrmMain::desktopHearsOfTheBatch_data()
{
    QTest::addColumn<bool>("atTheWindow");
    QTest::addColumn<QByteArray>("notifyLine"); // options.ini's seventh
    QTest::addColumn<bool>("keepsAwake");
    QTest::addColumn<bool>("notified");
    QTest::newRow("away: told") << false << QByteArray() << true << true;
    QTest::newRow("at the window: not told") << true << QByteArray() << true << false;
    QTest::newRow("away, switched off") << false << "1\r\n"_ba << true << false;
    QTest::newRow("nothing keeps the machine awake") << false << "0\r\n"_ba << false << true;
}

// Awake from the start to the end, the progress on the taskbar and cleared,
// and a word at the end for a user who is not at the window.
void TestFrmMain::desktopHearsOfTheBatch()
{
    QFETCH(bool, atTheWindow);
    QFETCH(QByteArray, notifyLine);
    QFETCH(bool, keepsAwake);
    QFETCH(bool, notified);
    writeFile(m_settings->optionsPath(), "1\r\n0\r\n0\r\n0\r\n1\r\n0\r\n"_ba + notifyLine);
    m_desktop.keepsAwake = keepsAwake;
    if (atTheWindow) {
        window().show();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }
    const JobQueue::JobId a = window().jobs().addJob(u"/v/a.avi"_s);
    child<QLineEdit>(u"txtPath"_s)->setText(u"/o"_s);
    window().Command3_Click();
    QCOMPARE(m_desktop.awake, QStringList{u"stay"_s});
    Q_EMIT window().driver().jobStarted(u"/v/a.avi"_s, a);
    QCOMPARE(child<QLabel>(u"lblStatus"_s)->text().endsWith(u"（无法阻止系统休眠）"_s),
             !keepsAwake);
    Q_EMIT window().driver().progressChanged(Progress{.percent = 50}, a);
    QCOMPARE(m_desktop.progress.last(), (std::pair{std::optional(0.5), 1}));
    window().jobs().removeJob(a);
    const JobResult converted{u"/v/a.avi"_s, Outcome::Converted{u"/o/a.mpg"_s}};
    Q_EMIT window().driver().jobFinished(converted, a);
    QCOMPARE(m_desktop.progress.last(), (std::pair{std::optional(1.0), 0}));
    Q_EMIT window().driver().batchFinished({{converted}, false});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);

    QCOMPARE(m_desktop.awake, (QStringList{u"stay"_s, u"allow"_s}));
    QCOMPARE(m_desktop.progress.last(), (std::pair{std::optional<double>(), 0}));
    QCOMPARE(m_desktop.notifications.size(), notified ? 1 : 0);
    if (!notified)
        return;
    QCOMPARE(m_desktop.notifications.first(),
             (QStringList{u"转换完成"_s, u"1 个成功，0 个失败"_s, u"打开文件夹"_s}));
    m_desktop.notificationChosen();
    QCOMPARE(m_desktop.shown.last(), (std::pair{u"/o"_s, QStringList{u"/o/a.mpg"_s}}));
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
