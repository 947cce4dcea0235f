#include "settings/frmOptions.h"

#include "engine/TextNumber.h"
#include "engine/ports/MessageSink.h"
#include "settings/AppOptions.h"
#include "settings/RoundedInteger.h"
#include "settings/SettingsFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

using TimeFields = std::array<QLineEdit *, 3>;

double numericValue(const QLineEdit *field)
{
    return TextNumber::read(field->text());
}

// Hours, minutes and seconds by floor division, so a negative time still
// reads back to the same number of seconds.
void showTime(const TimeFields &fields, qint32 totalSeconds)
{
    const auto floorDiv = [](qint64 value, qint64 divisor) {
        const qint64 quotient = value / divisor;
        return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
    };
    const qint64 hours = floorDiv(totalSeconds, 3600);
    const qint64 minutes = floorDiv(totalSeconds - hours * 3600, 60);
    const qint64 seconds = totalSeconds - hours * 3600 - minutes * 60;
    fields[0]->setText(QString::number(hours));
    fields[1]->setText(QString::number(minutes));
    fields[2]->setText(QString::number(seconds));
}

// A total that does not fit leaves the stored value as it was.
void storeTime(const TimeFields &fields, qint32 &target)
{
    const double total =
        numericValue(fields[0]) * 3600 + numericValue(fields[1]) * 60 + numericValue(fields[2]);
    if (const std::optional<qint32> seconds = roundedInteger<qint32>(total))
        target = *seconds;
}

} // namespace

