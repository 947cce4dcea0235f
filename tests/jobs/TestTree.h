#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real folder tree in a temporary folder, removed afterwards. Entries are
// relative paths; one ending in "/" is an (empty) folder, any other an empty
// file, created with its missing parent folders.
class TestTree final
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    bool add(const QStringList &entries) const;
    // The given full paths below this tree, relative to it.
    QStringList relative(const QStringList &paths) const;

private:
    QTemporaryDir m_dir;
};
