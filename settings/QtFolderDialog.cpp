#include "QtFolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

QtFolderDialog::QtFolderDialog(QWidget *owner) : m_owner(owner) {}

// Starts at the desktop and accepts only real folders.
QString QtFolderDialog::chooseFolder(const QString &title)
{
    const QString start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString folder =
        QFileDialog::getExistingDirectory(m_owner, title, start, QFileDialog::ShowDirsOnly);
    return QDir::toNativeSeparators(folder);
}
