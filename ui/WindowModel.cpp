#include "WindowModel.h"

#include "ComboTexts.h"
#include "DiskFlush.h"
#include "ParameterRules.h"
#include "ProgressText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <chrono>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString parameterName(Parameter parameter)
{
    switch (parameter) {
    case Parameter::Size:
        return QCoreApplication::translate("WindowModel", "视频尺寸");
    case Parameter::VideoBitrate:
        return QCoreApplication::translate("WindowModel", "视频比特率");
    case Parameter::FrameRate:
        return QCoreApplication::translate("WindowModel", "帧率");
    case Parameter::AudioRate:
        return QCoreApplication::translate("WindowModel", "声音频率");
    case Parameter::AudioBitrate:
        return QCoreApplication::translate("WindowModel", "声音比特率");
    case Parameter::Channels:
        return QCoreApplication::translate("WindowModel", "声道");
    }
    return {};
}

qint64 steadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const QString QueueFileName = u"queue.json"_s;

} // namespace

WindowModel::WindowModel(QString stateFolder, Clock clock, QObject *parent)
    : QObject(parent), m_stateFolder(std::move(stateFolder)),
      m_clock(clock ? std::move(clock) : Clock(&steadyMilliseconds)), m_timeLeft(m_clock)
{
    if (m_stateFolder.isEmpty())
        return;
    QFile file(queueFile());
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QJsonArray files = QJsonDocument::fromJson(file.readAll()).object()[u"files"].toArray();
    for (const QJsonValue &value : files) {
        if (const QString path = value.toString(); !path.isEmpty())
            m_saved.append(path);
    }
}

std::optional<WindowModel::UnusedParameter>
WindowModel::unusedParameter(const ConversionSettings &settings, Parameter parameter)
{
    const std::optional<ParameterRules::Unused> unused =
        ParameterRules::unused(settings, parameter);
    if (!unused)
        return std::nullopt;
    const QString name = parameterName(parameter);
    UnusedParameter view{DependsOnFile.toString(), {}};
    using Kind = ParameterRules::Unused::Kind;
    switch (unused->kind) {
    case Kind::Fixed:
        view.shown = parameter == Parameter::Channels
                         ? ComboTexts::shownEntries(ConversionCombo::Channel)
                               .value(unused->value.toInt() - 1, unused->value)
                         : unused->value;
        // A number stands a space apart from the Chinese before it.
        view.tip = tr("此格式的%1固定为%2%3")
                       .arg(name, view.shown.front().isDigit() ? u" "_s : QString(), view.shown);
        break;
    case Kind::Source:
        view.tip = tr("此格式的%1跟随源文件").arg(name);
        break;
    case Kind::EncoderChoice:
        view.tip = tr("此格式的%1由编码器按画质决定").arg(name);
        break;
    case Kind::NoPicture:
        view.tip = tr("此格式只有声音，不用%1").arg(name);
        break;
    }
    if (unused->usedAtOtherSizes)
        view.tip += tr("；选择其他视频尺寸后可以设置");
    return view;
}

bool WindowModel::offersEntry(const ConversionSettings &settings, Parameter parameter,
                              const QString &entry, const QStringList &entries)
{
    ConversionSettings asked = settings;
    asked.setText(parameter, entry);
    const std::optional<ParameterRules::Move> moved = ParameterRules::move(asked, parameter);
    return !ParameterRules::refusal(settings.format, parameter, entry) &&
           !(moved && entries.contains(moved->taken));
}

void WindowModel::batchStarted(int parallelJobs)
{
    m_timeLeft.batchStarted(parallelJobs);
    m_startedAt.clear();
    m_secondStageAt.clear();
    m_firstStageMilliseconds = m_twoStageMilliseconds = 0;
    m_currentName.clear();
    m_followed.reset();
    m_started = m_done = m_failed = m_total = 0;
    m_barValues.clear();
    m_mayFallAsleep = false;
    m_endedAt.reset();
    m_shownFraction = -1;
    m_shownFilesLeft = -1;
    setStatus(tr("准备转换……"));
}

void WindowModel::jobStarted(const QString &path, JobQueue::JobId job, int pending)
{
    m_startedAt.insert(job, m_clock());
    m_timeLeft.jobStarted(job);
    m_currentName = QFileInfo(path).fileName();
    m_followed = job;
    ++m_started;
    m_total = m_done + pending;
    showRunning();
}

int WindowModel::barValue(const Progress &progress, JobQueue::JobId job)
{
    m_timeLeft.progressChanged(progress, job);
    const int value = jobBarValue(progress, job);
    m_barValues.insert(job, value);
    showBatchProgress();
    return value;
}

int WindowModel::jobBarValue(const Progress &progress, JobQueue::JobId job)
{
    const double value = progress.shownPercent();
    if (progress.stages < 2)
        return qRound(value);
    const double share = m_twoStageMilliseconds > 0
                             ? double(m_firstStageMilliseconds) / double(m_twoStageMilliseconds)
                             : FirstStageShare;
    if (progress.stage < 2)
        return qRound(value * share);
    if (!m_secondStageAt.contains(job))
        m_secondStageAt.insert(job, m_clock());
    return qRound(share * 100 + value * (1 - share));
}

