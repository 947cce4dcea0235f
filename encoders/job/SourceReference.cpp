#include "encoders/job/SourceReference.h"

#include "encoders/probe/ProbeWire.h"
#include "encoders/protocol/EncoderProtocol.h"

#include <QFile>
#include <QFileInfo>

namespace {

// A first line no media file starts with; the source's path follows as the
// file system spells it, ended by the one byte no path holds, then the
// source's facts as the probe server sends them. The source's stamp, then a
// cut, come between the first line and the path on lines of their own,
// which no absolute path can be.
constexpr QByteArrayView Signature = "ZENVORA-SOURCE-REFERENCE 3\n";
constexpr QByteArrayView CutKeyword = "cut ";
constexpr QByteArrayView StampKeyword = "stamp ";
constexpr char PathEnd = '\0';
// Far beyond any path a file system takes.
constexpr qint64 MaxReferenceBytes = 64 * 1024;

QByteArray cutLine(const EncodeRequest::Cut &cut)
{
    if (!cut.cuts())
        return {};
    return CutKeyword.toByteArray() + QByteArray::number(cut.startSeconds, 'f', 3) + ' ' +
           (cut.lengthSeconds ? QByteArray::number(*cut.lengthSeconds, 'f', 3) : "-") + '\n';
}

QByteArray stampLine(const std::optional<SourceReference::Stamp> &stamp)
{
    if (!stamp)
        return {};
    return StampKeyword.toByteArray() + QByteArray::number(stamp->size) + ' ' +
           QByteArray::number(stamp->modifiedNanoseconds) + ' ' + QByteArray::number(stamp->inode) +
           '\n';
}

// The values on a line of its own that starts with the keyword, taken off
// the front of the content; nothing when the content starts otherwise.
std::optional<QList<QByteArray>> takeLine(QByteArray &content, QByteArrayView keyword)
{
    const qsizetype lineEnd = content.indexOf('\n');
    if (!content.startsWith(keyword) || lineEnd < 0)
        return std::nullopt;
    const QList<QByteArray> values =
        content.mid(keyword.size(), lineEnd - keyword.size()).split(' ');
    content.remove(0, lineEnd + 1);
    return values;
}

} // namespace

bool SourceReference::isAskedFor(const QString &path, const QProcessEnvironment &environment)
{
    const QString workingFile = environment.value(EncoderProtocol::IntermediateVariable);
    return !workingFile.isEmpty() &&
           QFileInfo(workingFile).absoluteFilePath() == QFileInfo(path).absoluteFilePath();
}

bool SourceReference::isInPrivateFolder(const QString &path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                      QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return folder.isDir() && !folder.isSymLink() && folder.isWritable() &&
           (folder.permissions() & others) == 0;
}

bool SourceReference::write(const QString &path, const Target &target, QString &error)
{
    QFile file(path);
    QByteArray content = Signature.toByteArray() + stampLine(target.sourceStamp) +
                         cutLine(target.cut) +
                         QFile::encodeName(QFileInfo(target.source).absoluteFilePath()) + PathEnd;
    if (target.sourceFacts)
        content += ProbeWire::encodeReply({target.sourceFacts, {}});
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(content) == content.size() && file.flush())
        return true;
    error = QStringLiteral("cannot write the intermediate file \"%1\": %2")
                .arg(path, file.errorString());
    return false;
}

std::optional<SourceReference::Target> SourceReference::read(const QString &path)
{
    // Anything but a regular file, a pipe above all, is left unopened.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxReferenceBytes)
        return std::nullopt;
    const QByteArray content = file.read(MaxReferenceBytes);
    if (!content.startsWith(Signature))
        return std::nullopt;
    Target target;
    QByteArray rest = content.mid(Signature.size());
    if (const auto stamp = takeLine(rest, StampKeyword); stamp && stamp->size() == 3)
        target.sourceStamp =
            Stamp{stamp->at(0).toLongLong(), stamp->at(1).toLongLong(), stamp->at(2).toULongLong()};
    if (const auto cut = takeLine(rest, CutKeyword)) {
        target.cut.startSeconds = cut->value(0).toDouble();
        bool hasLength = false;
        const double length = cut->value(1).toDouble(&hasLength);
        if (hasLength)
            target.cut.lengthSeconds = length;
    }
    const qsizetype pathEnd = rest.indexOf(PathEnd);
    if (pathEnd <= 0)
        return std::nullopt;
    target.source = QFile::decodeName(rest.first(pathEnd));
    if (const std::optional<ProbeWire::Reply> facts =
            ProbeWire::decodeReply(rest.sliced(pathEnd + 1)))
        target.sourceFacts = facts->info;
    return target;
}
