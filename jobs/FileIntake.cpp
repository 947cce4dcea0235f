#include "FileIntake.h"

#include "CCommonDialogs.h"
#include "JobList.h"
#include "PathHelpers.h"

using namespace Qt::StringLiterals;

FileIntake::FileIntake(JobList &jobs, CCommonDialogs &dialogs) : m_jobs(jobs), m_dialogs(dialogs) {}

QString FileIntake::title()
{
    return u"Open Files"_s;
}

QString FileIntake::filter()
{
    return u"所有格式文件(*.*)|*.*"_s;
}

bool FileIntake::AddFileToJobs()
{
    m_dialogs.setTitle(title());
    if (!m_lastAddFolder.isEmpty())
        m_dialogs.setPath(m_lastAddFolder);
    m_dialogs.setFilter(filter());
    m_dialogs.setMultiSelect(true);
    if (!m_dialogs.ShowOpen())
        return false;
    m_lastAddFolder = ParsePath(m_dialogs.FileName());
    m_jobs.AddJobs(m_dialogs.FileNames());
    m_jobs.UpdateDropHint();
    return true;
}
