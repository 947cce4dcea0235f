#include "EncoderOutput.h"

#include "PartFileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString SavedToken = u"Saved to: "_s;
const QString PartFileToken = u"Writing to: "_s;
const QString PartTag = u".part-"_s;
constexpr qsizetype PartTagLength = 6;

QString pathLine(const QString &token, const QString &path)
{
    QString line = token;
    for (const QChar c : path) {
        if (c == u'%' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            line += QString::asprintf("%%%02X", c.unicode());
        else
            line += c;
    }
    return line;
}

QString pathIn(const QString &output, const QString &token)
{
    const qsizetype at = output.lastIndexOf(token);
    if (at < 0 || (at > 0 && output.at(at - 1) != u'\n' && output.at(at - 1) != u'\r'))
        return {};
    const QString encoded = output.mid(at + token.size()).section(u'\n', 0, 0).remove(u'\r');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(encoded.toUtf8()));
}

} // namespace

namespace EncoderOutput {

QString savedLine(const QString &path)
{
    return pathLine(SavedToken, path);
}

QString savedPath(const QString &output)
{
    return pathIn(output, SavedToken);
}

QString partFileLine(const QString &path)
{
    return pathLine(PartFileToken, path);
}

QString partFileIn(const QString &output)
{
    return pathIn(output, PartFileToken);
}

QString failureLine(const QString &encoderName, const QString &reason)
{
    return encoderName + u": "_s + reason;
}

QString failureLineIn(const QString &lines, const QString &encoderName)
{
    const QString prefix = failureLine(encoderName, {});
    const QStringList all = lines.split(u'\n');
    const auto found = std::find_if(all.crbegin(), all.crend(), [&prefix](const QString &line) {
        return line.startsWith(prefix);
    });
    return found == all.crend() ? QString() : *found;
}

QString partBaseOf(const QString &base, const QString &suffix)
{
    constexpr qsizetype MaxNameBytes = 255;
    const QString placeholder = PartTag + QString(PartTagLength, u'X');
    QString shortened = base;
    while (!shortened.isEmpty() &&
           QFile::encodeName(u'.' + shortened + placeholder + suffix).size() > MaxNameBytes)
        shortened.chop(shortened.size() > 1 && shortened.back().isLowSurrogate() ? 2 : 1);
    return shortened;
}

bool isPartFileOf(const QString &name, const QString &targetFileName)
{
    const qsizetype dot = targetFileName.lastIndexOf(u'.');
    const QString base = dot < 0 ? targetFileName : targetFileName.first(dot);
    const QString suffix = dot < 0 ? QString() : targetFileName.sliced(dot);
    const QString prefix = u'.' + partBaseOf(base, suffix) + PartTag;
    if (name.size() != prefix.size() + PartTagLength + suffix.size() || !name.startsWith(prefix) ||
        !name.endsWith(suffix))
        return false;
    const QStringView tag = QStringView(name).sliced(prefix.size(), PartTagLength);
    return std::all_of(tag.begin(), tag.end(),
                       [](QChar c) { return c.isDigit() || (c.isLetter() && c.unicode() < 128); });
}

void removeAbandonedPartFilesOf(const QString &targetPath)
{
    const QFileInfo target(targetPath);
    const QDir folder = target.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const QString path = folder.filePath(name);
        if (isPartFileOf(name, target.fileName()) && PartFileLock::isAbandoned(path))
            QFile::remove(path);
    }
}

} // namespace EncoderOutput
