#pragma once

#include "engine/ports/FileOpenDialog.h"

#include <QList>
#include <QStringList>

// Answers open-file requests from a list, one choice per request (an empty
// choice is a cancel), and keeps every request it was given.
class FakeFileOpenDialog final : public FileOpenDialog
{
public:
    QStringList chooseFiles(const FileOpenRequest &request) override
    {
        requests.append(request);
        return answers.isEmpty() ? QStringList() : answers.takeFirst();
    }

    QList<QStringList> answers;
    QList<FileOpenRequest> requests;
};
