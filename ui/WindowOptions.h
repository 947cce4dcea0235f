#pragma once

#include <QString>
#include <QStringList>

// The command line of the window: files and folders to queue, as a file
// manager passes them, besides --version, --help and --lang.
struct WindowOptions
{
    QStringList paths; // absolute, in the order given
    bool versionRequested = false;
    bool helpRequested = false;
    QString error; // empty when the command line was understood

    // arguments starts with the program's name; relative paths are taken
    // from the working folder.
    static WindowOptions parse(const QStringList &arguments);
    static QString helpText();
};
