#include "jobs/FolderIntake.h"

#include "engine/ports/FolderDialog.h"
#include "jobs/DropHint.h"
#include "jobs/JobList.h"

FolderIntake::FolderIntake(JobList &jobs, DropHint &hint, FolderDialog &dialog, QObject *parent)
    : QObject(parent), m_jobs(jobs), m_hint(hint), m_dialog(dialog), m_hintText(idleHintText())
{
    connect(&m_scan, &FolderScan::filesFound, &m_jobs, &JobList::addJobs);
    connect(&m_scan, &FolderScan::finished, this, &FolderIntake::finishSearch);
}

QString FolderIntake::title()
{
    return tr("选择一个文件夹:");
}

QString FolderIntake::idleHintText()
{
    return tr("拖拽文件到这里开始转换");
}

QString FolderIntake::searchingHintText()
{
    return tr("搜索文件...");
}

bool FolderIntake::addFolderToJobs()
{
    if (m_scan.isRunning())
        return false;
    const QString folder = m_dialog.chooseFolder(title(), m_startFolder);
    if (folder.isEmpty())
        return false;
    m_startFolder = folder;
    m_hint.setVisible(true);
    setHintText(searchingHintText());
    m_scan.start(folder);
    Q_EMIT searchingChanged(true);
    return true;
}

void FolderIntake::finishSearch()
{
    setHintText(idleHintText());
    m_hint.update();
    Q_EMIT searchingChanged(false);
}

void FolderIntake::setHintText(const QString &text)
{
    if (m_hintText == text)
        return;
    m_hintText = text;
    Q_EMIT hintTextChanged(text);
}
