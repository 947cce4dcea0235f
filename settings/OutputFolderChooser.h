#pragma once

#include <QString>

class FolderDialog;

// The browse command of the output folder box (cmdBrowse "浏览").
class OutputFolderChooser final
{
public:
    OutputFolderChooser(FolderDialog &dialog, QString defaultOutputFolder);

    static QString title();
    // The tips of the output folder box and of the browse button.
    static QString boxToolTip();
    static QString buttonToolTip();

    // The new text of txtPath: the chosen folder exactly as the chooser
    // returns it. A cancelled choice does not keep the previous folder; it
    // resets the box to the default one.
    QString browse() const;

private:
    FolderDialog &m_dialog;
    QString m_defaultOutputFolder;
};
