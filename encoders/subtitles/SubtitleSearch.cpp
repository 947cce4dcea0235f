#include "encoders/subtitles/SubtitleSearch.h"

#include "encoders/options/TrackChoice.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QStringList SubtitleExtensions{u"srt"_s, u"ass"_s, u"ssa"_s, u"vtt"_s};

// What may stand between the video's name and the extension: a language
// tag such as "zh", "chs", "zh-CN" or "en_US". A longer word ("part2")
// belongs to another video's name.
bool isLanguageTag(const QString &text)
{
    static const QRegularExpression tag(u"^[A-Za-z]{2,3}([-_][A-Za-z0-9]{2,4})?$"_s);
    return tag.match(text).hasMatch();
}

// The language tag of a matching name, empty for "NAME.srt"; nothing when
// the name does not belong to the video.
std::optional<QString> languageOf(const QString &videoBaseName, const QString &name)
{
    const QFileInfo file(name);
    if (!SubtitleExtensions.contains(file.suffix().toLower()))
        return std::nullopt;
    // Names copied from Windows often differ from the video's in case only.
    const QString stem = file.completeBaseName();
    if (stem.compare(videoBaseName, Qt::CaseInsensitive) == 0)
        return QString();
    if (!stem.startsWith(videoBaseName + u'.', Qt::CaseInsensitive))
        return std::nullopt;
    const QString tag = stem.mid(videoBaseName.size() + 1);
    if (!isLanguageTag(tag))
        return std::nullopt;
    return tag;
}

} // namespace

QStringList SubtitleSearch::filesBeside(const QString &videoPath)
{
    const QFileInfo video(videoPath);
    const QDir folder = video.absoluteDir();
    const QStringList candidates = folder.entryList(QDir::Files | QDir::Readable);
    QStringList paths;
    for (const QString &name : matching(video.completeBaseName(), candidates))
        paths.append(folder.filePath(name));
    return paths;
}

QStringList SubtitleSearch::matching(const QString &videoBaseName, const QStringList &names)
{
    QStringList chinese;
    QStringList others;
    for (const QString &name : names) {
        const std::optional<QString> language = languageOf(videoBaseName, name);
        if (language)
            (TrackChoice::isChinese(*language) ? chinese : others).append(name);
    }
    const auto byName = [](const QString &one, const QString &other) {
        return one.compare(other, Qt::CaseInsensitive) < 0;
    };
    std::sort(chinese.begin(), chinese.end(), byName);
    std::sort(others.begin(), others.end(), byName);
    return chinese + others;
}

bool SubtitleSearch::isStyled(const QString &path)
{
    const QString extension = QFileInfo(path).suffix().toLower();
    return extension == u"ass" || extension == u"ssa";
}
