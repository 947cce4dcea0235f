#include "app/BatchStatus.h"
#include "app/ComboTexts.h"
#include "engine/AppPaths.h"
#include "engine/ConversionCombos.h"
#include "engine/OutputFormats.h"
#include "tests/helpers/ControllerFixture.h"
#include "ui/HelpWindow.h"
#include "ui/MessageBoxSink.h"
#include "ui/WholeEntryComboBox.h"
#include "ui/feedback/frmSuggest.h"
#include "ui/frmMain.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace {

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

// The window shows the controller's state and forwards the user's actions;
// what the controller decides is checked in tst_maincontroller.
class TestFrmMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void keysReachTheCommands_data();
    void keysReachTheCommands();
    void rowMenuRemovesAndOpensTheFolder();
    void combosShowTheirEntriesWhole();
    void showsTheFormAtStart();
    void refusesStartOnEmptyList();
    void removePopupRemovesSelectedJob();
    void menuActionsAreDispatched();
    void exitSavesButCloseDoesNot();
    void helpAndAboutAndLink();
    void browseShowsTheChosenFolder();
    void tooltipsSayWhatControlsDo_data();
    void tooltipsSayWhatControlsDo();
    void feedbackLinkOpensFreshForm();
    void linksShowUnderlineAndDisabledLook_data();
    void linksShowUnderlineAndDisabledLook();
    void dropsQueueLocalFilesAndFolders();
    void longPathsStayReadable();
    void deleteRemovesSelectedRows_data();
    void deleteRemovesSelectedRows();
    void listMenuReadsChinese();
    void batchDisablesWhatItWouldIgnore_data();
    void batchDisablesWhatItWouldIgnore();
    void progressResetsAtStartAndStop_data();
    void progressResetsAtStartAndStop();
    void enterAnswersEachQuestionSafely_data();
    void enterAnswersEachQuestionSafely();
    void closeDuringBatchAsksFirst_data();
    void closeDuringBatchAsksFirst();
    void staleStopAnswerStopsNothing();
    void restoredQueueIsAskedFor();
    void statusLineShowsTheBatch();
    void parameterBoxesShowTheForm();

private:
    frmMain &window();
    template <typename T> T *child(const QString &name) { return window().findChild<T *>(name); }
    QAction *listMenuItem(const QString &name);
    QAction *windowAction(const QString &name);
    void verifyBoxesShowTheForm();

    std::unique_ptr<ControllerFixture> m_fixture;
    std::unique_ptr<frmMain> m_window;
};

void TestFrmMain::init()
{
    m_fixture = std::make_unique<ControllerFixture>();
}

void TestFrmMain::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

frmMain &TestFrmMain::window()
{
    if (!m_window)
        m_window = std::make_unique<frmMain>(frmMainServices{m_fixture->services()});
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
    QCOMPARE(m_fixture->files.requests.size(), reached == u"file dialog" ? 1 : 0);
    QCOMPARE(m_fixture->folders.titles.size(), reached == u"folder dialog" ? 1 : 0);
    QCOMPARE(m_fixture->messages.messages.size(), reached.startsWith(u"请") ? 1 : 0);
    if (!m_fixture->messages.messages.isEmpty())
        QCOMPARE(m_fixture->messages.messages.first().text, reached);
}

void TestFrmMain::rowMenuRemovesAndOpensTheFolder()
{
    window().jobs().addJobs({u"/v/a.avi"_s, u"/w/b.avi"_s});
    auto *view = child<QTreeView>(u"LV"_s);
    view->setCurrentIndex(view->model()->index(1, 0));
    listMenuItem(u"menuListOpenFolder"_s)->trigger();
    QCOMPARE(m_fixture->desktop.calls, QStringList{u"show /w [/w/b.avi]"_s});
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

void TestFrmMain::showsTheFormAtStart()
{
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), AppPaths::DefaultOutputFolder());
    QCOMPARE(child<QComboBox>(u"cmbOF"_s)->currentText(), u"RMVB(RealPlayerRMVB)"_s);
    QVERIFY(child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
    QCOMPARE(child<QToolButton>(u"CmdToolsBar_0"_s)->text(), u"添加文件"_s);
    QVERIFY(!child<QToolButton>(u"CmdToolsBar_3"_s));
}

