#include "OutputFolderChooser.h"

#include "FolderDialog.h"

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
    const QString folder = m_dialog.chooseFolder(title());
    return folder.isEmpty() ? currentFolder : folder;
}
