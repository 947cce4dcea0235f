#pragma once

#include "FileOpenDialog.h"

class QWidget;

// The desktop's open-file dialog, modal to its owner window, for one
// existing file.
class QtFileOpenDialog final : public FileOpenDialog
{
public:
    explicit QtFileOpenDialog(QWidget *owner);

    QString chooseFile(const FileOpenRequest &request) override;

private:
    QWidget *m_owner;
};
