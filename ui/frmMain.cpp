#include "frmMain.h"

#include "CommandRouter.h"
#include "ConversionCombos.h"
#include "Desktop.h"
#include "FailureMessage.h"
#include "FolderDialog.h"
#include "HelpWindow.h"
#include "LinkLabel.h"
#include "MessageSink.h"
#include "OutcomeText.h"
#include "OutputFolderChooser.h"
#include "OutputFormats.h"
#include "ParameterComboBox.h"
#include "ParameterRules.h"
#include "SettingsFiles.h"
#include "WholeEntryComboBox.h"
#include "frmOptions.h"
#include "frmSuggest.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QStyle>
#include <QThread>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>

namespace {

struct ToolbarButton
{
    int index;
    const char *caption;
    const char *toolTip;
    const char *icon;
};

// The tooltips say what each button does.
constexpr ToolbarButton ToolbarButtons[] = {
    {0, QT_TRANSLATE_NOOP("frmMain", "添加文件"), QT_TRANSLATE_NOOP("frmMain", "Add a File"),
     ":/icons/add-file.svg"},
    {1, QT_TRANSLATE_NOOP("frmMain", "添加文件夹"),
     QT_TRANSLATE_NOOP("frmMain", "Add Files from a Folder"), ":/icons/add-folder.svg"},
    {2, QT_TRANSLATE_NOOP("frmMain", "移除文件"),
     QT_TRANSLATE_NOOP("frmMain", "Remove File(s) from List"), ":/icons/remove.svg"},
    {4, QT_TRANSLATE_NOOP("frmMain", "提示设置"), QT_TRANSLATE_NOOP("frmMain", "Options"),
     ":/icons/options.svg"},
    {5, QT_TRANSLATE_NOOP("frmMain", "退出程序"), QT_TRANSLATE_NOOP("frmMain", "Exit"),
     ":/icons/exit.svg"},
};

QIcon buttonIcon(const QString &normal, const QString &highlighted)
{
    QIcon icon(normal);
    icon.addFile(highlighted, {}, QIcon::Active);
    return icon;
}

QLabel *caption(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

// The parameter combos and what each one sets.
struct ParameterCombo
{
    Parameter parameter;
    ConversionCombo combo;
};

constexpr ParameterCombo ParameterCombos[] = {
    {Parameter::Size, ConversionCombo::Size},
    {Parameter::VideoBitrate, ConversionCombo::VideoBitrate},
    {Parameter::FrameRate, ConversionCombo::FrameRate},
    {Parameter::AudioRate, ConversionCombo::AudioRate},
    {Parameter::AudioBitrate, ConversionCombo::AudioBitrate},
    {Parameter::Channels, ConversionCombo::Channel},
};

template <typename Box>
Box *combo(QWidget *parent, ConversionCombo which, QRect geometry, bool editable)
{
    auto *box = new Box(parent);
    box->setObjectName(ConversionCombos::objectName(which));
    box->addItems(ConversionCombos::shownEntries(which));
    box->setToolTip(ConversionCombos::hoverText(which));
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(geometry);
    return box;
}

} // namespace

frmMain::frmMain(frmMainServices services, QWidget *parent)
    : QWidget(parent), m_services(std::move(services)), m_driver(m_jobs, m_services.environment),
      m_fileIntake(m_jobs, m_dialogs), m_folderIntake(m_jobs, m_services.folderDialog),
      m_dropIntake(m_jobs), m_dropTarget(m_dropIntake), m_pathIntake(m_jobs),
      m_model(m_services.stateFolder)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Zenvora"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    setFixedSize(ClientWidth, ClientHeight);

    createToolbar();
    createCornerButtons();
    createJobListView();
    createParameterControls();
    createStartAndProgress();
    createLinks();
    connectDriver();

    connect(&m_menu, &frmMenu::actionChosen, this, &frmMain::perform);
    connect(&m_menu, &frmMenu::removeAllChosen, this, [this] {
        m_jobs.removeAllJobs();
        // What the last batch did is no longer about any file in the list.
        if (!batchRunning())
            m_model.clearStatus();
    });

    // Every change of the queue is kept on disk once the change is complete,
    // so a folder added in many steps is written once per step of the loop.
    m_queueSave.setSingleShot(true);
    m_queueSave.setInterval(0);
    connect(&m_queueSave, &QTimer::timeout, this, [this] { m_model.queueChanged(m_jobs.paths()); });
    for (const auto signal : {&JobList::rowsInserted, &JobList::rowsRemoved})
        connect(&m_jobs, signal, &m_queueSave, qOverload<>(&QTimer::start));
    connect(&m_jobs, &JobList::modelReset, &m_queueSave, qOverload<>(&QTimer::start));

