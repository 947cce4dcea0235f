#include "ui/ParameterPanel.h"

#include "app/ComboTexts.h"
#include "app/MainController.h"
#include "engine/OutputFormats.h"
#include "settings/OutputFolderChooser.h"
#include "ui/ParameterComboBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStandardItemModel>

namespace {

void caption(QWidget *parent, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
}

template <typename Box>
Box *combo(QWidget *parent, ConversionCombo which, QRect geometry, bool editable)
{
    auto *box = new Box(parent);
    box->setObjectName(ComboTexts::objectName(which));
    box->addItems(ComboTexts::shownEntries(which));
    box->setToolTip(ComboTexts::hoverText(which));
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setGeometry(geometry);
    return box;
}

} // namespace

ParameterPanel::ParameterPanel(MainController &controller, QWidget *window)
    : QObject(window), m_controller(controller)
{
    createControls(window);
    refresh();
    bindControls();
}

// The panel is wide enough for the longest entries to show whole in their
// boxes ("AVI(Windows Media Player格式)", "自动(按质量)"), and for the
// English texts.
void ParameterPanel::createControls(QWidget *window)
{
    caption(window, tr("输出格式："), 480, 72);
    m_cmbOF = combo<WholeEntryComboBox>(window, ConversionCombo::Format, {480, 90, 209, 22}, false);
    caption(window, tr("视频比特率："), 478, 126);
    addBox(window, Parameter::VideoBitrate, {478, 146, 99, 22});
    caption(window, tr("帧率："), 588, 126);
    addBox(window, Parameter::FrameRate, {588, 146, 99, 22});
    caption(window, tr("视频尺寸："), 478, 184);
    addBox(window, Parameter::Size, {478, 204, 99, 22});
    caption(window, tr("声音频率："), 588, 184);
    addBox(window, Parameter::AudioRate, {588, 203, 99, 22});
    caption(window, tr("声音比特率："), 478, 244);
    addBox(window, Parameter::AudioBitrate, {478, 265, 99, 22});
    caption(window, tr("声道："), 588, 244);
    addBox(window, Parameter::Channels, {588, 265, 99, 22});

    caption(window, tr("输出路径："), 478, 306);
    m_txtPath = new QLineEdit(window);
    m_txtPath->setObjectName(QStringLiteral("txtPath"));
    m_txtPath->setToolTip(OutputFolderChooser::boxToolTip());
    m_txtPath->setGeometry(478, 325, 140, 21);
    m_cmdBrowse = new QPushButton(tr("浏览"), window);
    m_cmdBrowse->setObjectName(QStringLiteral("cmdBrowse"));
    m_cmdBrowse->setToolTip(OutputFolderChooser::buttonToolTip());
    m_cmdBrowse->setGeometry(623, 326, 64, 20);
}

void ParameterPanel::addBox(QWidget *window, Parameter parameter, QRect geometry)
{
    m_boxes.at(parameterIndex(parameter)) =
        combo<ParameterComboBox>(window, ConversionCombos::of(parameter), geometry, true);
}

void ParameterPanel::bindControls()
{
    connect(m_cmbOF, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (const std::optional<OutputFormat> format = OutputFormats::fromIndex(index))
            m_controller.chooseFormat(*format);
    });
    for (const Parameter parameter : AllParameters) {
        ParameterComboBox *input = box(parameter);
        connect(input, &QComboBox::currentTextChanged, this, [this, parameter, input] {
            if (m_refreshing)
                return;
            m_controller.setParameter(parameter, input->value());
            // The size decides which of the others the format uses.
            if (parameter == Parameter::Size)
                showParameterStates();
        });
        // A value the codec moves is replaced by the one it will use once
        // it is chosen or typed, not at each key.
        if (parameter != Parameter::Channels && parameter != Parameter::VideoBitrate) {
            connect(input, &QComboBox::activated, &m_controller, &MainController::settleParameters);
            connect(input->lineEdit(), &QLineEdit::editingFinished, &m_controller,
                    &MainController::settleParameters);
        }
    }
    connect(m_txtPath, &QLineEdit::textChanged, &m_controller, &MainController::setOutputFolder);
    connect(m_cmdBrowse, &QPushButton::clicked, &m_controller, &MainController::browseOutputFolder);
    connect(&m_controller, &MainController::formChanged, this, &ParameterPanel::refresh);
}

void ParameterPanel::refresh()
{
    const ConversionForm &form = m_controller.form();
    // The boxes take the form's values; nothing goes back meanwhile.
    const QScopedValueRollback refreshing(m_refreshing, true);
    {
        // The box follows the form; only the user's choice chooses a format.
        const QSignalBlocker quiet(m_cmbOF);
        m_cmbOF->setCurrentIndex(form.position(ConversionCombo::Format));
    }
    for (const Parameter parameter : AllParameters) {
        if (box(parameter)->value() != form.value(parameter))
            box(parameter)->setValue(form.value(parameter));
    }
    if (m_txtPath->text() != form.outputFolder())
        m_txtPath->setText(form.outputFolder());
    showParameterStates();
}

void ParameterPanel::setEnabled(bool enabled)
{
    for (QWidget *control : std::initializer_list<QWidget *>{m_cmbOF, m_txtPath, m_cmdBrowse})
        control->setEnabled(enabled);
    for (ParameterComboBox *input : m_boxes)
        input->setEnabled(enabled);
    if (enabled)
        showParameterStates();
}

// A parameter the output will not have is shown disabled with the value the
// output will have instead, and its tip says why.
void ParameterPanel::showParameterStates()
{
    if (!m_cmbOF->isEnabled())
        return;
    for (const Parameter parameter : AllParameters) {
        ParameterComboBox *input = box(parameter);
        const ParameterView::State state = m_controller.parameter(parameter);
        if (state.enabled)
            input->showUsed(state.tip);
        else
            input->showUnused(state.shownValue, state.tip);
        // Only entries that change are touched: a change to the current
        // entry's row would put that entry's text back into the box.
        if (auto *items = qobject_cast<QStandardItemModel *>(input->model())) {
            for (int row = 0; row < items->rowCount(); ++row) {
                QStandardItem *item = items->item(row);
                const bool offered =
                    state.offeredEntries.contains(ComboTexts::valueOf(item->text()));
                if (item->isEnabled() != offered)
                    item->setEnabled(offered);
            }
        }
    }
}

ParameterComboBox *ParameterPanel::box(Parameter parameter) const
{
    return m_boxes.at(parameterIndex(parameter));
}
