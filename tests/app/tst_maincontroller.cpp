#include "app/MainController.h"

#include "engine/AppPaths.h"
#include "engine/ports/FolderDialog.h"
#include "settings/SettingsFiles.h"
#include "tests/helpers/FakeFileOpenDialog.h"
#include "tests/helpers/RecordingMessageSink.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class NoFolderDialog final : public FolderDialog
{
public:
    QString chooseFolder(const QString &, const QString &) override { return {}; }
};

// Records what a batch asks of the desktop.
class RecordingDesktop final : public Desktop
{
public:
    void showFolder(const QString &, const QStringList &, Failed) override {}
    void openUrl(const QUrl &, Failed) override {}
    void playSound(const QString &) override {}
    void stayAwake(Failed) override { calls.append(u"stayAwake"_s); }
    void allowSleep() override { calls.append(u"allowSleep"_s); }
    void showBatchProgress(std::optional<double>, int) override {}
    void notify(const QString &title, const QString &text, const QString &,
                std::function<void()>) override
    {
        calls.append(title + u": "_s + text);
    }
    QStringList calls;
};

} // namespace

// The window's decisions, driven the way the window drives them, with no
// widget anywhere.
class TestMainController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void startStopAndCloseFollowTheBatch();
    void formIsKeptWithoutWidgets();
    void batchEndIsToldToAUserAwayOnly_data();
    void batchEndIsToldToAUserAwayOnly();

private:
    std::unique_ptr<MainController> controller(bool userPresent = true);

    QTemporaryDir m_dir;
    RecordingMessageSink m_messages;
    NoFolderDialog m_folders;
    FakeFileOpenDialog m_files;
    RecordingDesktop m_desktop;
    std::unique_ptr<SettingsFiles> m_settings;
};

void TestMainController::init()
{
    m_messages = {};
    m_desktop.calls.clear();
    QDir(m_dir.path()).removeRecursively();
    QDir().mkpath(m_dir.path());
    m_settings = std::make_unique<SettingsFiles>(m_dir.path(), u"/videos/Zenvora"_s);
}

std::unique_ptr<MainController> TestMainController::controller(bool userPresent)
{
    // No encoders in the program folder: a job ends at once, unable to start.
    CommandEnvironment environment;
    environment.programFolder = m_dir.filePath(u"app"_s);
    environment.intermediatePath = m_dir.filePath(u"tmp/tmp.mp4"_s);
    return std::make_unique<MainController>(
        ControllerServices{m_messages, m_folders, m_files, m_desktop, *m_settings, environment},
        [userPresent] { return userPresent; });
}

void TestMainController::startStopAndCloseFollowTheBatch()
{
    const auto main = controller();
    using Toggle = MainController::Toggle;
    QCOMPARE(main->toggleBatch(), Toggle::NeedFiles);
    QCOMPARE(main->closeRequested(), MainController::Closing::Close);

    main->jobs().addJob(m_dir.filePath(u"a.avi"_s));
    QSignalSpy running(main.get(), &MainController::batchRunningChanged);
    QCOMPARE(main->toggleBatch(), Toggle::Started);
    QVERIFY(main->batchRunning());
    QCOMPARE(main->toggleBatch(), Toggle::AskStop);
    QCOMPARE(main->closeRequested(), MainController::Closing::Ask);

    main->stopConfirmed();
    QVERIFY(!main->batchRunning());
    QCOMPARE(main->closeRequested(), MainController::Closing::Close);
    // A second click on what was the Stop button starts nothing.
    QCOMPARE(main->toggleBatch(), Toggle::Ignored);
    QCOMPARE(main->jobs().jobCount(), 1);
    QVERIFY(m_messages.questions.isEmpty()); // the window asks, not the controller
    QCOMPARE(running.count(), 2);
}

void TestMainController::formIsKeptWithoutWidgets()
{
    {
        const auto first = controller();
        QCOMPARE(first->form().format(), OutputFormat::Rmvb);
        QCOMPARE(first->form().outputFolder(), AppPaths::DefaultOutputFolder());
        first->chooseFormat(OutputFormat::Mov);
        first->setParameter(Parameter::AudioRate, u"22050"_s);
        first->setOutputFolder(u"/out"_s);
        QVERIFY(first->saveSetup());
    }
    const auto second = controller();
    QCOMPARE(second->form().format(), OutputFormat::Mov);
    QCOMPARE(second->form().outputFolder(), u"/out"_s);
    // The format is restored last, so its defaults win over the sound rate.
    ConversionForm movDefaults;
    movDefaults.selectFormat(OutputFormat::Mov);
    QCOMPARE(second->form().value(Parameter::AudioRate), movDefaults.value(Parameter::AudioRate));
    // Choosing the format the form has already keeps what was typed.
    second->setParameter(Parameter::AudioBitrate, u"96"_s);
    second->chooseFormat(OutputFormat::Mov);
    QCOMPARE(second->form().value(Parameter::AudioBitrate), u"96"_s);
}

void TestMainController::batchEndIsToldToAUserAwayOnly_data()
{
    QTest::addColumn<bool>("userPresent");
    QTest::addColumn<QStringList>("calls");
    QTest::newRow("at the window") << true << QStringList{u"stayAwake"_s, u"allowSleep"_s};
    QTest::newRow("away") << false
                          << QStringList{u"stayAwake"_s, u"allowSleep"_s,
                                         u"转换已停止: 0 个已完成，1 个未转换"_s};
}

void TestMainController::batchEndIsToldToAUserAwayOnly()
{
    QFETCH(bool, userPresent);
    QFETCH(QStringList, calls);
    const auto main = controller(userPresent);
    main->jobs().addJob(m_dir.filePath(u"a.avi"_s));
    QCOMPARE(main->toggleBatch(), MainController::Toggle::Started);
    QTRY_VERIFY(!main->batchRunning());
    QCOMPARE(m_desktop.calls, calls);
}

QTEST_GUILESS_MAIN(TestMainController)
#include "tst_maincontroller.moc"