    Form_Load();
}

frmMain::~frmMain() = default;

QString frmMain::ProductWebPage()
{
    return QStringLiteral("https://zenvora.example/");
}

void frmMain::createToolbar()
{
    int x = 0;
    for (const ToolbarButton &button : ToolbarButtons) {
        auto *tool = new QToolButton(this);
        tool->setObjectName(QStringLiteral("CmdToolsBar_%1").arg(button.index));
        tool->setProperty("index", button.index);
        tool->setText(tr(button.caption));
        tool->setToolTip(tr(button.toolTip));
        tool->setIcon(QIcon(QString::fromLatin1(button.icon)));
        tool->setIconSize({32, 32});
        tool->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        tool->setAutoRaise(true);
        tool->setGeometry(x, 0, 95, 66);
        x += 94;
        connect(tool, &QToolButton::clicked, this,
                [this, index = button.index] { CmdToolsBar_Click(index); });
        m_toolbar.insert(button.index, tool);
    }
}

void frmMain::createCornerButtons()
{
    const auto corner = [this](const QString &name, const QString &icon, const QString &toolTip,
                               QRect geometry) {
        auto *button = new QToolButton(this);
        button->setObjectName(name);
        button->setIcon(buttonIcon(QStringLiteral(":/icons/%1.svg").arg(icon),
                                   QStringLiteral(":/icons/%1-hover.svg").arg(icon)));
        button->setIconSize(geometry.size());
        button->setToolTip(toolTip);
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setGeometry(geometry);
        return button;
    };
    m_imgHelp = corner(QStringLiteral("imgHelp"), QStringLiteral("help"), tr("Help & Tutorial"),
                       {635, 8, 15, 15});
    m_imgMin = corner(QStringLiteral("imgMin"), QStringLiteral("minimize"), tr("Minimize Window"),
                      {652, 9, 14, 14});
    m_imgExit =
        corner(QStringLiteral("imgExit"), QStringLiteral("close"), tr("Exit"), {672, 10, 15, 15});
    connect(m_imgHelp, &QToolButton::clicked, this, &frmMain::imgHelp_Click);
    connect(m_imgMin, &QToolButton::clicked, this, &frmMain::imgMin_Click);
    connect(m_imgExit, &QToolButton::clicked, this, &frmMain::imgExit_Click);
}

void frmMain::createJobListView()
{
    m_LV = new QTreeView(this);
    m_LV->setObjectName(QStringLiteral("LV"));
    m_LV->setModel(&m_jobs);
    m_LV->setRootIsDecorated(false);
    m_LV->setUniformRowHeights(true);
    m_LV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_LV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Long paths keep both ends: the folder's start and the file's name.
    m_LV->setTextElideMode(Qt::ElideMiddle);
    m_LV->setGeometry(4, 90, 455, 274);
    // The file name takes about four fifths of the width, the format the rest.
    QHeaderView *header = m_LV->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(JobList::FileNameColumn, QHeaderView::Stretch);
    header->resizeSection(JobList::FormatColumn, m_LV->width() * 21 / 100);
    m_LV->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_LV, &QTreeView::customContextMenuRequested, this, &frmMain::showListMenu);
    m_listMenu = new QMenu(this);
    m_listMenu->setObjectName(QStringLiteral("menuList"));
    // What the row under the pointer offers comes first, then the program's menus.
    m_removeRow = m_listMenu->addAction(tr("移除"));
    m_removeRow->setObjectName(QStringLiteral("menuListRemove"));
    connect(m_removeRow, &QAction::triggered, this, &frmMain::removeSelectedJob);
    m_openRowFolder = m_listMenu->addAction(tr("打开所在文件夹"));
    m_openRowFolder->setObjectName(QStringLiteral("menuListOpenFolder"));
    connect(m_openRowFolder, &QAction::triggered, this, &frmMain::openSelectedJobFolder);
    m_listMenu->addSeparator();
    for (QMenu *menu : {m_menu.menuFile(), m_menu.menuOptions(), m_menu.menuAbout()})
        m_listMenu->addMenu(menu);

    auto *removeKey = new QAction(m_LV);
    removeKey->setShortcut(QKeySequence::Delete);
    removeKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_LV->addAction(removeKey);
    connect(removeKey, &QAction::triggered, this, &frmMain::removeSelectedJob);

    m_dropTarget.attach(m_LV);
    addShortcuts();

    m_lblText = new QLabel(m_folderIntake.hintText(), this);
    m_lblText->setObjectName(QStringLiteral("lblText"));
    m_lblText->setAlignment(Qt::AlignCenter);
    m_lblText->setGeometry(152, 208, 163, 21);
    m_lblText->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_lblText->setVisible(m_jobs.dropHintVisible());
    connect(&m_jobs, &JobList::dropHintVisibleChanged, m_lblText, &QLabel::setVisible);
    connect(&m_folderIntake, &FolderIntake::hintTextChanged, m_lblText, &QLabel::setText);
}

