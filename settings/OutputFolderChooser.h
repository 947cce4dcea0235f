#pragma once

#include <QString>

class FolderDialog;

// The browse command of the output folder box (cmdBrowse "浏览").
class OutputFolderChooser final
{
public:
    explicit OutputFolderChooser(FolderDialog &dialog);

    static QString title();
    // The tips of the output folder box and of the browse button.
    static QString boxToolTip();
    static QString buttonToolTip();

    // The new text of txtPath: the chosen folder exactly as the chooser
    // returns it; a cancelled choice leaves the current folder as it was.
    // The chooser opens at the current folder.
    QString browse(const QString &currentFolder) const;

    // Where a folder chooser asked to start at path opens: path, or the
    // nearest folder above it that exists (a folder not made yet), or the
    // home folder for a path that is not absolute.
    static QString nearestExistingFolder(const QString &path);

private:
    FolderDialog &m_dialog;
};
