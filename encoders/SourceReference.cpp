#include "SourceReference.h"

#include "ProbeWire.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A first line no media file starts with; the source's path follows as the
// file system spells it, ended by the one byte no path holds, then the
// source's facts as the probe server sends them.
constexpr QByteArrayView Signature = "ZENVORA-SOURCE-REFERENCE 2\n";
constexpr char PathEnd = '\0';
// Far beyond any path a file system takes.
constexpr qint64 MaxReferenceBytes = 64 * 1024;

} // namespace

bool SourceReference::isAskedFor(const QString &outputPath, const QProcessEnvironment &environment)
{
    const QString workingFile = environment.value(QString::fromLatin1(EnvironmentVariable));
    return !workingFile.isEmpty() &&
           QFileInfo(workingFile).absoluteFilePath() == QFileInfo(outputPath).absoluteFilePath();
}

bool SourceReference::write(const QString &path, const QString &sourcePath,
                            const MediaInfo &sourceFacts, QString &error)
{
    QFile file(path);
    const QByteArray content = Signature.toByteArray() +
                               QFile::encodeName(QFileInfo(sourcePath).absoluteFilePath()) +
                               PathEnd + ProbeWire::encodeReply({sourceFacts, {}});
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(content) == content.size() && file.flush())
        return true;
    error = QStringLiteral("cannot write the intermediate file \"%1\": %2")
                .arg(path, file.errorString());
    return false;
}

std::optional<SourceReference::Content> SourceReference::read(const QString &path)
{
    // Anything but a regular file, a pipe above all, is left unopened.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxReferenceBytes)
        return std::nullopt;
    const QByteArray content = file.read(MaxReferenceBytes);
    const qsizetype pathEnd = content.indexOf(PathEnd, Signature.size());
    if (!content.startsWith(Signature) || pathEnd <= Signature.size())
        return std::nullopt;
    Content reference{
        QFile::decodeName(content.sliced(Signature.size(), pathEnd - Signature.size())), {}};
    if (const std::optional<ProbeWire::Reply> facts =
            ProbeWire::decodeReply(content.sliced(pathEnd + 1)))
        reference.sourceFacts = facts->info;
    return reference;
}
