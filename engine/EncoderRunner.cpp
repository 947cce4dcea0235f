#include "engine/EncoderRunner.h"

#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/system/ProcessGroup.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {

QString lastLines(const QString &output, int count)
{
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]+"));
    QStringList lines = output.split(lineEnd, Qt::SkipEmptyParts);
    for (QString &line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(std::max<qsizetype>(0, lines.size() - count)).join(u'\n');
}

} // namespace

EncoderRunner::EncoderRunner(QObject *parent) : QObject(parent)
{
    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(StopGraceMilliseconds);
    connect(&m_killTimer, &QTimer::timeout, this,
            [this] { ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Kill); });
    m_stallTimer.setSingleShot(true);
    connect(&m_stallTimer, &QTimer::timeout, this, [this] {
        m_stalled = true;
        stop();
    });
}

EncoderRunner::~EncoderRunner()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Kill);
    m_process->waitForFinished(1000);
}

std::optional<Outcome::CouldNotStart> EncoderRunner::start()
{
    if (m_process)
        return Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::Busy};
    if (m_command.isEmpty())
        return Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::NoCommand};
    if (!programExists())
        return Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::NotFound};

    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setProcessEnvironment(m_environment);
    process->setInputChannelMode(QProcess::ManagedInputChannel);
    ProcessGroup::startAsBoundLeader(*process, ProcessGroup::Signal::Terminate);
    process->start(m_command.program(), m_command.arguments(), QIODevice::ReadWrite);
    // Returns as soon as exec has succeeded or failed; it runs no event loop.
    // A file that is there but cannot be run is as good as missing.
    if (!process->waitForStarted(-1)) {
        delete process;
        return Outcome::CouldNotStart{Outcome::CouldNotStart::Reason::NotFound};
    }
    process->closeWriteChannel();

    m_process = process;
    m_groupId = process->processId();
    m_output.clear();
    m_partFile.clear();
    m_decoder.resetState();
    m_stopRequested = false;
    m_stalled = false;
    if (m_stallTimeout > 0)
        m_stallTimer.start(m_stallTimeout);
    connect(process, &QProcess::readyRead, this, &EncoderRunner::deliverAvailableOutput);
    connect(process, &QProcess::finished, this, &EncoderRunner::finishRun);
    return std::nullopt;
}

void EncoderRunner::stop()
{
    if (!m_process || m_stopRequested)
        return;
    m_stopRequested = true;
    ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Terminate);
    m_killTimer.start();
}

void EncoderRunner::stopAndWait()
{
    stop();
    if (m_process && !m_process->waitForFinished(StopGraceMilliseconds)) {
        ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Kill);
        if (m_process)
            m_process->waitForFinished(1000);
    }
}

bool EncoderRunner::programExists() const
{
    const QString program = m_command.program();
    if (program.contains(u'/'))
        return QFileInfo(program).isExecutable() && !QFileInfo(program).isDir();
    return !QStandardPaths::findExecutable(program).isEmpty();
}

void EncoderRunner::deliverAvailableOutput()
{
    if (m_stallTimer.isActive())
        m_stallTimer.start();
    while (m_process && m_process->bytesAvailable() > 0) {
        const QByteArray bytes = m_process->read(ChunkSize);
        const QString chunk = m_decoder.decode(bytes);
        m_output += chunk;
        if (m_partFile.isEmpty())
            m_partFile = EncoderProtocol::partFileIn(m_output);
        Q_EMIT outputReceived(chunk);
    }
}

void EncoderRunner::finishRun(int exitCode, QProcess::ExitStatus status)
{
    deliverAvailableOutput();
    m_killTimer.stop();
    m_stallTimer.stop();
    // Whatever the child left behind in its group goes with it.
    ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Kill);

    const RunOutcome outcome = outcomeOf(exitCode, status);
    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    m_groupId = 0;
    m_output.clear();
    Q_EMIT finished(outcome);
}

RunOutcome EncoderRunner::outcomeOf(int exitCode, QProcess::ExitStatus status) const
{
    const Outcome::EncoderRun run{.lastLines = lastLines(m_output, LastLines)};
    if (m_stalled)
        return Outcome::Hung{(m_stallTimeout + 999) / 1000, run};
    if (m_stopRequested)
        return Outcome::Stopped{};
    if (status == QProcess::CrashExit)
        return Outcome::Failed{Outcome::Failed::Cause::Crashed, exitCode, {}, run};
    if (exitCode != 0)
        return Outcome::Failed{Outcome::Failed::Cause::EncoderError, exitCode, {}, run};
    return Outcome::Converted{EncoderProtocol::savedPath(m_output), run};
}
