#include "encoders/job/ToolProcess.h"

#include "encoders/system/ProcessGroup.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <cstdio>

using namespace Qt::StringLiterals;

ToolProcess::ToolProcess(QObject *parent) : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    ProcessGroup::startAsGuardedLeader(m_process);
    m_killTimer.setSingleShot(true);
    m_killTimer.setInterval(StopGraceMilliseconds);
    connect(&m_killTimer, &QTimer::timeout, this, &ToolProcess::kill);
    connect(&m_process, &QProcess::started, this, [this] { m_group = m_process.processId(); });
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &ToolProcess::forwardOutput);
    connect(&m_process, &QProcess::readyReadStandardError, this, &ToolProcess::passErrorsOn);
    connect(&m_process, &QProcess::finished, this, &ToolProcess::onFinished);
    connect(&m_process, &QProcess::errorOccurred, this, &ToolProcess::onError);
}

void ToolProcess::start(const QString &program, const QStringList &arguments)
{
    m_process.start(program, arguments, QIODevice::ReadOnly);
}

void ToolProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // Until its start is confirmed, the tool may not lead its group yet.
    if (m_group != 0)
        ProcessGroup::signalGroup(m_group, ProcessGroup::Signal::Terminate);
    else
        m_process.terminate();
    m_killTimer.start();
}

void ToolProcess::kill()
{
    ProcessGroup::signalGroup(m_group, ProcessGroup::Signal::Kill);
    m_process.kill();
}

void ToolProcess::forwardOutput()
{
    const QByteArray output = m_process.readAllStandardOutput();
    if (!output.isEmpty())
        Q_EMIT outputArrived(output);
}

// ffmpeg's first complaint names the cause; the lines after it are mostly
// its consequences ("Could not write header ..."). The "[mp4 @ 0x55d0...]"
// before a line is of no use to a reader.
void ToolProcess::passErrorsOn()
{
    const QByteArray text = m_process.readAllStandardError();
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stderr);
    std::fflush(stderr);
    if (!m_firstError.isEmpty())
        return;
    m_errorText += text;
    QList<QByteArray> lines = m_errorText.split('\n');
    if (m_process.state() != QProcess::NotRunning)
        lines.removeLast(); // not finished yet
    static const QRegularExpression context(u"^\\[[^\\]]* @ [^\\]]*\\]"_s);
    for (const QByteArray &line : lines) {
        m_firstError = QString::fromUtf8(line).remove(context).trimmed();
        if (!m_firstError.isEmpty())
            return;
    }
}

void ToolProcess::onFinished(int exitCode, QProcess::ExitStatus status)
{
    m_killTimer.stop();
    // Whatever the tool started and left behind goes with it.
    ProcessGroup::signalGroup(m_group, ProcessGroup::Signal::Kill);
    forwardOutput();
    passErrorsOn();
    const QString tool = QFileInfo(m_process.program()).fileName();
    if (status == QProcess::CrashExit)
        Q_EMIT ended(u"%1 was killed or crashed"_s.arg(tool));
    else if (exitCode != 0 && !m_firstError.isEmpty())
        Q_EMIT ended(m_firstError);
    else if (exitCode != 0)
        Q_EMIT ended(u"%1 exited with status %2 without saying why"_s.arg(tool).arg(exitCode));
    else
        Q_EMIT ended({});
}

void ToolProcess::onError(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    Q_EMIT ended(u"cannot start %1: %2"_s.arg(m_process.program(), m_process.errorString()));
}
