#include "app/MainController.h"

#include "app/FailureMessage.h"
#include "app/OutcomeText.h"
#include "engine/AppPaths.h"
#include "engine/ports/MessageSink.h"
#include "settings/OutputFolderChooser.h"
#include "settings/SettingsFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QUrl>

#include <utility>

MainController::MainController(ControllerServices services, UserPresent userPresent,
                               QObject *parent)
    : QObject(parent), m_services(std::move(services)), m_userPresent(std::move(userPresent)),
      m_driver(m_jobs, m_services.environment), m_fileIntake(m_jobs, m_dropHint, m_dialogs),
      m_folderIntake(m_jobs, m_dropHint, m_services.folderDialog), m_dropIntake(m_jobs, m_dropHint),
      m_pathIntake(m_jobs, m_dropHint), m_queue(m_services.stateFolder)
{
    m_queue.follow(m_jobs);
    connectDriver();
    loadStartFolders();
    m_form.setOutputFolder(AppPaths::DefaultOutputFolder());
    m_services.settingsFiles.LoadSetup(m_form);
    m_services.settingsFiles.LoadOptions(m_options);
}

QString MainController::ProductWebPage()
{
    return QStringLiteral("https://zenvora.example/");
}

// The dialog opens where the last file came from, in this run or an
// earlier one; until then where videos are kept.
void MainController::loadStartFolders()
{
    m_dialogs.init(&m_services.fileDialog);
    const QString last = m_services.settingsFiles.loadLastFolder();
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    m_dialogs.setPath(QFileInfo(last).isDir()     ? last
                      : QFileInfo(videos).isDir() ? videos
                                                  : QDir::homePath());
}

void MainController::connectDriver()
{
    connect(&m_driver, &BatchDriver::runningChanged, this, [this](bool running) {
        if (running)
            batchBegun();
        Q_EMIT batchRunningChanged(running);
    });
    connect(&m_driver, &BatchDriver::outputFolderChanged, this, [this](const QString &folder) {
        m_form.setOutputFolder(folder);
        Q_EMIT formChanged();
    });
    connect(&m_driver, &BatchDriver::progressChanged, this,
            [this](const Progress &progress, JobQueue::JobId job) {
                const int bar = m_status.barValue(progress, job);
                if (m_status.follows(job))
                    Q_EMIT progressShown(progress, bar);
            });
    connect(&m_status, &BatchStatus::batchProgressChanged, this,
            [this](double fraction, int filesLeft) {
                m_services.desktop.showBatchProgress(fraction, filesLeft);
            });
    connect(&m_driver, &BatchDriver::jobStarted, this,
            [this](const QString &path, JobQueue::JobId job) {
                m_status.jobStarted(path, job, pendingJobs());
            });
    connect(&m_driver, &BatchDriver::jobFinished, this,
            [this](const JobResult &result, JobQueue::JobId job) {
                m_status.jobFinished(result, job, pendingJobs());
            });
    connect(&m_driver, &BatchDriver::batchFinished, this, &MainController::batchOver);
    connect(
        &m_driver, &BatchDriver::openFolderRequested, this,
        [this](const QString &folder, const QStringList &converted) {
            showFolder(folder, converted, tr("无法打开输出文件夹："));
        },
        Qt::QueuedConnection);
    connect(&m_driver, &BatchDriver::completionSoundRequested, this,
            [this](const QString &file) { m_services.desktop.playSound(file); });
    // Shown once the driver has returned: a modal message must not run
    // inside its chain of signals.
    connect(&m_driver, &BatchDriver::batchFinished, this, &MainController::showBatchEnd,
            Qt::QueuedConnection);
}

void MainController::chooseFormat(OutputFormat format)
{
    if (format == m_form.format())
        return;
    m_form.selectFormat(format);
    Q_EMIT formChanged();
}

void MainController::setParameter(Parameter parameter, const QString &value)
{
    m_form.setValue(parameter, value);
}

void MainController::settleParameters()
{
    m_form.settle();
    Q_EMIT formChanged();
}

void MainController::setOutputFolder(const QString &folder)
{
    m_form.setOutputFolder(folder);
}

ParameterView::State MainController::parameter(Parameter parameter) const
{
    return ParameterView::of(m_form, parameter);
}

ConversionSettings MainController::batchSettings() const
{
    ConversionSettings settings = m_form.settings();
    settings.choices = m_options.jobChoices();
    return settings;
}

void MainController::addFiles()
{
    if (m_fileIntake.addFileToJobs())
        m_services.settingsFiles.saveLastFolder(m_dialogs.path());
}

// Both choosers open where files were last added from.
void MainController::addFolder()
{
    m_folderIntake.setStartFolder(m_dialogs.path());
    if (m_folderIntake.addFolderToJobs()) {
        m_dialogs.setPath(m_folderIntake.startFolder());
        m_services.settingsFiles.saveLastFolder(m_folderIntake.startFolder());
    }
}

void MainController::removeRows(const QList<int> &rows)
{
    m_jobs.removeSelectedJobs(rows);
}

void MainController::removeAll()
{
    m_jobs.removeAllJobs();
    // What the last batch did is no longer about any file in the list.
    if (!batchRunning())
        m_status.clearStatus();
}

