#include "ui/frmMain.h"

#include "engine/ports/MessageSink.h"
#include "settings/frmOptions.h"
#include "ui/HelpWindow.h"
#include "ui/JobListView.h"
#include "ui/LinkLabel.h"
#include "ui/ParameterPanel.h"
#include "ui/ProgressPanel.h"
#include "ui/feedback/frmSuggest.h"

#include <QCloseEvent>
#include <QCursor>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

QIcon buttonIcon(const QString &normal, const QString &highlighted)
{
    QIcon icon(normal);
    icon.addFile(highlighted, {}, QIcon::Active);
    return icon;
}

} // namespace

frmMain::frmMain(frmMainServices services, QWidget *parent)
    : QWidget(parent), m_services(std::move(services)),
      m_controller(m_services, [this] { return isActiveWindow(); })
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Zenvora"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    setFixedSize(ClientWidth, ClientHeight);

    createToolbar();
    createCornerButtons();
    m_LV = new JobListView(m_controller, m_jobList, m_menu, this);
    m_parameters = new ParameterPanel(m_controller, this);
    createStartAndProgress();
    createLinks();
    bindActions();
    connect(&m_controller, &MainController::batchRunningChanged, this, &frmMain::showBatchRunning);
    showBatchRunning(false);
}

void frmMain::createToolbar()
{
    int x = 0;
    for (const int index : {0, 1, 2, 4, 5}) {
        auto *tool = new QToolButton(this);
        tool->setDefaultAction(m_actions.forCommand(*MainActions::commandOfButton(index)));
        tool->setObjectName(QStringLiteral("CmdToolsBar_%1").arg(index));
        tool->setProperty("index", index);
        tool->setIconSize({32, 32});
        tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tool->setAutoRaise(true);
        tool->setGeometry(x, 0, 95, 66);
        x += 94;
    }
}

void frmMain::createCornerButtons()
{
    const auto corner = [this](const char *name, const QString &icon, const QString &toolTip,
                               QRect geometry, auto clicked) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(buttonIcon(QStringLiteral(":/icons/%1.svg").arg(icon),
                                   QStringLiteral(":/icons/%1-hover.svg").arg(icon)));
        button->setIconSize(geometry.size());
        button->setToolTip(toolTip);
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setGeometry(geometry);
        connect(button, &QToolButton::clicked, this, clicked);
    };
    corner("imgHelp", QStringLiteral("help"), tr("Help & Tutorial"), {635, 8, 15, 15},
           &frmMain::imgHelp_Click);
    corner("imgMin", QStringLiteral("minimize"), tr("Minimize Window"), {652, 9, 14, 14},
           &frmMain::showMinimized);
    corner("imgExit", QStringLiteral("close"), tr("Exit"), {672, 10, 15, 15},
           &frmMain::imgExit_Click);
}

void frmMain::createStartAndProgress()
{
    m_Command3 = new QPushButton(this);
    m_Command3->setObjectName(QStringLiteral("Command3"));
    m_Command3->setIconSize({32, 32});
    QFont bold = m_Command3->font();
    bold.setBold(true);
    m_Command3->setFont(bold);
    m_Command3->setGeometry(478, 364, 209, 59);
    connect(m_Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);

    new ProgressPanel(m_controller, this);
}

void frmMain::createLinks()
{
    auto *web = new LinkLabel(QStringLiteral("Zenvora"), this);
    web->setObjectName(QStringLiteral("lblWeb"));
    QFont webFont = web->font();
    webFont.setBold(true);
    web->setFont(webFont);
    web->place({6, 446, 167, 13});
    connect(web, &LinkLabel::clicked, this, &frmMain::lblWeb_Click);

    m_lblFeed = new LinkLabel(tr("意见反馈"), this);
    m_lblFeed->setObjectName(QStringLiteral("lblFeed"));
    m_lblFeed->setToolTip(tr("Send us your suggestion or question"));
    m_lblFeed->setBoldOnHover(true);
    m_lblFeed->place({624, 448, 48, 13});
    connect(m_lblFeed, &LinkLabel::clicked, this,
            [this] { frmSuggest::openNew(m_services.messages, this); });
}