void TestFrmMain::refusesStartOnEmptyList()
{
    auto *start = child<QPushButton>(u"Command3"_s);
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(m_fixture->messages.texts(), QStringList{u"请先添加一个文件"_s});
    QCOMPARE(m_fixture->messages.messages.first().caption, u"添加"_s);
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
    m_fixture->files.answers = {{u"/v/a.avi"_s}};
    QTest::mouseClick(child<QToolButton>(u"CmdToolsBar_0"_s), Qt::LeftButton);
    QVERIFY(!child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
    auto *view = child<QTreeView>(u"LV"_s);
    view->setCurrentIndex(view->model()->index(0, 0));
    windowAction(u"menuA"_s)->trigger();
    QCOMPARE(m_fixture->messages.messages.size(), 1);
    QCOMPARE(m_fixture->messages.messages.first().caption, u"Zenvora"_s);
    QCOMPARE(window().jobs().jobCount(), 1);
    windowAction(u"menuRemoveSelected"_s)->trigger();
    QCOMPARE(window().jobs().jobCount(), 0);
    QVERIFY(child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
}

void TestFrmMain::exitSavesButCloseDoesNot()
{
    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(3);
    window().show();
    window().close();
    QVERIFY(!QFile::exists(m_fixture->settings.setupPath()));
    m_window.reset();

    child<QComboBox>(u"cmbOF"_s)->setCurrentIndex(3);
    window().show();
    QTest::mouseClick(child<QToolButton>(u"imgExit"_s), Qt::LeftButton);
    QFile setup(m_fixture->settings.setupPath());
    QVERIFY(setup.open(QIODevice::ReadOnly));
    QVERIFY(setup.readAll().endsWith("\"3\"\r\n"));
    QVERIFY(!window().isVisible());
    QCOMPARE(m_fixture->messages.messages.size(), 0);

    // A save that fails is told, and the window closes all the same.
    m_window.reset();
    QVERIFY(QFile::remove(setup.fileName()) && QDir().mkpath(setup.fileName()));
    window().show();
    window().imgExit_Click();
    QCOMPARE(m_fixture->messages.messages.size(), 1);
    QVERIFY(!window().isVisible());
}

void TestFrmMain::helpAndAboutAndLink()
{
    const QString help = m_fixture->dir.filePath(u"app/help/index.html"_s);
    window().imgHelp_Click();
    QCOMPARE(m_fixture->messages.texts(), QStringList{u"找不到帮助文件："_s + help});
    m_fixture->messages = {};
    m_fixture->write(help, "<html><body><h1>使用说明</h1></body></html>");
    // Help needs no browser: it opens inside, once however often it is asked.
    window().imgToolbar_Click(3);
    window().imgHelp_Click();
    QVERIFY(m_fixture->desktop.calls.isEmpty());
    const QList<HelpWindow *> helps = window().findChildren<HelpWindow *>();
    QCOMPARE(helps.size(), 1);
    QVERIFY(helps.first()->isVisible());
    QVERIFY(helps.first()->browser()->toPlainText().contains(u"使用说明"_s));

    window().showAbout();
    const QStringList lines = m_fixture->messages.messages.first().text.split(u"\r\n"_s);
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).contains(u"Velmora"_s) && lines.at(0).contains(u"2008"_s));
    QVERIFY(lines.at(0).contains(QStringLiteral(ZENVORA_VERSION)));
    QCOMPARE(lines.at(2), frmMain::ProductWebPage());

    window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&window()));
    QTest::mouseClick(child<QLabel>(u"lblWeb"_s), Qt::LeftButton);
    QCOMPARE(m_fixture->desktop.calls, QStringList{u"open "_s + frmMain::ProductWebPage()});
}

