#include "OutputFolderChooser.h"

#include "FolderDialog.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

OutputFolderChooser::OutputFolderChooser(FolderDialog &dialog) : m_dialog(dialog) {}

QString OutputFolderChooser::title()
{
    return u"请选择一个文件夹:"_s;
}

QString OutputFolderChooser::boxToolTip()
{
    return u"Select a Folder to Output"_s;
}

QString OutputFolderChooser::buttonToolTip()
{
    return u"Select an Output Folder"_s;
}

QString OutputFolderChooser::browse(const QString &currentFolder) const
{
    const QString folder = m_dialog.chooseFolder(title(), currentFolder);
    return folder.isEmpty() ? currentFolder : folder;
}

QString OutputFolderChooser::nearestExistingFolder(const QString &path)
{
    if (!QDir::isAbsolutePath(QDir::fromNativeSeparators(path)))
        return QDir::homePath();
    QString folder = QDir::cleanPath(QDir::fromNativeSeparators(path));
    while (!QFileInfo(folder).isDir() && !QDir(folder).isRoot())
        folder = QFileInfo(folder).path();
    return QFileInfo(folder).isDir() ? folder : QDir::homePath();
}