// The panel on the right is wide enough for the longest entries to show
// whole in their boxes ("AVI(Windows Media Player格式)", "自动(按质量)"), and
// for the English texts.
void frmMain::createParameterControls()
{
    caption(this, tr("输出格式："), 480, 72);
    m_cmbOF = combo<WholeEntryComboBox>(this, ConversionCombo::Format, {480, 90, 209, 22}, false);
    caption(this, tr("视频比特率："), 478, 126);
    m_cmbVB =
        combo<ParameterComboBox>(this, ConversionCombo::VideoBitrate, {478, 146, 99, 22}, true);
    caption(this, tr("帧率："), 588, 126);
    m_cmbF = combo<ParameterComboBox>(this, ConversionCombo::FrameRate, {588, 146, 99, 22}, true);
    caption(this, tr("视频尺寸："), 478, 184);
    m_cmbS = combo<ParameterComboBox>(this, ConversionCombo::Size, {478, 204, 99, 22}, true);
    caption(this, tr("声音频率："), 588, 184);
    m_cmbR = combo<ParameterComboBox>(this, ConversionCombo::AudioRate, {588, 203, 99, 22}, true);
    caption(this, tr("声音比特率："), 478, 244);
    m_cmbBR =
        combo<ParameterComboBox>(this, ConversionCombo::AudioBitrate, {478, 265, 99, 22}, true);
    caption(this, tr("声道："), 588, 244);
    m_cmbChannel =
        combo<ParameterComboBox>(this, ConversionCombo::Channel, {588, 265, 99, 22}, true);
    connect(m_cmbOF, &QComboBox::currentIndexChanged, this, &frmMain::cmbOF_Click);
    connect(m_cmbS, &QComboBox::currentTextChanged, this, &frmMain::applyParameterRules);
    // A value the codec moves is replaced by the one it will use once it is
    // chosen or typed, not at each key.
    for (QComboBox *box : {m_cmbS, m_cmbF, m_cmbR, m_cmbBR}) {
        connect(box, &QComboBox::activated, this, &frmMain::settleParameters);
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, &frmMain::settleParameters);
    }

    caption(this, tr("输出路径："), 478, 306);
    m_txtPath = new QLineEdit(this);
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_txtPath->setToolTip(OutputFolderChooser::boxToolTip());
    m_txtPath->setGeometry(478, 325, 140, 21);
    m_cmdBrowse = new QPushButton(tr("浏览"), this);
    m_cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    m_cmdBrowse->setToolTip(OutputFolderChooser::buttonToolTip());
    m_cmdBrowse->setGeometry(623, 326, 64, 20);
    connect(m_cmdBrowse, &QPushButton::clicked, this, &frmMain::cmdBrowse_Click);
}

void frmMain::createStartAndProgress()
{
    m_Command3 = new QPushButton(this);
    m_Command3->setObjectName(QStringLiteral("Command3"));
    showStartButton(false);
    m_Command3->setIconSize({32, 32});
    QFont bold = m_Command3->font();
    bold.setBold(true);
    m_Command3->setFont(bold);
    m_Command3->setGeometry(478, 364, 209, 59);
    connect(m_Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);

    m_pb = new QProgressBar(this);
    m_pb->setObjectName(QStringLiteral("pb"));
    m_pb->setRange(0, 100);
    m_pb->setValue(0);
    m_pb->setTextVisible(false);
    m_pb->setGeometry(4, 398, 457, 21);

    // The caption grows to the right as the percentage text gets longer.
    m_lblPB = new QLabel(this);
    m_lblPB->setObjectName(QStringLiteral("lblPB"));
    m_lblPB->move(218, 378);
    resetProgress();

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName(QStringLiteral("lblStatus"));
    m_lblStatus->setTextFormat(Qt::PlainText);
    m_lblStatus->setGeometry(4, 422, 457, 18);
    connect(&m_model, &WindowModel::statusTextChanged, this, [this](const QString &text) {
        // A long file name is cut in its middle; the tip shows it whole.
        m_lblStatus->setText(
            m_lblStatus->fontMetrics().elidedText(text, Qt::ElideMiddle, m_lblStatus->width()));
        m_lblStatus->setToolTip(text);
    });
}

