#include "settings/QtFolderDialog.h"

#include "settings/OutputFolderChooser.h"

#include <QDir>
#include <QFileDialog>

QtFolderDialog::QtFolderDialog(QWidget *owner) : m_owner(owner) {}

// Accepts only real folders. A start that does not exist would be typed
// into the dialog's name box, so it opens at the nearest folder that does.
QString QtFolderDialog::chooseFolder(const QString &title, const QString &startFolder)
{
    const QString folder = QFileDialog::getExistingDirectory(
        m_owner, title, OutputFolderChooser::nearestExistingFolder(startFolder),
        QFileDialog::ShowDirsOnly);
    return QDir::toNativeSeparators(folder);
}
