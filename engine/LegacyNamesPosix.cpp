#include "engine/LegacyNames.h"

#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <memory>

namespace {

bool exists(const QByteArray &path)
{
    struct stat status;
    return ::lstat(path.constData(), &status) == 0;
}

// The first entry of the folder whose name the test accepts.
std::optional<QByteArray> entryOf(const QByteArray &folder,
                                  const std::function<bool(QByteArrayView)> &accepts)
{
    const std::unique_ptr<DIR, int (*)(DIR *)> listing(
        ::opendir(folder.isEmpty() ? "/" : folder.constData()), &::closedir);
    if (!listing)
        return std::nullopt;
    while (const dirent *entry = ::readdir(listing.get())) {
        if (accepts(QByteArrayView(entry->d_name)))
            return QByteArray(entry->d_name);
    }
    return std::nullopt;
}

// Walks the path component by component, finding each on disk: as UTF-8
// when it is there so, otherwise as the folder entry the matcher picks.
// Gives the bytes found and the path as shown, or nothing.
std::optional<std::pair<QByteArray, QString>>
walk(const QString &path, const std::function<bool(QByteArrayView, const QString &)> &matches)
{
    if (!path.startsWith(u'/'))
        return std::nullopt;
    QByteArray bytes;
    QString shown;
    for (const QString &component : path.split(u'/', Qt::SkipEmptyParts)) {
        QByteArray name = QFile::encodeName(component);
        if (!exists(bytes + '/' + name)) {
            const std::optional<QByteArray> found =
                entryOf(bytes, [&](QByteArrayView entry) { return matches(entry, component); });
            if (!found)
                return std::nullopt;
            name = *found;
        }
        bytes += '/' + name;
        shown += u'/' + LegacyNames::decode(name);
    }
    return std::pair{bytes, shown};
}

} // namespace

QString LegacyNames::mended(const QString &path)
{
    if (!path.contains(QChar::ReplacementCharacter))
        return path;
    // Qt's own lossy decoding is what the broken component reads as.
    const auto found = walk(path, [](QByteArrayView entry, const QString &component) {
        return QFile::decodeName(entry.toByteArray()) == component;
    });
    return found ? found->second : path;
}

std::optional<QByteArray> LegacyNames::bytesOf(const QString &path)
{
    const auto found = walk(path, [](QByteArrayView entry, const QString &component) {
        return decode(entry) == component;
    });
    return found ? std::optional(found->first) : std::nullopt;
}

bool LegacyNames::link(const QByteArray &target, const QString &linkPath)
{
    return ::symlink(target.constData(), QFile::encodeName(linkPath).constData()) == 0;
}