void frmMain::createLinks()
{
    m_lblWeb = new LinkLabel(QStringLiteral("Zenvora"), this);
    m_lblWeb->setObjectName(QStringLiteral("lblWeb"));
    QFont webFont = m_lblWeb->font();
    webFont.setBold(true);
    m_lblWeb->setFont(webFont);
    m_lblWeb->place({6, 446, 167, 13});
    connect(m_lblWeb, &LinkLabel::clicked, this, &frmMain::lblWeb_Click);

    m_lblFeed = new LinkLabel(tr("意见反馈"), this);
    m_lblFeed->setObjectName(QStringLiteral("lblFeed"));
    m_lblFeed->setToolTip(tr("Send us your suggestion or question"));
    m_lblFeed->setBoldOnHover(true);
    m_lblFeed->place({624, 448, 48, 13});
    connect(m_lblFeed, &LinkLabel::clicked, this, &frmMain::lblFeed_Click);
}

void frmMain::connectDriver()
{
    connect(&m_driver, &BatchDriver::controlsEnabledChanged, this,
            &frmMain::setBatchControlsEnabled);
    connect(&m_driver, &BatchDriver::outputFolderChanged, m_txtPath, &QLineEdit::setText);
    connect(&m_driver, &BatchDriver::progressChanged, this,
            [this](const ProgressDisplay &display, JobQueue::JobId job) {
                const int bar = m_model.barValue(display, job);
                if (m_model.follows(job))
                    showProgress(display, bar);
            });
    connect(&m_driver, &BatchDriver::controlsEnabledChanged, this, [this](bool enabled) {
        if (!enabled)
            batchBegun();
    });
    connect(&m_model, &WindowModel::batchProgressChanged, this,
            [this](double fraction, int filesLeft) {
                m_services.desktop.showBatchProgress(fraction, filesLeft);
            });
    connect(&m_driver, &BatchDriver::jobStarted, this,
            [this](const QString &path, JobQueue::JobId job) {
                m_model.jobStarted(path, job, pendingJobs());
            });
    m_jobs.setFailureReason(&FailureMessage::reason);
    connect(&m_driver, &BatchDriver::jobFinished, this,
            [this](const JobResult &result, JobQueue::JobId job) {
                m_model.jobFinished(result, job, pendingJobs());
            });
    connect(&m_driver, &BatchDriver::batchFinished, this,
            [this](const BatchReport &report) { batchOver(report); });
    connect(
        &m_driver, &BatchDriver::openFolderRequested, this,
        [this](const QString &folder, const QStringList &converted) {
            m_services.desktop.showFolder(folder, converted,
                                          tellFailure(tr("无法打开输出文件夹："), folder));
        },
        Qt::QueuedConnection);
    connect(&m_driver, &BatchDriver::completionSoundRequested, this,
            [this](const QString &file) { m_services.desktop.playSound(file); });
    // Shown once the driver has returned: a modal message must not run
    // inside its chain of signals.
    connect(&m_driver, &BatchDriver::batchFinished, this, &frmMain::showBatchEnd,
            Qt::QueuedConnection);
}

void frmMain::Form_Load()
{
    m_dialogs.init(&m_services.fileDialog);
    // The dialog opens where the last file came from, in this run or an
    // earlier one; until then where videos are kept.
    const QString last = m_services.settingsFiles.LoadLastFolder();
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    m_dialogs.setPath(QFileInfo(last).isDir()     ? last
                      : QFileInfo(videos).isDir() ? videos
                                                  : QDir::homePath());
    m_cmbBR->setCurrentIndex(ConversionSettings::StartupAudioBitratePosition);
    m_cmbR->setCurrentIndex(ConversionSettings::StartupAudioRatePosition);
    m_cmbChannel->setCurrentIndex(ConversionSettings::StartupChannelPosition);
    m_cmbOF->setCurrentIndex(OutputFormats::indexOf(OutputFormat::Rmvb));
    cmbOF_Click();
    m_txtPath->setText(SettingsFiles::DefaultOutputFolder());
    m_services.settingsFiles.LoadSetup(*this);
    m_services.settingsFiles.LoadOptions(m_options);
}

