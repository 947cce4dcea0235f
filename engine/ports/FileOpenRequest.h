#pragma once

#include <QString>
#include <QStringList>

// What an open-file dialog is asked to show.
struct FileOpenRequest
{
    QString title;
    QString startFolder;
    // Filters in Qt's form, "Description (*.avi *.mp4)"; the first is
    // preselected. Empty means every file.
    QStringList nameFilters;
    // Offered in the file-name box; empty for a blank box.
    QString fileName;
    // Several files may be chosen at once; otherwise one at most.
    bool multipleFiles = false;
};
