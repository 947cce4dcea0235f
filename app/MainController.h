#pragma once

#include "app/BatchStatus.h"
#include "app/ParameterView.h"
#include "app/QueueStore.h"
#include "engine/BatchDriver.h"
#include "engine/CommandEnvironment.h"
#include "engine/ports/Desktop.h"
#include "jobs/DropHint.h"
#include "jobs/DropIntake.h"
#include "jobs/FileChooser.h"
#include "jobs/FileIntake.h"
#include "jobs/FolderIntake.h"
#include "jobs/JobList.h"
#include "jobs/PathIntake.h"
#include "settings/AppOptions.h"
#include "settings/ConversionForm.h"

#include <QObject>

#include <functional>

class FileOpenDialog;
class FolderDialog;
class MessageSink;
class SettingsFiles;

// What the window needs from outside; tests pass recorders and fakes.
struct ControllerServices
{
    MessageSink &messages;
    FolderDialog &folderDialog;
    FileOpenDialog &fileDialog;
    Desktop &desktop;
    const SettingsFiles &settingsFiles;
    CommandEnvironment environment;
    // Where the unconverted queue is kept between runs; empty keeps none.
    QString stateFolder{};
};

// Everything the main window decides, without a widget: the queue and the
// ways of filling it, the form and its rules, the batch from Start to its
// end and what the desktop is told meanwhile. The window shows its state
// and asks the user the questions it names.
class MainController final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MainController)

public:
    // Whether the user is at the window; a batch that ends while they are
    // not is told by the desktop.
    using UserPresent = std::function<bool()>;

    MainController(ControllerServices services, UserPresent userPresent, QObject *parent = nullptr);

    static QString ProductWebPage();

    JobList &jobs() { return m_jobs; }
    BatchDriver &driver() { return m_driver; }
    AppOptions &options() { return m_options; }
    const ConversionForm &form() const { return m_form; }
    FolderIntake &folderIntake() { return m_folderIntake; }
    DropIntake &dropIntake() { return m_dropIntake; }
    DropHint &dropHint() { return m_dropHint; }
    BatchStatus &status() { return m_status; }
    const SettingsFiles &settingsFiles() const { return m_services.settingsFiles; }

    // The form: a format chosen, a value typed or picked, and the values
    // the codec moves replaced once the user is done with a box.
    void chooseFormat(OutputFormat format);
    void setParameter(Parameter parameter, const QString &value);
    void settleParameters();
    void setOutputFolder(const QString &folder);
    ParameterView::State parameter(Parameter parameter) const;

    void addFiles();
    void addFolder();
    void removeRows(const QList<int> &rows);
    void removeAll();
    // Files and folders named on a command line, this copy's or a later start's.
    void queuePaths(const QStringList &paths);
    void browseOutputFolder();
    void openJobFolder(int row);
    void openWebPage();
    // False, after telling the user, when setup.ini could not be written.
    bool saveSetup();

    // The files the last run left unconverted, offered back once.
    QStringList savedQueue() const { return m_queue.savedQueue(); }
    void answerRestore(bool restore);

    enum class Toggle
    {
        NeedFiles, // nothing to convert: the user adds files first
        AskStop,   // a batch runs: ask before stopping it
        Started,
        Ignored // a click meant for the Stop button of a batch that just ended
    };
    Toggle toggleBatch();
    // Stops the batch once the user has confirmed; nothing when it ended meanwhile.
    void stopConfirmed();
    bool batchRunning() const;

    enum class Closing
    {
        Close,
        Ask // a batch runs: ask, then closeConfirmed() unless it ended meanwhile
    };
    Closing closeRequested() const;
    // The program ends: the batch stops and the queue is kept.
    void shutdown();

Q_SIGNALS:
    // The form changed other than by the value the window just passed in.
    void formChanged();
    void batchRunningChanged(bool running);
    void progressShown(const Progress &progress, int barValue);
    // Back at nothing done, as before a batch.
    void progressReset();
    void progressCaptionShown(const QString &caption);

private:
    // The settings a Start takes: the form with the options.
    ConversionSettings batchSettings() const;
    void connectDriver();
    void loadStartFolders();
    void batchBegun();
    void batchOver(const BatchReport &report);
    void showBatchEnd(const BatchReport &report);
    void notifyBatchEnd(const QString &folder, const QStringList &converted);
    void showFolder(const QString &folder, const QStringList &selected, const QString &failure);
    Desktop::Failed tellFailure(const QString &text);
    int pendingJobs() const;

    ControllerServices m_services;
    UserPresent m_userPresent;
    JobList m_jobs;
    DropHint m_dropHint{m_jobs};
    BatchDriver m_driver;
    FileChooser m_dialogs;
    FileIntake m_fileIntake;
    FolderIntake m_folderIntake;
    DropIntake m_dropIntake;
    PathIntake m_pathIntake;
    AppOptions m_options;
    ConversionForm m_form;
    BatchStatus m_status;
    QueueStore m_queue;
    bool m_shutDown = false;
};
