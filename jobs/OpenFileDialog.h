#pragma once

#include <QString>

class FileOpenDialog;

// A one-call open-file dialog that keeps nothing between calls. It starts
// in initialFolder, or in programFolder when initialFolder is blank or does
// not exist. Returns the chosen file's full path, or an empty text when the
// dialog was cancelled.
QString OpenFileDialog(FileOpenDialog &dialog, const QString &title, const QString &initialFolder,
                       const QString &barFilter, const QString &programFolder);
