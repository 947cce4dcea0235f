#include "encoders/job/FileCalls.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace FileCalls {

namespace {

RenameResult failure(int errorNumber, QString &error)
{
    if (errorNumber == EEXIST)
        return RenameResult::NameTaken;
    error = QString::fromStdString(std::system_category().message(errorNumber));
    return RenameResult::Failed;
}

// Some file systems (FAT and exFAT through FUSE, ntfs-3g, many shares) can
// neither rename without replacing nor link: the final name is then taken
// by an exclusive create, which never replaces anything, and the finished
// file is renamed over that empty placeholder of its own.
RenameResult reserveThenRename(const QByteArray &from, const QByteArray &to, QString &error)
{
    const int placeholder = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (placeholder < 0)
        return failure(errno, error);
    ::close(placeholder);
    if (::rename(from.constData(), to.constData()) == 0)
        return RenameResult::Renamed;
    const int errorNumber = errno;
    ::unlink(to.constData());
    return failure(errorNumber, error);
}

// A hard link, too, is never made over an existing name. Should the old
// name stay, the new one goes again, so that no file is left twice.
RenameResult linkThenUnlink(const QByteArray &from, const QByteArray &to, QString &error)
{
    if (::link(from.constData(), to.constData()) != 0) {
        if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS)
            return reserveThenRename(from, to, error);
        return failure(errno, error);
    }
    if (::unlink(from.constData()) == 0)
        return RenameResult::Renamed;
    const int errorNumber = errno;
    ::unlink(to.constData());
    return failure(errorNumber, error);
}

} // namespace

RenameResult renameWithoutReplacing(const QString &from, const QString &to, QString &error)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return RenameResult::Renamed;
    // Some file systems (NFS, CIFS, some FUSE ones) cannot rename without
    // replacing; most of them can link.
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)
        return linkThenUnlink(source, target, error);
    return failure(errno, error);
}

std::optional<SourceReference::Stamp> stampOf(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return SourceReference::Stamp{static_cast<qint64>(status.st_size),
                                  static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 +
                                      status.st_mtim.tv_nsec,
                                  static_cast<quint64>(status.st_ino)};
}

} // namespace FileCalls
