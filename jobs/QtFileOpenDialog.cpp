#include "jobs/QtFileOpenDialog.h"

#include <QFileDialog>

QtFileOpenDialog::QtFileOpenDialog(QWidget *owner) : m_owner(owner) {}

QStringList QtFileOpenDialog::chooseFiles(const FileOpenRequest &request)
{
    QFileDialog dialog(m_owner, request.title, request.startFolder);
    dialog.setFileMode(request.multipleFiles ? QFileDialog::ExistingFiles
                                             : QFileDialog::ExistingFile);
    // The descriptions already name their patterns, as in "所有格式文件(*.*)".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(request.nameFilters);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}
