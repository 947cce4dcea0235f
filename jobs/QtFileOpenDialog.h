#pragma once

#include "engine/ports/FileOpenDialog.h"

class QWidget;

// The desktop's open-file dialog, modal to its owner window, for one
// existing file or, when asked, several.
class QtFileOpenDialog final : public FileOpenDialog
{
public:
    explicit QtFileOpenDialog(QWidget *owner);

    QStringList chooseFiles(const FileOpenRequest &request) override;

private:
    QWidget *m_owner;
};
