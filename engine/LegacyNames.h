#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// File names that are not UTF-8: files from old Windows archives and CDs
// often carry GBK (GB18030) bytes. Qt turns such bytes into U+FFFD, which
// names no file. Here they are shown decoded as GB18030, or with each byte
// that reads as neither written "%XX", and found again by their real bytes
// on disk, one folder level at a time.
class LegacyNames final
{
public:
    // How a name's bytes are shown: UTF-8 as it is, else GB18030 when the
    // bytes read as that, else UTF-8 with every bad byte as "%XX".
    static QString decode(QByteArrayView bytes);

    // A path as the user sees it, with any component that Qt could not
    // decode (it holds U+FFFD) replaced by its name on disk as decode()
    // shows it; the path unchanged when there is nothing to mend.
    static QString mended(const QString &path);

    // The bytes of the file a shown path names: each component is taken as
    // UTF-8 when the file system has it so, and otherwise as the entry of
    // its folder that decode() shows by that name. Nothing when some
    // component cannot be found.
    static std::optional<QByteArray> bytesOf(const QString &path);

    // Makes a link at linkPath, a name in UTF-8, to the file of those bytes.
    static bool link(const QByteArray &target, const QString &linkPath);
};
