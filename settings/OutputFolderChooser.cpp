#include "settings/OutputFolderChooser.h"

#include "engine/ports/FolderDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

OutputFolderChooser::OutputFolderChooser(FolderDialog &dialog) : m_dialog(dialog) {}

QString OutputFolderChooser::title()
{
    return QCoreApplication::translate("OutputFolderChooser", "请选择一个文件夹:");
}

QString OutputFolderChooser::boxToolTip()
{
    return QCoreApplication::translate("OutputFolderChooser", "Select a Folder to Output");
}

QString OutputFolderChooser::buttonToolTip()
{
    return QCoreApplication::translate("OutputFolderChooser", "Select an Output Folder");
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
