#include "SourceReference.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A first line no media file starts with; the source's path follows as the
// file system spells it, to the end of the file, so any name fits.
constexpr QByteArrayView Signature = "ZENVORA-SOURCE-REFERENCE 1\n";
// Far beyond any path a file system takes.
constexpr qint64 MaxReferenceBytes = 64 * 1024;

} // namespace

bool SourceReference::isAskedFor(const QString &outputPath, const QProcessEnvironment &environment)
{
    const QString workingFile = environment.value(QString::fromLatin1(EnvironmentVariable));
    return !workingFile.isEmpty() &&
           QFileInfo(workingFile).absoluteFilePath() == QFileInfo(outputPath).absoluteFilePath();
}

bool SourceReference::write(const QString &path, const QString &sourcePath, QString &error)
{
    QFile file(path);
    const QByteArray content =
        Signature.toByteArray() + QFile::encodeName(QFileInfo(sourcePath).absoluteFilePath());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(content) == content.size() && file.flush())
        return true;
    error = QStringLiteral("cannot write the intermediate file \"%1\": %2")
                .arg(path, file.errorString());
    return false;
}

std::optional<QString> SourceReference::read(const QString &path)
{
    // Anything but a regular file, a pipe above all, is left unopened.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxReferenceBytes)
        return std::nullopt;
    const QByteArray content = file.read(MaxReferenceBytes);
    if (!content.startsWith(Signature) || content.size() == Signature.size())
        return std::nullopt;
    return QFile::decodeName(content.mid(Signature.size()));
}
