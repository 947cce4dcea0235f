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
    const QString chosen = m_dialog->chooseFile(
        {m_title, startFolder, NameFiltersFromBarFilter(m_filter), m_fileName});
    if (chosen.isEmpty())
        return false;
    m_fileName = chosen;
    m_fileTitle = FileNameFromPath(chosen, m_style);
    m_path = chosen.first(std::max<qsizetype>(chosen.lastIndexOf(m_style.separator), 0));
    return true;
}
