#pragma once

#include <QString>

#include <memory>

// The name a conversion is written under until it has been checked: a
// hidden, unique file beside the target that keeps the target's extension
// (".clip.part-a1B2c3.mp4"). Unless committed, it is removed when the
// object goes away, so a failed or stopped run leaves no partial file.
class PartFile final
{
public:
    static std::unique_ptr<PartFile> create(const QString &targetPath, QString &error);
    ~PartFile();
    PartFile(const PartFile &) = delete;
    PartFile &operator=(const PartFile &) = delete;

    QString path() const { return m_path; }
    // Renames the part file over the target in one step.
    bool commit(QString &error);

private:
    PartFile(QString path, QString targetPath);

    QString m_path;
    QString m_targetPath;
    bool m_committed = false;
};