void TestFrmMain::browseShowsTheChosenFolder()
{
    m_fixture->folders.answers = {u"/media/films"_s};
    QTest::mouseClick(child<QPushButton>(u"cmdBrowse"_s), Qt::LeftButton);
    QCOMPARE(child<QLineEdit>(u"txtPath"_s)->text(), u"/media/films"_s);
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

void TestFrmMain::dropsQueueLocalFilesAndFolders()
{
    const QString file = m_fixture->write(u"a.avi"_s, "a");
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
    const QString folder = m_fixture->dir.path();
    drop({QUrl::fromLocalFile(file), QUrl(u"https://example.org/x.avi"_s),
          QUrl::fromLocalFile(folder)});
    QCOMPARE(window().jobs().paths(), (QStringList{file, folder}));
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

    // A Start at once after the end would be taken for a late Stop.
    if (!stopping)
        QTest::qWait(BatchStatus::StaleClickMilliseconds);
    QTest::mouseClick(start, Qt::LeftButton); // stops, confirmed, or starts
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(caption->text(), u"0%"_s);
    QCOMPARE(start->text(), stopping ? u"立刻开始转换！"_s : u"停止转换"_s);
    QCOMPARE(iconImage(start->icon()), iconImage(stopping ? startIcon : stopIcon));
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
    m_fixture->messages.confirmAnswer = answer;
    if (batchEndsWhileAsking)
        m_fixture->messages.whileAsking = [this] { window().driver().stop(); };
    QTest::mouseClick(child<QToolButton>(u"imgExit"_s), Qt::LeftButton);
    QCOMPARE(m_fixture->messages.questions.size(), 1);
    QCOMPARE(m_fixture->messages.questions.first().caption, u"退出"_s);
    QCOMPARE(m_fixture->messages.dismissals, batchEndsWhileAsking ? 1 : 0);
    QCOMPARE(window().isVisible(), !closes);
    QCOMPARE(window().driver().state() == BatchDriver::State::Idle, closes || batchEndsWhileAsking);
    QCOMPARE(window().jobs().paths(), QStringList{u"/v/a.avi"_s});
}

void TestFrmMain::staleStopAnswerStopsNothing()
{
    window().jobs().addJob(u"/v/a.avi"_s);
    window().Command3_Click();
    // While Stop is asked, the batch ends and another one starts.
    m_fixture->messages.whileAsking = [this] {
        m_fixture->messages.whileAsking = nullptr;
        window().driver().stop();
        QTest::qWait(BatchStatus::StaleClickMilliseconds);
        window().Command3_Click();
    };
    window().Command3_Click();
    QCOMPARE(m_fixture->messages.dismissals, 1);
    QCOMPARE(window().driver().state(), BatchDriver::State::StartPending);
}

// Enter keeps the files; Yes restores them.
void TestFrmMain::restoredQueueIsAskedFor()
{
    m_fixture->stateFolder = m_fixture->dir.filePath(u"state"_s);
    window().offerRestoredQueue(); // nothing kept: nothing asked
    QVERIFY(m_fixture->messages.questions.isEmpty());
    window().jobs().addJobs({u"/v/a.avi"_s, u"/v/b.avi"_s});
    QTRY_VERIFY(QFile::exists(m_fixture->stateFolder + u"/queue.json"_s));
    m_window.reset();

    window().offerRestoredQueue();
    QCOMPARE(m_fixture->messages.questions.size(), 1);
    QCOMPARE(m_fixture->messages.questions.first().text, u"上次有 2 个文件没有转换，是否恢复？"_s);
    QCOMPARE(m_fixture->messages.enterAnswers, QList{MessageSink::OnEnter::Yes});
    QCOMPARE(window().jobs().paths(), (QStringList{u"/v/a.avi"_s, u"/v/b.avi"_s}));
    QVERIFY(!child<QWidget>(u"lblText"_s)->isVisibleTo(&window()));
}

// The line below the bar shows the controller's status; 移除全部 in the
// Remove menu empties the list and the line with it.
void TestFrmMain::statusLineShowsTheBatch()
{
    auto *status = child<QLabel>(u"lblStatus"_s);
    QCOMPARE_LE(status->geometry().bottom(), frmMain::ClientHeight);
    QCOMPARE_GT(status->geometry().top(), child<QProgressBar>(u"pb"_s)->geometry().bottom());
    const JobQueue::JobId a = window().jobs().addJob(u"/v/a.avi"_s);
    window().Command3_Click();
    Q_EMIT window().driver().jobStarted(u"/v/a.avi"_s, a);
    QCOMPARE(status->text(), u"第 1/1 个：a.avi"_s);
    window().Command3_Click(); // stop, confirmed
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

// Every parameter box shows what the controller says of it: whether it is
// used, the value, the tip and the entries that can be picked.
void TestFrmMain::verifyBoxesShowTheForm()
{
    for (const Parameter parameter : AllParameters) {
        const ParameterView::State state = window().controller().parameter(parameter);
        auto *box = child<QComboBox>(ComboTexts::objectName(ConversionCombos::of(parameter)));
        QVERIFY2(box->isEnabled() == state.enabled, qPrintable(box->objectName()));
        QCOMPARE(box->currentText(), ComboTexts::shownText(state.shownValue));
        QCOMPARE(box->toolTip(), state.tip);
        const auto *entries = qobject_cast<QStandardItemModel *>(box->model());
        for (int row = 0; row < entries->rowCount(); ++row) {
            const QStandardItem *entry = entries->item(row);
            QVERIFY2(entry->isEnabled() ==
                         state.offeredEntries.contains(ComboTexts::valueOf(entry->text())),
                     qPrintable(box->objectName() + u": "_s + entry->text()));
        }
    }
}

void TestFrmMain::parameterBoxesShowTheForm()
{
    auto *format = child<QComboBox>(u"cmbOF"_s);
    auto *frameRate = child<QComboBox>(u"cmbF"_s);
    auto *size = child<QComboBox>(u"cmbS"_s);
    for (const OutputFormat shown : {OutputFormat::Mp4HighQuality, OutputFormat::Rmvb}) {
        format->setCurrentIndex(OutputFormats::indexOf(shown));
        verifyBoxesShowTheForm();
    }
    // The size decides which of the others the format uses.
    size->setCurrentText(u"640x480"_s);
    verifyBoxesShowTheForm();
    // Typed, a size is left alone until it is finished; a picked entry is
    // replaced at once by the value the codec uses.
    size->setCurrentText(u"640x360"_s);
    QCOMPARE(size->currentText(), u"640x360"_s);
    Q_EMIT size->lineEdit()->editingFinished();
    QCOMPARE(size->currentText(), u"640x352"_s);
    format->setCurrentIndex(OutputFormats::indexOf(OutputFormat::Mpg));
    frameRate->setCurrentIndex(frameRate->findText(u"29"_s));
    Q_EMIT frameRate->activated(frameRate->currentIndex());
    QCOMPARE(frameRate->currentText(), u"29.97"_s);

    // After a batch the rule holds again.
    format->setCurrentIndex(OutputFormats::indexOf(OutputFormat::Mp3Audio));
    window().jobs().addJob(u"/v/a.avi"_s);
    window().Command3_Click();
    window().Command3_Click();
    QCOMPARE(window().driver().state(), BatchDriver::State::Idle);
    QVERIFY(format->isEnabled());
    verifyBoxesShowTheForm();
}

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
