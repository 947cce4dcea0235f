#include "jobs/FolderListing.h"

#include "engine/LegacyNames.h"

#include <QFile>
#include <QStringDecoder>
#include <QUtf8StringView>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace {

enum class Kind
{
    File,
    Folder,
    LinkToFolder
};

bool isFolder(const QByteArray &path, bool followLink)
{
    struct stat status;
    const int result =
        followLink ? ::stat(path.constData(), &status) : ::lstat(path.constData(), &status);
    return result == 0 && S_ISDIR(status.st_mode);
}

// Most file systems give the type with the name; the others need a look.
Kind kindOf(const dirent &entry, const QByteArray &nativeFolder)
{
    const auto path = [&] { return nativeFolder + '/' + entry.d_name; };
    switch (entry.d_type) {
    case DT_DIR:
        return Kind::Folder;
    case DT_LNK:
        return isFolder(path(), true) ? Kind::LinkToFolder : Kind::File;
    case DT_UNKNOWN: {
        const QByteArray full = path();
        if (isFolder(full, false))
            return Kind::Folder;
        return isFolder(full, true) ? Kind::LinkToFolder : Kind::File;
    }
    default:
        return Kind::File;
    }
}

// The folder, "/" and the name, decoded the way Qt decodes file names on
// this system, in one allocation: this runs for every file found.
QString joined(const QString &folder, const char *name, QStringDecoder &decoder)
{
    const QByteArrayView bytes(name);
    // A name never has more UTF-16 units than bytes.
    QString path(folder.size() + 1 + bytes.size(), Qt::Uninitialized);
    QChar *end = std::copy(folder.cbegin(), folder.cend(), path.data());
    *end++ = u'/';
    end = decoder.appendToBuffer(end, bytes);
    path.truncate(end - path.constData());
    return path;
}

} // namespace

QStringList listFolderPosix(const QString &folder, const FileFound &found,
                            const std::stop_token &stop)
{
    QByteArray nativeFolder = QFile::encodeName(folder);
    std::unique_ptr<DIR, int (*)(DIR *)> listing(::opendir(nativeFolder.constData()), &::closedir);
    // A folder shown by the GB18030 reading of its name is opened by its bytes.
    if (!listing) {
        if (const std::optional<QByteArray> bytes = LegacyNames::bytesOf(folder)) {
            nativeFolder = *bytes;
            listing.reset(::opendir(nativeFolder.constData()));
        }
    }
    QStringList subfolders;
    if (!listing)
        return subfolders;
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    while (!stop.stop_requested()) {
        const dirent *entry = ::readdir(listing.get());
        if (!entry)
            break;
        if (const QByteArrayView name(entry->d_name); name == "." || name == "..")
            continue;
        const Kind kind = kindOf(*entry, nativeFolder);
        const QString path = QUtf8StringView(entry->d_name).isValidUtf8()
                                 ? joined(folder, entry->d_name, decoder)
                                 : folder + u'/' + LegacyNames::decode(entry->d_name);
        if (kind == Kind::File)
            found(path);
        else if (kind == Kind::Folder)
            subfolders.append(path);
    }
    return subfolders;
}
