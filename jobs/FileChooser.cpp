#include "jobs/FileChooser.h"

#include "engine/PathHelpers.h"
#include "engine/ports/FileOpenDialog.h"
#include "jobs/BarFilter.h"

#include <QDir>

#include <algorithm>

FileChooser::FileChooser(PathStyle style) : m_style(style) {}

void FileChooser::init(FileOpenDialog *dialog)
{
    m_dialog = dialog;
}

bool FileChooser::showOpen()
{
    if (!m_dialog)
        return false;
    const QString startFolder = m_path.isEmpty() ? QDir::currentPath() : m_path;
    const QStringList chosenFiles = m_dialog->chooseFiles(
        {m_title, startFolder, nameFiltersFromBarFilter(m_filter), m_fileName, m_multiSelect});
    if (chosenFiles.isEmpty())
        return false;
    m_fileNames = chosenFiles;
    const QString &chosen = chosenFiles.constLast();
    m_fileName = chosen;
    m_path = chosen.first(std::max<qsizetype>(chosen.lastIndexOf(m_style.separator), 0));
    return true;
}
