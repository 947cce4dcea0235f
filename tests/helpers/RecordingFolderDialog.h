#pragma once

#include "engine/ports/FolderDialog.h"

#include <QStringList>

// Answers folder requests from a list, one answer per request (none left is
// a cancel), and keeps the title and start folder of every request.
class RecordingFolderDialog final : public FolderDialog
{
public:
    QString chooseFolder(const QString &title, const QString &startFolder) override
    {
        titles.append(title);
        starts.append(startFolder);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList titles;
    QStringList starts;
};