// Choosing a format writes its defaults into the parameter combos; which
// ones it writes is the engine's rule, the window only shows the result.
void frmMain::cmbOF_Click()
{
    const std::optional<OutputFormat> format = OutputFormats::fromIndex(m_cmbOF->currentIndex());
    if (!format)
        return;
    ConversionSettings settings = currentSettings();
    settings.selectFormat(*format);
    const std::pair<ParameterComboBox *, const QString &> texts[] = {
        {m_cmbVB, settings.videoBitrate}, {m_cmbF, settings.frameRate},     {m_cmbS, settings.size},
        {m_cmbR, settings.audioRate},     {m_cmbBR, settings.audioBitrate},
    };
    for (const auto &[box, text] : texts) {
        if (box->value() != text)
            box->setValue(text);
    }
    if (settings.channelIndex != position(List::Channel))
        setPosition(List::Channel, settings.channelIndex);
    settleParameters();
}

// A value the format's codec would move shows the value the output will have.
// The sound rate goes before the sound bitrate, which may depend on it.
void frmMain::settleParameters()
{
    if (!m_cmbOF->isEnabled())
        return;
    for (const ParameterCombo &entry : ParameterCombos) {
        const QString used = ParameterRules::usedValue(currentSettings(), entry.parameter);
        if (!used.isEmpty())
            parameterBox(entry.parameter)->setValue(used);
    }
    applyParameterRules();
}

// A parameter the output will not have is shown disabled with the value the
// output will have instead, and its tip says why.
void frmMain::applyParameterRules()
{
    if (!m_cmbOF->isEnabled())
        return;
    const ConversionSettings settings = currentSettings();
    for (const ParameterCombo &entry : ParameterCombos) {
        ParameterComboBox *box = parameterBox(entry.parameter);
        if (const auto unused = WindowModel::unusedParameter(settings, entry.parameter))
            box->showUnused(unused->shown, unused->tip);
        else
            box->showUsed(ConversionCombos::hoverText(entry.combo));
        // Only entries that change are touched: a change to the current
        // entry's row would put that entry's text back into the box.
        if (auto *items = qobject_cast<QStandardItemModel *>(box->model())) {
            for (int row = 0; row < items->rowCount(); ++row) {
                QStandardItem *item = items->item(row);
                const bool offered = WindowModel::offersEntry(
                    settings, entry.parameter, ConversionCombos::valueOf(item->text()),
                    ConversionCombos::entries(entry.combo));
                if (item->isEnabled() != offered)
                    item->setEnabled(offered);
            }
        }
    }
}

ParameterComboBox *frmMain::parameterBox(Parameter parameter) const
{
    switch (parameter) {
    case Parameter::Size:
        return m_cmbS;
    case Parameter::VideoBitrate:
        return m_cmbVB;
    case Parameter::FrameRate:
        return m_cmbF;
    case Parameter::AudioRate:
        return m_cmbR;
    case Parameter::AudioBitrate:
        return m_cmbBR;
    case Parameter::Channels:
        return m_cmbChannel;
    }
    return nullptr;
}

ParameterComboBox *frmMain::audioBox(List list) const
{
    switch (list) {
    case List::AudioBitrate:
        return m_cmbBR;
    case List::AudioRate:
        return m_cmbR;
    case List::Channel:
        return m_cmbChannel;
    case List::Format:
        break;
    }
    return nullptr;
}

int frmMain::count(List list) const
{
    return list == List::Format ? m_cmbOF->count() : audioBox(list)->count();
}

