#pragma once

#include <QString>

// The desktop's folder chooser as the code that asks for a folder sees it,
// so what follows a choice is tested without a desktop.
class FolderDialog
{
public:
    virtual ~FolderDialog() = default;
    // The folder the user confirmed, or an empty text when cancelled.
    virtual QString chooseFolder(const QString &title) = 0;
};
