#include "ProbeService.h"

using namespace Qt::StringLiterals;

ProbeService::ProbeService(const QString &programFolder)
    : m_program(programFolder + u"/data/probe-server"_s)
{
    if (m_folder.isValid())
        m_serverName = m_folder.filePath(u"probe"_s);
    // Whatever befalls it, the encoders read the files themselves: nothing
    // it could say is for the user.
    m_process.setStandardInputFile(QProcess::nullDevice());
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
}

ProbeService::~ProbeService()
{
    stop();
}

void ProbeService::start()
{
    if (m_serverName.isEmpty() || m_process.state() != QProcess::NotRunning)
        return;
    m_process.start(m_program, {m_serverName});
}

// It holds nothing that needs a clean end.
void ProbeService::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished();
}
