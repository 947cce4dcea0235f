#pragma once

#include "engine/ports/FileOpenRequest.h"

#include <QStringList>

// The desktop's open-file dialog as the intake commands see it, so what
// follows a choice is tested without a desktop.
class FileOpenDialog
{
public:
    virtual ~FileOpenDialog() = default;
    // The full paths of the files the user confirmed, in the dialog's
    // order, or nothing when the dialog was cancelled or failed.
    virtual QStringList chooseFiles(const FileOpenRequest &request) = 0;
};