void MainController::queuePaths(const QStringList &paths)
{
    m_pathIntake.addPaths(paths);
}

void MainController::browseOutputFolder()
{
    const OutputFolderChooser chooser(m_services.folderDialog);
    m_form.setOutputFolder(chooser.browse(m_form.outputFolder()));
    Q_EMIT formChanged();
}

void MainController::openJobFolder(int row)
{
    const QString path = m_jobs.paths().value(row);
    if (path.isEmpty())
        return;
    showFolder(QFileInfo(path).absolutePath(), {path}, tr("无法打开文件所在的文件夹："));
}

void MainController::openWebPage()
{
    m_services.desktop.openUrl(
        QUrl(ProductWebPage()),
        tellFailure(tr("无法打开网页，请在浏览器中打开：") + ProductWebPage()));
}

bool MainController::saveSetup()
{
    if (m_services.settingsFiles.SaveSetup(m_form))
        return true;
    m_services.messages.showMessage(tr("无法保存设置，下次启动时将使用原来的设置：") +
                                        m_services.settingsFiles.setupPath(),
                                    QStringLiteral("Zenvora"), MessageSink::Icon::Exclamation);
    return false;
}

// A No keeps the files on disk until the queue changes, so a hasty answer
// loses nothing yet.
void MainController::answerRestore(bool restore)
{
    if (!restore) {
        m_queue.offerDeclined();
        return;
    }
    m_jobs.addJobs(m_queue.savedQueue());
    m_dropHint.update();
    m_queue.offerAnswered();
}

MainController::Toggle MainController::toggleBatch()
{
    if (batchRunning())
        return Toggle::AskStop;
    if (m_status.batchJustEnded())
        return Toggle::Ignored;
    // A new Start tries the files that failed last time again.
    m_jobs.clearFailures();
    const ConversionSettings settings = batchSettings();
    m_driver.setParallelJobs(settings.choices.filesAtOnce);
    return m_driver.requestStart(settings, m_options.chimeOn()) ? Toggle::Started
                                                                : Toggle::NeedFiles;
}

void MainController::stopConfirmed()
{
    if (batchRunning())
        m_driver.stop();
}

bool MainController::batchRunning() const
{
    const BatchDriver::State state = m_driver.state();
    return state == BatchDriver::State::Running || state == BatchDriver::State::StartPending;
}

MainController::Closing MainController::closeRequested() const
{
    return !m_shutDown && batchRunning() ? Closing::Ask : Closing::Close;
}

void MainController::shutdown()
{
    if (std::exchange(m_shutDown, true))
        return;
    m_driver.shutdown();
    m_queue.queueChanged(m_jobs.paths());
}

// From the first job to the batch's end the machine stays awake.
void MainController::batchBegun()
{
    m_status.batchStarted(m_driver.parallelJobs());
    m_services.desktop.stayAwake([controller = QPointer(this)] {
        if (controller)
            controller->m_status.sleepNotPrevented();
    });
}

void MainController::batchOver(const BatchReport &report)
{
    m_services.messages.dismissQuestion();
    m_status.batchEnded(report.stopped || report.couldNotStart().has_value(), pendingJobs());
    m_services.desktop.allowSleep();
    m_services.desktop.showBatchProgress(std::nullopt, 0);
    // A user at the window has the chime and the folder; one away from it
    // is told by the desktop.
    if (m_options.notify == AppOptions::NotifyOn && !m_userPresent())
        notifyBatchEnd(m_form.outputFolder(), report.outputPaths());
}

void MainController::showBatchEnd(const BatchReport &report)
{
    // A batch that ended at an encoder that could not be started tells
    // only that.
    if (const std::optional<Outcome::CouldNotStart> failure = report.couldNotStart()) {
        m_services.messages.showMessage(OutcomeText::details(*failure), {},
                                        MessageSink::Icon::Critical);
        return;
    }
    if (report.stopped)
        Q_EMIT progressReset();
    else
        Q_EMIT progressCaptionShown(FailureMessage::progressCaption(report));
    if (!report.failures().isEmpty())
        m_services.messages.showDetailedMessage(
            FailureMessage::text(report), FailureMessage::caption(), MessageSink::Icon::Exclamation,
            FailureMessage::details(report));
}

void MainController::notifyBatchEnd(const QString &folder, const QStringList &converted)
{
    const BatchStatus::Ending ending = m_status.ending();
    m_services.desktop.notify(ending.title, ending.counts, tr("打开文件夹"),
                              [controller = QPointer(this), folder, converted] {
                                  if (controller)
                                      controller->showFolder(folder, converted,
                                                             tr("无法打开输出文件夹："));
                              });
}

void MainController::showFolder(const QString &folder, const QStringList &selected,
                                const QString &failure)
{
    m_services.desktop.showFolder(folder, selected, tellFailure(failure + folder));
}

// The desktop answers later; by then the window may be gone.
Desktop::Failed MainController::tellFailure(const QString &text)
{
    return [controller = QPointer(this), text] {
        if (controller)
            controller->m_services.messages.showMessage(text, QStringLiteral("Zenvora"),
                                                        MessageSink::Icon::Exclamation);
    };
}

int MainController::pendingJobs() const
{
    return m_jobs.jobCount() - m_jobs.failedCount();
}
