#include "engine/ProbeService.h"

using namespace Qt::StringLiterals;

ProbeService::ProbeService(const QString &programFolder)
    : m_program(programFolder + u"/data/probe-server"_s)
{
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

QString ProbeService::start()
{
    stop();
    if (!m_folder.emplace().isValid()) {
        m_folder.reset();
        return {};
    }
    const QString serverName = m_folder->filePath(u"probe"_s);
    m_process.start(m_program, {serverName});
    return serverName;
}

// It holds nothing that needs a clean end.
void ProbeService::stop()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    m_folder.reset();
}
