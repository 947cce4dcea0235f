#pragma once

#include <QString>

// The desktop's folder chooser as the code that asks for a folder sees it,
// so what follows a choice is tested without a desktop.
class FolderDialog
{
public:
    virtual ~FolderDialog() = default;
    // The folder the user confirmed, or an empty text when cancelled. It
    // opens at startFolder, or the nearest folder of it that exists.
    virtual QString chooseFolder(const QString &title, const QString &startFolder) = 0;
};
