#pragma once

#include <QString>

// The folder chooser as the settings layer sees it, so the browse rule is
// tested without a desktop.
class FolderDialog
{
public:
    virtual ~FolderDialog() = default;
    // The folder the user confirmed, or an empty text when cancelled.
    virtual QString chooseFolder(const QString &title) = 0;
};
