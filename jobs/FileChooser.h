#pragma once

#include "engine/PathStyle.h"

#include <QString>
#include <QStringList>

class FileOpenDialog;

// The window's dialog object: dialog settings and the last answer kept as
// properties between calls, so a second showOpen starts in the folder of
// the previous choice and offers the previous file name.
class FileChooser final
{
public:
    explicit FileChooser(PathStyle style = PathStyle::native());

    // The dialog to show, bound to the owner window. Until then showOpen
    // behaves like a cancelled dialog.
    void init(FileOpenDialog *dialog);

    // True when the user confirmed a file; fileName and path
    // then describe it, or the last one when several were chosen. On false
    // no property changes.
    bool showOpen();

    // Whether showOpen lets the user choose several files at once.
    void setMultiSelect(bool multiSelect) { m_multiSelect = multiSelect; }
    // Every file of the last choice, in the dialog's order.
    QStringList fileNames() const { return m_fileNames; }
    QString fileName() const { return m_fileName; }
    // The start folder; after a choice, its folder without the last
    // separator (D:\v\a.avi gives D:\v).
    QString path() const { return m_path; }
    void setPath(const QString &path) { m_path = path; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    // Descriptions and patterns separated by bars, as in "所有格式文件(*.*)|*.*".
    void setFilter(const QString &filter) { m_filter = filter; }

private:
    PathStyle m_style;
    FileOpenDialog *m_dialog = nullptr;
    QString m_path;
    QString m_filter;
    QString m_fileName;
    QStringList m_fileNames;
    QString m_title;
    bool m_multiSelect = false;
};
