#include "OpenFileDialog.h"

#include "BarFilter.h"
#include "FileOpenDialog.h"

#include <QFileInfo>

namespace {

QString startFolder(const QString &initialFolder, const QString &programFolder)
{
    if (initialFolder.trimmed().isEmpty())
        return programFolder;
    const QString folder = initialFolder.endsWith(u'/') ? initialFolder : initialFolder + u'/';
    return QFileInfo(folder).isDir() ? folder : programFolder;
}

} // namespace

QString OpenFileDialog(FileOpenDialog &dialog, const QString &title, const QString &initialFolder,
                       const QString &barFilter, const QString &programFolder)
{
    FileOpenRequest request;
    request.title = title;
    request.startFolder = startFolder(initialFolder, programFolder);
    request.nameFilters = NameFiltersFromBarFilter(barFilter);
    return dialog.chooseFiles(request).value(0);
}
