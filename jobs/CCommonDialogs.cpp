#include "CCommonDialogs.h"

#include "BarFilter.h"
#include "FileOpenDialog.h"
#include "PathHelpers.h"

#include <QDir>

#include <algorithm>

CCommonDialogs::CCommonDialogs(PathStyle style) : m_style(style) {}

void CCommonDialogs::Init(FileOpenDialog *dialog)
{
    m_dialog = dialog;
}

bool CCommonDialogs::ShowOpen()
{
    if (!m_dialog)
        return false;
    const QString startFolder = m_path.isEmpty() ? QDir::currentPath() : m_path;
    const QStringList chosenFiles = m_dialog->chooseFiles(
        {m_title, startFolder, NameFiltersFromBarFilter(m_filter), m_fileName, m_multiSelect});
    if (chosenFiles.isEmpty())
        return false;
    m_fileNames = chosenFiles;
    const QString &chosen = chosenFiles.constLast();
    m_fileName = chosen;
    m_path = chosen.first(std::max<qsizetype>(chosen.lastIndexOf(m_style.separator), 0));
    return true;
}