// An editable box has an entry selected only while its value is one.
int frmMain::position(List list) const
{
    if (list == List::Format)
        return m_cmbOF->currentIndex();
    const ParameterComboBox *box = audioBox(list);
    return box->findText(ConversionCombos::shownText(box->value()),
                         Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void frmMain::setPosition(List list, int newPosition)
{
    if (newPosition < 0 || newPosition >= count(list))
        return;
    if (list == List::Format)
        m_cmbOF->setCurrentIndex(newPosition);
    else
        audioBox(list)->setValue(audioBox(list)->itemText(newPosition));
}

QString frmMain::outputFolder() const
{
    return m_txtPath->text();
}

void frmMain::setOutputFolder(const QString &folder)
{
    m_txtPath->setText(folder);
}

ConversionSettings frmMain::currentSettings() const
{
    ConversionSettings settings;
    settings.format =
        OutputFormats::fromIndex(m_cmbOF->currentIndex()).value_or(OutputFormat::Rmvb);
    settings.size = m_cmbS->value();
    settings.videoBitrate = m_cmbVB->value();
    settings.frameRate = m_cmbF->value();
    settings.audioRate = m_cmbR->value();
    settings.audioBitrate = m_cmbBR->value();
    settings.channelIndex = position(List::Channel);
    settings.outputFolder = m_txtPath->text();
    return settings;
}

void frmMain::CmdToolsBar_Click(int buttonIndex)
{
    if (const std::optional<int> command = CommandRouter::CmdToolsBarCommand(buttonIndex))
        imgToolbar_Click(*command);
}

void frmMain::imgToolbar_Click(int commandIndex)
{
    using CommandRouter::ToolbarCommand;
    const std::optional<ToolbarCommand> command = CommandRouter::toolbarCommand(commandIndex);
    if (!command)
        return;
    switch (*command) {
    case ToolbarCommand::AddFile:
        if (m_fileIntake.addFileToJobs())
            m_services.settingsFiles.SaveLastFolder(m_dialogs.path());
        break;
    case ToolbarCommand::RemoveMenu:
        showRemoveMenu();
        break;
    case ToolbarCommand::Options: {
        frmOptions dialog(m_options, m_services.settingsFiles, m_services.messages, this);
        dialog.exec();
        break;
    }
    case ToolbarCommand::Help:
        imgHelp_Click();
        break;
    case ToolbarCommand::Exit:
        imgExit_Click();
        break;
    case ToolbarCommand::AddFolder:
        // Both choosers open where files were last added from.
        m_folderIntake.setStartFolder(m_dialogs.path());
        if (m_folderIntake.addFolderToJobs()) {
            m_dialogs.setPath(m_folderIntake.startFolder());
            m_services.settingsFiles.SaveLastFolder(m_folderIntake.startFolder());
        }
        break;
    }
}

void frmMain::perform(CommandRouter::Action action)
{
    using CommandRouter::Action;
    switch (action) {
    case Action::RemoveSelected:
        removeSelectedJob();
        break;
    case Action::About:
        showAbout();
        break;
    case Action::AddaFile:
        imgToolbar_Click(static_cast<int>(CommandRouter::ToolbarCommand::AddFile));
        break;
    case Action::AddaFolder:
        imgToolbar_Click(static_cast<int>(CommandRouter::ToolbarCommand::AddFolder));
        break;
    case Action::Exit:
        imgExit_Click();
        break;
    case Action::Help:
        imgHelp_Click();
        break;
    case Action::Options:
        imgToolbar_Click(static_cast<int>(CommandRouter::ToolbarCommand::Options));
        break;
    }
}

void frmMain::showRemoveMenu()
{
    m_menu.menuRemove()->popup(QCursor::pos());
}

void frmMain::showListMenu(const QPoint &position)
{
    const QModelIndex row = m_LV->indexAt(position);
    if (row.isValid())
        m_LV->setCurrentIndex(row);
    // A running job is not removed; removeSelectedJob passes over it.
    m_removeRow->setEnabled(row.isValid());
    m_openRowFolder->setEnabled(row.isValid());
    m_listMenu->popup(m_LV->viewport()->mapToGlobal(position));
}

void frmMain::openSelectedJobFolder()
{
    const QModelIndex row = m_LV->currentIndex();
    if (!row.isValid())
        return;
    const QString path = m_jobs.paths().value(row.row());
    const QString folder = QFileInfo(path).absolutePath();
    m_services.desktop.showFolder(folder, {path},
                                  tellFailure(tr("无法打开文件所在的文件夹："), folder));
}

// The toolbar's commands from the keyboard, as desktop programs have them.
void frmMain::addShortcuts()
{
    using CommandRouter::ToolbarCommand;
    const auto add = [this](const QKeySequence &keys, auto slot) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, slot);
    };
    const auto toolbar = [this](ToolbarCommand command) {
        return [this, command] { imgToolbar_Click(static_cast<int>(command)); };
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_O), toolbar(ToolbarCommand::AddFile));
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), toolbar(ToolbarCommand::AddFolder));
    add(QKeySequence(Qt::Key_F1), toolbar(ToolbarCommand::Help));
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), toolbar(ToolbarCommand::Exit));
    add(QKeySequence(Qt::CTRL | Qt::Key_Return), [this] { Command3_Click(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_Enter), [this] { Command3_Click(); });
}