frmOptions::frmOptions(AppOptions &options, const SettingsFiles &files, MessageSink &messages,
                       QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_options(options), m_files(files),
      m_messages(messages)
{
    setObjectName(u"frmOptions"_s);
    setWindowTitle(tr("选项设置"));
    setModal(true);
    setFont(QFont(u"Tahoma"_s, 9));
    setFixedSize(305, 284);
    // Qt would take a title bar this dialog has not got off its height.
    if (parent)
        move(parent->geometry().center() - rect().center());
    createSoundControls();
    createJobsControls();
    m_cmbSubtitles = addChoice(
        u"cmbSubtitles"_s, tr("字幕"), {tr("自动"), tr("关闭")},
        tr("自动：把与视频同名的字幕文件（没有时用视频自带的默认字幕）烧录进画面；关闭：不加字幕"),
        100);
    m_cmbNotify = addChoice(u"cmbNotify"_s, tr("完成通知"), {tr("开启"), tr("关闭")},
                            tr("开启：窗口不在前台时，转换结束后由桌面发出通知"), 128);
    createCutterControls();
    createButtons();
    Form_Load();
}

void frmOptions::createSoundControls()
{
    addLabel(tr("转换完毕声音提示"), {102, 16, 108, 14});

    m_cmbSR = new QComboBox(this);
    m_cmbSR->setObjectName(u"cmbSR"_s);
    m_cmbSR->addItems({tr("ON"), tr("OFF")});
    // Nothing is selected until the stored value is: a value outside the
    // list stays unselected and is stored back as -1.
    m_cmbSR->setCurrentIndex(-1);
    m_cmbSR->setGeometry(74, 38, 163, 20);
}

void frmOptions::createJobsControls()
{
    addLabel(tr("同时转换"), {40, 72, 60, 14});
    m_spnJobs = new QSpinBox(this);
    m_spnJobs->setObjectName(u"spnJobs"_s);
    m_spnJobs->setRange(1, std::max(1, QThread::idealThreadCount()));
    m_spnJobs->setGeometry(110, 69, 60, 20);
    addLabel(tr("个文件"), {176, 72, 80, 14});
}

// Rows in the same columns as 同时转换.
QComboBox *frmOptions::addChoice(const QString &name, const QString &caption,
                                 const QStringList &entries, const QString &toolTip, int top)
{
    addLabel(caption, {40, top + 3, 60, 14});
    auto *choice = new QComboBox(this);
    choice->setObjectName(name);
    choice->addItems(entries);
    choice->setToolTip(toolTip);
    choice->setGeometry(110, top, 80, 20);
    return choice;
}

void frmOptions::createButtons()
{
    auto *command1 = new QPushButton(tr("确定"), this);
    command1->setObjectName(u"Command1"_s);
    command1->setGeometry(54, 244, 87, 25);
    connect(command1, &QPushButton::clicked, this, &frmOptions::imgOK_Click);

    auto *command2 = new QPushButton(tr("返回"), this);
    command2->setObjectName(u"Command2"_s);
    command2->setGeometry(164, 244, 87, 25);
    connect(command2, &QPushButton::clicked, this, &frmOptions::imgExit_Click);
}

void frmOptions::createCutterControls()
{
    m_chkMC = new QCheckBox(tr("Music Cutter"), this);
    m_chkMC->setObjectName(u"chkMC"_s);
    m_chkMC->setGeometry(40, 159, 150, 16);
    connect(m_chkMC, &QCheckBox::toggled, this, &frmOptions::chkMC_Click);

    m_from = createTimeFields(u"txtFrom"_s, tr("开始"), 184);
    m_to = createTimeFields(u"txtTo"_s, tr("结束"), 208);
}

frmOptions::TimeFields frmOptions::createTimeFields(const QString &prefix, const QString &caption,
                                                    int top)
{
    struct Place
    {
        QString suffix;
        QString unit;
        int left;
        int width;
    };
    const std::array<Place, 3> places{
        {{u"H"_s, tr("时"), 94, 19}, {u"M"_s, tr("分"), 160, 31}, {u"S"_s, tr("秒"), 230, 43}}};
    addLabel(caption, {40, top + 2, 40, 14});
    TimeFields fields{};
    for (std::size_t i = 0; i < places.size(); ++i) {
        auto *field = new QLineEdit(u"0"_s, this);
        field->setObjectName(prefix + places[i].suffix);
        field->setGeometry(places[i].left, top, places[i].width, 18);
        field->setEnabled(false);
        fields[i] = field;
        addLabel(places[i].unit, {places[i].left + places[i].width + 3, top + 2, 14, 14});
    }
    return fields;
}

void frmOptions::addLabel(const QString &text, const QRect &place)
{
    auto *label = new QLabel(text, this);
    label->setGeometry(place);
}

void frmOptions::Form_Load()
{
    if (m_options.SoundPrompt >= 0 && m_options.SoundPrompt < m_cmbSR->count())
        m_cmbSR->setCurrentIndex(m_options.SoundPrompt);
    m_spnJobs->setValue(m_options.concurrentJobs);
    m_cmbSubtitles->setCurrentIndex(
        AppOptions::choiceAt(m_options.subtitles, m_cmbSubtitles->count()));
    m_cmbNotify->setCurrentIndex(AppOptions::choiceAt(m_options.notify, m_cmbNotify->count()));
    m_chkMC->setChecked(m_options.MusicCutterOn == 1);
    if (m_chkMC->isChecked()) {
        showTime(m_from, m_options.CutterFromSeconds);
        showTime(m_to, m_options.CutterToSeconds);
    }
}

void frmOptions::chkMC_Click()
{
    const bool on = m_chkMC->isChecked();
    for (const TimeFields &fields : {m_from, m_to}) {
        for (QLineEdit *field : fields)
            field->setEnabled(on);
    }
}

void frmOptions::imgOK_Click()
{
    if (!timesInRange())
        return;
    if (allTimesZero())
        m_chkMC->setChecked(false);
    m_options.SoundPrompt = static_cast<qint16>(m_cmbSR->currentIndex());
    m_options.MusicCutterOn = m_chkMC->isChecked() ? 1 : 0;
    m_options.concurrentJobs = static_cast<qint16>(m_spnJobs->value());
    m_options.subtitles = static_cast<qint16>(m_cmbSubtitles->currentIndex());
    m_options.notify = static_cast<qint16>(m_cmbNotify->currentIndex());
    storeTime(m_from, m_options.CutterFromSeconds);
    storeTime(m_to, m_options.CutterToSeconds);
    m_files.SaveOptions(m_options);
    accept();
}

void frmOptions::imgBack_Click()
{
    reject();
}

void frmOptions::imgExit_Click()
{
    reject();
}

// Minutes before seconds, start before end; only the first failure is told.
// Hours are not limited and negative values pass.
bool frmOptions::timesInRange()
{
    for (QLineEdit *field : {m_from[1], m_to[1], m_from[2], m_to[2]}) {
        if (numericValue(field) > 59) {
            const bool minutes = field == m_from[1] || field == m_to[1];
            m_messages.showMessage(minutes ? tr("分钟必须小于60") : tr("秒必须小于60"),
                                   minutes ? tr("分钟") : tr("秒"), MessageSink::Icon::Exclamation);
            // A disabled field cannot take the focus; then it stays.
            field->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

bool frmOptions::allTimesZero() const
{
    const auto isZero = [](const QLineEdit *field) { return numericValue(field) == 0; };
    return std::ranges::all_of(m_from, isZero) && std::ranges::all_of(m_to, isZero);
}