bool WindowModel::follows(JobQueue::JobId job)
{
    if (!m_followed)
        m_followed = job;
    return *m_followed == job;
}

void WindowModel::jobFinished(const JobResult &result, JobQueue::JobId job, int pending)
{
    if (m_followed == job)
        m_followed.reset();
    m_barValues.remove(job);
    const qint64 now = m_clock();
    const qint64 startedAt = m_startedAt.take(job);
    if (const auto second = m_secondStageAt.find(job); second != m_secondStageAt.end()) {
        m_firstStageMilliseconds += *second - startedAt;
        m_twoStageMilliseconds += now - startedAt;
        m_secondStageAt.erase(second);
    }
    m_timeLeft.jobFinished(job, result.converted());
    ++m_done;
    if (result.failed())
        ++m_failed;
    m_total = m_done + pending;
    showRunning();
}

void WindowModel::showRunning()
{
    const int place = std::min(m_started, m_total);
    QString text = tr("第 %1/%2 个：%3").arg(place).arg(m_total).arg(m_currentName);
    if (const std::optional<qint64> seconds = m_timeLeft.secondsLeft(m_total - m_done))
        text += tr("，剩余约 %1").arg(ProgressText::clock(*seconds));
    if (m_mayFallAsleep)
        text += tr("（无法阻止系统休眠）");
    setStatus(text);
    showBatchProgress();
}

void WindowModel::sleepNotPrevented()
{
    m_mayFallAsleep = true;
    if (!m_endedAt && m_total > 0)
        showRunning();
}

// The share of the batch's files converted, the running ones by their bars;
// told only when it moves by a thousandth, as often as a taskbar can show.
void WindowModel::showBatchProgress()
{
    if (m_total <= 0)
        return;
    double running = 0;
    for (const int value : std::as_const(m_barValues))
        running += value / 100.0;
    const double fraction = std::min(1.0, (m_done + running) / m_total);
    const int filesLeft = m_total - m_done;
    if (std::abs(fraction - m_shownFraction) < 0.001 && filesLeft == m_shownFilesLeft)
        return;
    m_shownFraction = fraction;
    m_shownFilesLeft = filesLeft;
    Q_EMIT batchProgressChanged(fraction, filesLeft);
}

void WindowModel::batchEnded(bool stopped, int pending)
{
    m_endedAt = m_clock();
    m_barValues.clear();
    const int converted = m_done - m_failed;
    if (!stopped) {
        m_ending = {tr("转换完成"), tr("%1 个成功，%2 个失败").arg(converted).arg(m_failed)};
        setStatus(tr("完成：%1").arg(m_ending.counts));
        return;
    }
    m_ending = {tr("转换已停止"), tr("%1 个已完成，%2 个未转换").arg(converted).arg(pending)};
    if (m_failed > 0)
        m_ending.counts += tr("，%1 个失败").arg(m_failed);
    setStatus(tr("已停止：%1").arg(m_ending.counts));
}

bool WindowModel::batchJustEnded() const
{
    return m_endedAt && m_clock() - *m_endedAt < StaleClickMilliseconds;
}

void WindowModel::setStatus(const QString &text)
{
    if (m_status == text)
        return;
    m_status = text;
    Q_EMIT statusTextChanged(text);
}

QString WindowModel::queueFile() const
{
    return m_stateFolder.isEmpty() ? QString() : m_stateFolder + u'/' + QueueFileName;
}

QString WindowModel::restoreQuestion(int count)
{
    return tr("上次有 %1 个文件没有转换，是否恢复？", nullptr, count).arg(count);
}

void WindowModel::offerAnswered()
{
    m_saved.clear();
    m_savedDeclined = false;
    writeQueue();
}

void WindowModel::offerDeclined()
{
    m_savedDeclined = true;
}

void WindowModel::queueChanged(const QStringList &paths)
{
    m_queue = paths;
    if (m_savedDeclined)
        offerAnswered();
    else
        writeQueue();
}

// Until the offer is answered the last run's files stay on disk too, so a
// crash before the answer loses them no more than the one before.
void WindowModel::writeQueue()
{
    if (m_stateFolder.isEmpty())
        return;
    const QStringList all = m_saved + m_queue;
    if (all.isEmpty()) {
        QFile::remove(queueFile());
        return;
    }
    QDir().mkpath(m_stateFolder);
    QSaveFile file(queueFile());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{u"files"_s, QJsonArray::fromStringList(all)}})
                       .toJson(QJsonDocument::Indented));
        if (file.commit()) {
            DiskFlush::folderOf(queueFile());
            return;
        }
    }
    qWarning("Zenvora: the queue cannot be kept in %s: %s", qPrintable(queueFile()),
             qPrintable(file.errorString()));
}
