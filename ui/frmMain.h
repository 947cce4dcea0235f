#pragma once

#include "BackgroundMove.h"

#include "AppOptions.h"
#include "BatchDriver.h"
#include "CommandEnvironment.h"
#include "Desktop.h"
#include "DropIntake.h"
#include "DropTarget.h"
#include "FileChooser.h"
#include "FileIntake.h"
#include "FolderIntake.h"
#include "JobList.h"
#include "LanguageChoice.h"
#include "PathIntake.h"
#include "SetupControls.h"
#include "WindowModel.h"
#include "frmMenu.h"

#include <QMap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

class FileOpenDialog;
class FolderDialog;
class HelpWindow;
class LinkLabel;
class MessageSink;
class SettingsFiles;
class QAction;
class QComboBox;
class ParameterComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QToolButton;
class QTreeView;

// What the window needs from outside; tests pass recorders and fakes.
struct frmMainServices
{
    MessageSink &messages;
    FolderDialog &folderDialog;
    FileOpenDialog &fileDialog;
    Desktop &desktop;
    const SettingsFiles &settingsFiles;
    CommandEnvironment environment;
    // Where the unconverted queue is kept between runs; empty keeps none.
    QString stateFolder{};
    // The language of the texts, which decides the help page too.
    LanguageChoice::Language language = LanguageChoice::Language::Chinese;
};

// The main window: the queue, the format and its parameters, the output
// folder, Start and the progress of the running job. It shows state and
// forwards the user's commands; the batch driver and the job list decide.
class frmMain final : public QWidget, public SetupControls
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    static constexpr int ClientWidth = 698;
    static constexpr int ClientHeight = 471;

    explicit frmMain(frmMainServices services, QWidget *parent = nullptr);
    ~frmMain() override;

    static QString ProductWebPage();

    // SetupControls: the five values setup.ini keeps.
    int count(List list) const override;
    int position(List list) const override;
    void setPosition(List list, int position) override;
    QString outputFolder() const override;
    void setOutputFolder(const QString &folder) override;

    ConversionSettings currentSettings() const;
    JobList &jobs() { return m_jobs; }
    const AppOptions &options() const { return m_options; }
    BatchDriver &driver() { return m_driver; }

    void CmdToolsBar_Click(int buttonIndex);
    void imgToolbar_Click(int commandIndex);
    // What a pop-up menu item asks for.
    void perform(CommandRouter::Action action);
    void imgExit_Click();
    void imgMin_Click();
    void imgHelp_Click();
    void lblWeb_Click();
    void lblFeed_Click();
    void Command3_Click();
    void cmdBrowse_Click();
    void openSelectedJobFolder();
    void addShortcuts();
    void removeSelectedJob();
    void showAbout();
    // Files and folders named on a command line, this copy's or a later
    // start's: queued, and the window brought to the front.
    void queuePaths(const QStringList &paths);
    // The files the last run left unconverted are offered back, once.
    void offerRestoredQueue();
    const WindowModel &model() const { return m_model; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbar();
    void createCornerButtons();
    void createJobListView();
    void createParameterControls();
    void createStartAndProgress();
    void createLinks();
    void connectDriver();
    void Form_Load();

    void cmbOF_Click();
    void showRemoveMenu();
    void showListMenu(const QPoint &position);
    void setBatchControlsEnabled(bool enabled);
    void showStartButton(bool stops);
    void showProgress(const Progress &progress, int barValue);
    void showProgressCaption(const QString &caption);
    void resetProgress();
    void showBatchEnd(const BatchReport &report);
    void batchBegun();
    void batchOver(const BatchReport &report);
    void notifyBatchEnd(const QString &folder, const QStringList &converted);
    void applyParameterRules();
    void settleParameters();
    Desktop::Failed tellFailure(const QString &what, const QString &place);
    QString helpFile() const;
    int pendingJobs() const;
    bool batchRunning() const;
    ParameterComboBox *parameterBox(Parameter parameter) const;
    ParameterComboBox *audioBox(List list) const;

    frmMainServices m_services;
    JobList m_jobs;
    BatchDriver m_driver;
    FileChooser m_dialogs;
    FileIntake m_fileIntake;
    FolderIntake m_folderIntake;
    DropIntake m_dropIntake;
    DropTarget m_dropTarget;
    PathIntake m_pathIntake;
    QAction *m_removeRow = nullptr;
    QAction *m_openRowFolder = nullptr;
    frmMenu m_menu;
    AppOptions m_options;
    WindowModel m_model;
    QTimer m_queueSave;
    QPointer<HelpWindow> m_help;

    QMap<int, QToolButton *> m_toolbar;
    QToolButton *m_imgHelp = nullptr;
    QToolButton *m_imgMin = nullptr;
    QToolButton *m_imgExit = nullptr;
    QTreeView *m_LV = nullptr;
    QMenu *m_listMenu = nullptr;
    QLabel *m_lblText = nullptr;
    QComboBox *m_cmbOF = nullptr;
    ParameterComboBox *m_cmbVB = nullptr;
    ParameterComboBox *m_cmbF = nullptr;
    ParameterComboBox *m_cmbS = nullptr;
    ParameterComboBox *m_cmbR = nullptr;
    ParameterComboBox *m_cmbBR = nullptr;
    ParameterComboBox *m_cmbChannel = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QPushButton *m_cmdBrowse = nullptr;
    QPushButton *m_Command3 = nullptr;
    QProgressBar *m_pb = nullptr;
    QLabel *m_lblPB = nullptr;
    QLabel *m_lblStatus = nullptr;
    LinkLabel *m_lblWeb = nullptr;
    LinkLabel *m_lblFeed = nullptr;
    bool m_unloaded = false;
    BackgroundMove m_backgroundMove{*this};
};
