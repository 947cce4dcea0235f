#pragma once

#include "engine/ports/FolderDialog.h"

class QWidget;

// The desktop's folder chooser, modal to its owner window.
class QtFolderDialog final : public FolderDialog
{
public:
    explicit QtFolderDialog(QWidget *owner);

    QString chooseFolder(const QString &title, const QString &startFolder) override;

private:
    QWidget *m_owner;
};