void frmMain::removeSelectedJob()
{
    QList<int> rows;
    for (const QModelIndex &index : m_LV->selectionModel()->selectedRows())
        rows.append(index.row());
    m_jobs.removeSelectedJobs(rows);
}

void frmMain::queuePaths(const QStringList &paths)
{
    m_pathIntake.addPaths(paths);
    if (!isVisible())
        return;
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

void frmMain::offerRestoredQueue()
{
    const QStringList saved = m_model.savedQueue();
    if (saved.isEmpty())
        return;
    // Enter keeps the files; a No keeps them on disk until the queue
    // changes, so a hasty answer loses nothing yet.
    if (m_services.messages.confirm(WindowModel::restoreQuestion(static_cast<int>(saved.size())),
                                    tr("恢复"), MessageSink::OnEnter::Yes)) {
        m_jobs.addJobs(saved);
        m_jobs.updateDropHint();
        m_model.offerAnswered();
    } else {
        m_model.offerDeclined();
    }
}

void frmMain::imgExit_Click()
{
    if (!m_services.settingsFiles.SaveSetup(*this))
        m_services.messages.showMessage(tr("无法保存设置，下次启动时将使用原来的设置：") +
                                            m_services.settingsFiles.setupPath(),
                                        QStringLiteral("Zenvora"), MessageSink::Icon::Exclamation);
    close();
}

void frmMain::imgMin_Click()
{
    showMinimized();
}

// The help page in the language of the window.
QString frmMain::helpFile() const
{
    const bool english = m_services.language == LanguageChoice::Language::English;
    return m_services.environment.programFolder +
           (english ? QStringLiteral("/help/index_en.html") : QStringLiteral("/help/index.html"));
}

void frmMain::imgHelp_Click()
{
    const QString help = helpFile();
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
    m_services.desktop.openUrl(
        QUrl(ProductWebPage()),
        tellFailure(tr("无法打开网页，请在浏览器中打开："), ProductWebPage()));
}

// The desktop answers later; by then the window may be gone.
Desktop::Failed frmMain::tellFailure(const QString &what, const QString &place)
{
    return [window = QPointer(this), text = what + place] {
        if (window)
            window->m_services.messages.showMessage(text, QStringLiteral("Zenvora"),
                                                    MessageSink::Icon::Exclamation);
    };
}

void frmMain::lblFeed_Click()
{
    frmSuggest::openNew(m_services.messages, this);
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
    if (batchRunning()) {
        // A batch that ended while the question was open has nothing to stop.
        if (m_services.messages.confirm(tr("停止转换？正在转换的文件将被放弃，"
                                           "未转换的文件留在列表中。"),
                                        tr("停止转换"), MessageSink::OnEnter::No) &&
            batchRunning())
            m_driver.stop();
        return;
    }
    if (m_model.batchJustEnded())
        return;
    // A new Start tries the files that failed last time again.
    m_jobs.clearFailures();
    // A count saved on a machine with more processors is cut to this one's.
    m_driver.setParallelJobs(
        std::clamp<int>(m_options.ConcurrentJobs, 1, std::max(1, QThread::idealThreadCount())));
    ConversionSettings settings = currentSettings();
    if (m_options.MusicCutterOn == 1)
        settings.setCut(m_options.CutterFromSeconds, m_options.CutterToSeconds);
    // The window has no sound track choice: audioTrack stays empty, the
    // track the source flags as default.
    settings.subtitles =
        (m_options.Subtitles == AppOptions::SubtitlesOff ? ConversionSettings::SubtitlesOff
                                                         : ConversionSettings::SubtitlesAuto)
            .toString();
    if (!m_driver.requestStart(settings, m_options.SoundPrompt == 0))
        m_services.messages.showMessage(tr("请先添加一个文件"), tr("添加"),
                                        MessageSink::Icon::Exclamation);
}

void frmMain::cmdBrowse_Click()
{
    const OutputFolderChooser chooser(m_services.folderDialog);
    m_txtPath->setText(chooser.browse(m_txtPath->text()));
}

void frmMain::setBatchControlsEnabled(bool enabled)
{
    for (QToolButton *button : std::as_const(m_toolbar))
        button->setEnabled(enabled);
    m_menu.setToolbarCommandsEnabled(enabled);
    // The batch took its settings and output folder at Start; what changes
    // meanwhile would be silently ignored.
    for (QWidget *control :
         std::initializer_list<QWidget *>{m_cmbOF, m_cmbR, m_cmbBR, m_cmbS, m_cmbVB, m_cmbF,
                                          m_cmbChannel, m_txtPath, m_cmdBrowse, m_lblFeed})
        control->setEnabled(enabled);
    showStartButton(!enabled);
    if (!enabled)
        resetProgress();
    else
        applyParameterRules();
}

void frmMain::showStartButton(bool stops)
{
    m_Command3->setText(stops ? tr("停止转换") : tr("立刻开始转换！"));
    m_Command3->setIcon(
        QIcon(stops ? QStringLiteral(":/icons/stop.svg") : QStringLiteral(":/icons/start.svg")));
}

void frmMain::showProgress(const ProgressDisplay &display, int barValue)
{
    m_pb->setRange(0, display.busy ? 0 : 100);
    m_pb->setValue(barValue);
    showProgressCaption(display.caption);
}

void frmMain::showProgressCaption(const QString &caption)
{
    m_lblPB->setText(caption);
    m_lblPB->adjustSize();
}

void frmMain::resetProgress()
{
    showProgress({0, QStringLiteral("0%")}, 0);
}

void frmMain::showBatchEnd(const BatchReport &report)
{
    // A batch that ended at an encoder that could not be started tells
    // only that.
    if (const std::optional<Outcome::CouldNotStart> failure = report.couldNotStart()) {
        m_services.messages.showMessage(OutcomeText::details(*failure), {},
                                        MessageSink::Icon::Critical);
        return;
    }
    if (report.stopped)
        resetProgress();
    else
        showProgressCaption(FailureMessage::progressCaption(report));
    if (!report.failures().isEmpty())
        m_services.messages.showDetailedMessage(
            FailureMessage::text(report), FailureMessage::caption(), MessageSink::Icon::Exclamation,
            FailureMessage::details(report));
}

// A question about the batch that is still open has lost its subject.
// From the first job to the batch's end the machine stays awake.
void frmMain::batchBegun()
{
    m_model.batchStarted(m_driver.parallelJobs());
    m_services.desktop.stayAwake([window = QPointer(this)] {
        if (window)
            window->m_model.sleepNotPrevented();
    });
}

void frmMain::batchOver(const BatchReport &report)
{
    m_services.messages.dismissQuestion();
    m_model.batchEnded(report.stopped || report.couldNotStart().has_value(), pendingJobs());
    m_services.desktop.allowSleep();
    m_services.desktop.showBatchProgress(std::nullopt, 0);
    // A user at the window has the chime and the folder; one away from it
    // is told by the desktop.
    if (m_options.Notify == AppOptions::NotifyOn && !isActiveWindow())
        notifyBatchEnd(m_txtPath->text(), report.outputPaths());
}

void frmMain::notifyBatchEnd(const QString &folder, const QStringList &converted)
{
    const WindowModel::Ending ending = m_model.ending();
    m_services.desktop.notify(ending.title, ending.counts, tr("打开文件夹"),
                              [window = QPointer(this), folder, converted] {
                                  if (window)
                                      window->m_services.desktop.showFolder(
                                          folder, converted,
                                          window->tellFailure(tr("无法打开输出文件夹："), folder));
                              });
}

int frmMain::pendingJobs() const
{
    return m_jobs.jobCount() - m_jobs.failedCount();
}

bool frmMain::batchRunning() const
{
    const BatchDriver::State state = m_driver.state();
    return state == BatchDriver::State::Running || state == BatchDriver::State::StartPending;
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // Closing stops the batch, so it asks first, as Stop does; a batch that
    // ends while the question is open leaves the window open.
    if (!m_unloaded && batchRunning() &&
        !(m_services.messages.confirm(tr("正在转换。退出将停止转换，正在转换的文件"
                                         "将被放弃，未转换的文件下次启动时可以恢复。"
                                         "确定退出？"),
                                      tr("退出"), MessageSink::OnEnter::No) &&
          batchRunning())) {
        event->ignore();
        return;
    }
    if (!m_unloaded) {
        m_unloaded = true;
        m_driver.shutdown();
        m_model.queueChanged(m_jobs.paths());
    }
    event->accept();
}
