#pragma once

#include "FileOpenDialog.h"

#include <QList>
#include <QStringList>

// Answers open-file requests from a list (an empty answer is a cancel) and
// keeps every request it was given.
class FakeFileOpenDialog final : public FileOpenDialog
{
public:
    QString chooseFile(const FileOpenRequest &request) override
    {
        requests.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QList<FileOpenRequest> requests;
};
