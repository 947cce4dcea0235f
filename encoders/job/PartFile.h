#pragma once

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <memory>

// The name a conversion is written under until it has been checked: a
// hidden, unique file beside the target that keeps the target's extension
// (".clip.part-a1B2c3.mp4"). Unless committed, it is removed when the
// object goes away, so a failed or stopped run leaves no partial file.
// A name the drive refuses (a colon or a question mark on FAT) is written
// with those characters in their full-width forms, or as underscores where
// the drive takes no such letters either.
// Committing never replaces anything: what took the target's name while
// the conversion ran (another run, another program, a dangling link) stays,
// and the file takes the next free numbered name instead.
// The file is locked while this process lives (see PartFileLock), and it is
// on the disk, not only in the system's cache, before it takes its name.
class PartFile final
{
    Q_DISABLE_COPY_MOVE(PartFile)

public:
    static std::unique_ptr<PartFile> create(const QString &targetPath, QString &error);
    ~PartFile();

    QString path() const { return m_file.fileName(); }
    // Renames the part file to the target's name or, when that is taken,
    // to the first free one of NumberedName.
    bool commit(QString &error);
    // The absolute path the file was committed under.
    QString savedPath() const { return m_savedPath; }

private:
    explicit PartFile(QString targetPath);
    static std::unique_ptr<PartFile> createBeside(const QFileInfo &target, QString &error);

    QFile m_file; // kept open: its lock lasts as long as the descriptor
    QString m_targetPath;
    QString m_savedPath;
    bool m_committed = false;
};
