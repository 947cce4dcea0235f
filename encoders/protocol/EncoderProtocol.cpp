#include "encoders/protocol/EncoderProtocol.h"

#include "encoders/protocol/PartFileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QString SavedToken = u"Saved to: "_s;
const QString PartFileToken = u"Writing to: "_s;
const QString NameEnd = u": "_s;
const QString PartTag = u".part-"_s;

using Cause = EncoderProtocol::FailureCause;
// Written and read through this table alone. A token keeps its cause for
// good: a reader that does not know one takes it for EncoderError, which
// says less than the encoder meant but never something else.
constexpr std::array<std::pair<Cause, QLatin1StringView>, 15> CauseTokens{{
    {Cause::InputMissing, QLatin1StringView("input-missing")},
    {Cause::InputUnreadable, QLatin1StringView("input-unreadable")},
    {Cause::NotMedia, QLatin1StringView("not-media")},
    {Cause::NoVideoStream, QLatin1StringView("no-video")},
    {Cause::NoAudioStream, QLatin1StringView("no-audio")},
    {Cause::CutPastTheEnd, QLatin1StringView("cut-past-end")},
    {Cause::SubtitlesUnusable, QLatin1StringView("subtitles-unusable")},
    {Cause::OutputExists, QLatin1StringView("output-exists")},
    {Cause::OutputFolderMissing, QLatin1StringView("output-folder-missing")},
    {Cause::NoPermission, QLatin1StringView("no-permission")},
    {Cause::DiskFull, QLatin1StringView("disk-full")},
    {Cause::FfmpegMissing, QLatin1StringView("ffmpeg-missing")},
    {Cause::BadCommandLine, QLatin1StringView("bad-command-line")},
    {Cause::StoppedBySignal, QLatin1StringView("stopped-by-signal")},
    {Cause::EncoderError, QLatin1StringView("encoder-error")},
}};

QLatin1StringView tokenOf(Cause cause)
{
    const auto found = std::find_if(CauseTokens.begin(), CauseTokens.end(),
                                    [cause](const auto &entry) { return entry.first == cause; });
    return found == CauseTokens.end() ? QLatin1StringView("encoder-error") : found->second;
}

Cause causeOf(QStringView token)
{
    const auto found = std::find_if(CauseTokens.begin(), CauseTokens.end(),
                                    [token](const auto &entry) { return entry.second == token; });
    return found == CauseTokens.end() ? Cause::EncoderError : found->first;
}

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

namespace EncoderProtocol {

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

QString failureLine(const QString &encoderName, const Failure &failure)
{
    return encoderName + NameEnd + u'[' + tokenOf(failure.cause) + u"] "_s + failure.reason;
}

std::optional<Failure> failureIn(const QString &lines, const QString &encoderName)
{
    const QString prefix = encoderName + NameEnd;
    const QStringList all = lines.split(u'\n');
    const auto found = std::find_if(all.crbegin(), all.crend(), [&prefix](const QString &line) {
        return line.startsWith(prefix);
    });
    if (found == all.crend())
        return std::nullopt;
    const QString said = found->sliced(prefix.size());
    // Brackets around anything but a token's letters are part of the reason.
    static const QRegularExpression tokenFirst(u"^\\[([-a-z]+)\\] ?"_s);
    const QRegularExpressionMatch token = tokenFirst.match(said);
    if (!token.hasMatch())
        return Failure{Cause::EncoderError, said};
    return Failure{causeOf(token.capturedView(1)), said.sliced(token.capturedLength())};
}

QString percentGroup(int percent)
{
    return PercentOpen + QString::number(percent).rightJustified(2, u' ') + u'%' + PercentClose;
}

QString partFileName(const QString &targetFileName, const QString &tag)
{
    constexpr qsizetype MaxNameBytes = 255;
    const qsizetype dot = targetFileName.lastIndexOf(u'.');
    QString base = dot < 0 ? targetFileName : targetFileName.first(dot);
    const QString tail = PartTag + tag + (dot < 0 ? QString() : targetFileName.sliced(dot));
    while (!base.isEmpty() && QFile::encodeName(u'.' + base + tail).size() > MaxNameBytes)
        base.chop(base.size() > 1 && base.back().isLowSurrogate() ? 2 : 1);
    return u'.' + base + tail;
}

bool isPartFileOf(const QString &name, const QString &targetFileName)
{
    const QString pattern = partFileName(targetFileName, QString(PartTagLength, u'X'));
    const qsizetype tagAt = pattern.lastIndexOf(PartTag) + PartTag.size();
    if (name.size() != pattern.size() || !name.startsWith(pattern.first(tagAt)) ||
        !name.endsWith(pattern.sliced(tagAt + PartTagLength)))
        return false;
    const QStringView tag = QStringView(name).sliced(tagAt, PartTagLength);
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

} // namespace EncoderProtocol
