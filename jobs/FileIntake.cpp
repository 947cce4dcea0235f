#include "FileIntake.h"

#include "FileChooser.h"
#include "JobList.h"
#include "PathHelpers.h"

using namespace Qt::StringLiterals;

FileIntake::FileIntake(JobList &jobs, FileChooser &dialogs) : m_jobs(jobs), m_dialogs(dialogs) {}

QString FileIntake::title()
{
    return u"Open Files"_s;
}

QString FileIntake::filter()
{
    return u"所有格式文件(*.*)|*.*"_s;
}

bool FileIntake::addFileToJobs()
{
    m_dialogs.setTitle(title());
    if (!m_lastAddFolder.isEmpty())
        m_dialogs.setPath(m_lastAddFolder);
    m_dialogs.setFilter(filter());
    m_dialogs.setMultiSelect(true);
    if (!m_dialogs.showOpen())
        return false;
    m_lastAddFolder = ParsePath(m_dialogs.fileName());
    m_jobs.addJobs(m_dialogs.fileNames());
    m_jobs.updateDropHint();
    return true;
}
