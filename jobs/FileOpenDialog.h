#pragma once

#include "FileOpenRequest.h"

#include <QString>

// The desktop's open-file dialog as the intake commands see it, so what
// follows a choice is tested without a desktop.
class FileOpenDialog
{
public:
    virtual ~FileOpenDialog() = default;
    // The full path of the file the user confirmed, or an empty text when
    // the dialog was cancelled or failed.
    virtual QString chooseFile(const FileOpenRequest &request) = 0;
};
