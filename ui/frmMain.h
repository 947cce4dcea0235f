#pragma once

#include "app/JobListModel.h"
#include "app/MainController.h"
#include "engine/LanguageChoice.h"
#include "settings/BackgroundMove.h"
#include "ui/MainActions.h"
#include "ui/frmMenu.h"

#include <QPointer>
#include <QWidget>

class HelpWindow;
class JobListView;
class LinkLabel;
class ParameterPanel;
class QPushButton;

// What the window needs from outside; tests pass recorders and fakes.
struct frmMainServices : ControllerServices
{
    // The language of the texts, which decides the help page too.
    LanguageChoice::Language language = LanguageChoice::Language::Chinese;
};

// The main window: the queue, the format and its parameters, the output
// folder, Start and the progress of the running job. It shows the
// controller's state, forwards the user's commands and asks the questions
// the controller names.
class frmMain final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    static constexpr int ClientWidth = 698;
    static constexpr int ClientHeight = 471;

    explicit frmMain(frmMainServices services, QWidget *parent = nullptr);

    static QString ProductWebPage() { return MainController::ProductWebPage(); }

    MainController &controller() { return m_controller; }
    JobList &jobs() { return m_controller.jobs(); }
    BatchDriver &driver() { return m_controller.driver(); }
    const AppOptions &options() { return m_controller.options(); }
    const ConversionSettings &currentSettings() const { return m_controller.form().settings(); }

    void CmdToolsBar_Click(int buttonIndex);
    void imgToolbar_Click(int commandIndex);
    void imgExit_Click();
    void imgHelp_Click();
    void lblWeb_Click();
    void Command3_Click();
    void cmdBrowse_Click();
    void showAbout();
    // Files and folders named on a command line, this copy's or a later
    // start's: queued, and the window brought to the front.
    void queuePaths(const QStringList &paths);
    // The files the last run left unconverted are offered back, once.
    void offerRestoredQueue();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createToolbar();
    void createCornerButtons();
    void createStartAndProgress();
    void createLinks();
    void bindActions();

    void showBatchRunning(bool running);

    frmMainServices m_services;
    MainController m_controller;
    // Destroyed before the queue it shows and before the list view, a child
    // widget: the view, closed last, asks nothing of a queue that is gone.
    JobListModel m_jobList{m_controller.jobs()};
    MainActions m_actions{this};
    frmMenu m_menu{m_actions};
    QPointer<HelpWindow> m_help;
    ParameterPanel *m_parameters = nullptr;

    JobListView *m_LV = nullptr;
    QPushButton *m_Command3 = nullptr;
    LinkLabel *m_lblFeed = nullptr;
    BackgroundMove m_backgroundMove{*this};
};
