#include "EncoderRunner.h"

#include "ProcessGroup.h"

#include <QFileInfo>
#include <QStandardPaths>

EncoderRunner::EncoderRunner(QObject *parent) : QObject(parent)
{
    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(StopGraceMilliseconds);
    connect(&m_killTimer, &QTimer::timeout, this,
            [this] { ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Kill); });
    m_stallTimer.setSingleShot(true);
    connect(&m_stallTimer, &QTimer::timeout, this, &EncoderRunner::onStalled);
}

void EncoderRunner::setStallTimeout(int milliseconds)
{
    m_stallTimeout = milliseconds;
}

EncoderRunner::~EncoderRunner()
{
    if (!m_process)
        return;
    m_process->disconnect(this);
    ProcessGroup::signalGroup(m_groupId, ProcessGroup::Signal::Kill);
    m_process->waitForFinished(1000);
}

void EncoderRunner::setCommand(const EncoderCommand &command)
{
    m_command = command;
}

void EncoderRunner::setEnvironment(const QProcessEnvironment &environment)
{
    m_environment = environment;
}

QString EncoderRunner::messageFor(StartFailure failure)
{
    switch (failure) {
    case StartFailure::NoCommand:
        return QStringLiteral("Command Line empty");
    case StartFailure::NotFound:
        return QStringLiteral("File or command not found");
    case StartFailure::Busy:
        break;
    }
    return QStringLiteral("An encoder is still running");
}

std::optional<EncoderRunner::StartFailure> EncoderRunner::start()
{
    if (m_process)
        return StartFailure::Busy;
    if (m_command.isEmpty())
        return StartFailure::NoCommand;
    if (!programExists())
        return StartFailure::NotFound;

    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setProcessEnvironment(m_environment);
    process->setInputChannelMode(QProcess::ManagedInputChannel);
    process->setChildProcessModifier(&ProcessGroup::becomeGroupLeaderBoundToParent);
    process->start(m_command.program(), m_command.arguments(), QIODevice::ReadWrite);
    // Returns as soon as exec has succeeded or failed; it runs no event loop.
    // A file that is there but cannot be run is as good as missing.
    if (!process->waitForStarted(-1)) {
        delete process;
        return StartFailure::NotFound;
    }
    process->closeWriteChannel();

    m_process = process;
    m_groupId = process->processId();
    m_outputs.clear();
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

void EncoderRunner::onStalled()
{
    m_stalled = true;
    stop();
}

void EncoderRunner::deliverAvailableOutput()
{
    if (m_stallTimer.isActive())
        m_stallTimer.start();
    while (m_process && m_process->bytesAvailable() > 0) {
        const QByteArray bytes = m_process->read(ChunkSize);
        const QString chunk = m_decoder.decode(bytes);
        m_outputs += chunk;
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

    if (m_stalled)
        m_result = {Outcome::Hung, exitCode};
    else if (m_stopRequested)
        m_result = {Outcome::Stopped, exitCode};
    else if (status == QProcess::CrashExit)
        m_result = {Outcome::Crashed, exitCode};
    else if (exitCode != 0)
        m_result = {Outcome::ExitedWithError, exitCode};
    else
        m_result = {Outcome::Succeeded, 0};

    m_process->disconnect(this);
    m_process->deleteLater();
    m_process = nullptr;
    m_groupId = 0;
    Q_EMIT finished();
}