void frmMain::bindActions()
{
    connect(m_actions.addFile, &QAction::triggered, &m_controller, &MainController::addFiles);
    connect(m_actions.addFolder, &QAction::triggered, &m_controller, &MainController::addFolder);
    connect(m_actions.removeMenu, &QAction::triggered, this,
            [this] { m_menu.menuRemove()->popup(QCursor::pos()); });
    connect(m_actions.options, &QAction::triggered, this, [this] {
        frmOptions dialog(m_controller.options(), m_controller.settingsFiles(), m_services.messages,
                          this);
        dialog.exec();
    });
    connect(m_actions.help, &QAction::triggered, this, &frmMain::imgHelp_Click);
    connect(m_actions.exit, &QAction::triggered, this, &frmMain::imgExit_Click);
    connect(m_actions.about, &QAction::triggered, this, &frmMain::showAbout);
    connect(m_actions.removeSelected, &QAction::triggered, this,
            [this] { m_controller.removeRows(m_LV->selectedRows()); });
    connect(m_actions.removeAll, &QAction::triggered, &m_controller, &MainController::removeAll);
    connect(m_actions.start, &QAction::triggered, this, &frmMain::Command3_Click);
}

void frmMain::CmdToolsBar_Click(int buttonIndex)
{
    if (const std::optional<int> command = MainActions::commandOfButton(buttonIndex))
        imgToolbar_Click(*command);
}

void frmMain::imgToolbar_Click(int commandIndex)
{
    if (QAction *command = m_actions.forCommand(commandIndex))
        command->trigger();
}

void frmMain::queuePaths(const QStringList &paths)
{
    m_controller.queuePaths(paths);
    if (!isVisible())
        return;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

// Enter keeps the files.
void frmMain::offerRestoredQueue()
{
    const QStringList saved = m_controller.savedQueue();
    if (!saved.isEmpty())
        m_controller.answerRestore(
            m_services.messages.confirm(QueueStore::restoreQuestion(static_cast<int>(saved.size())),
                                        tr("恢复"), MessageSink::OnEnter::Yes));
}

void frmMain::imgExit_Click()
{
    m_controller.saveSetup();
    close();
}

void frmMain::imgHelp_Click()
{
    // The help page in the language of the window.
    const bool english = m_services.language == LanguageChoice::Language::English;
    const QString help =
        m_services.environment.programFolder +
        (english ? QStringLiteral("/help/index_en.html") : QStringLiteral("/help/index.html"));
    if (!QFileInfo::exists(help)) {
        m_services.messages.showMessage(tr("找不到帮助文件：") + help, tr("帮助"),
                                        MessageSink::Icon::Exclamation);
        return;
    }
    if (!m_help)
        m_help = new HelpWindow(help, this);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

void frmMain::lblWeb_Click()
{
    m_controller.openWebPage();
}

void frmMain::cmdBrowse_Click()
{
    m_controller.browseOutputFolder();
}

void frmMain::showAbout()
{
    const QString text = tr("Zenvora %1，Velmora 出品，2008").arg(QStringLiteral(ZENVORA_VERSION)) +
                         QStringLiteral("\r\n") + tr("版权所有，保留一切权利。") +
                         QStringLiteral("\r\n") + ProductWebPage();
    m_services.messages.showMessage(text, QStringLiteral("Zenvora"),
                                    MessageSink::Icon::Information);
}

void frmMain::Command3_Click()
{
    switch (m_controller.toggleBatch()) {
    case MainController::Toggle::AskStop:
        if (m_services.messages.confirm(tr("停止转换？正在转换的文件将被放弃，"
                                           "未转换的文件留在列表中。"),
                                        tr("停止转换"), MessageSink::OnEnter::No))
            m_controller.stopConfirmed();
        break;
    case MainController::Toggle::NeedFiles:
        m_services.messages.showMessage(tr("请先添加一个文件"), tr("添加"),
                                        MessageSink::Icon::Exclamation);
        break;
    case MainController::Toggle::Started:
    case MainController::Toggle::Ignored:
        break;
    }
}

void frmMain::showBatchRunning(bool running)
{
    m_actions.setBatchCommandsEnabled(!running);
    m_parameters->setEnabled(!running);
    m_lblFeed->setEnabled(!running);
    m_Command3->setText(running ? tr("停止转换") : tr("立刻开始转换！"));
    m_Command3->setIcon(
        QIcon(running ? QStringLiteral(":/icons/stop.svg") : QStringLiteral(":/icons/start.svg")));
}

// Closing stops the batch, so it asks first, as Stop does; a batch that
// ends while the question is open leaves the window open.
void frmMain::closeEvent(QCloseEvent *event)
{
    if (m_controller.closeRequested() == MainController::Closing::Ask &&
        !(m_services.messages.confirm(tr("正在转换。退出将停止转换，正在转换的文件"
                                         "将被放弃，未转换的文件下次启动时可以恢复。"
                                         "确定退出？"),
                                      tr("退出"), MessageSink::OnEnter::No) &&
          m_controller.batchRunning())) {
        event->ignore();
        return;
    }
    m_controller.shutdown();
    event->accept();
}
