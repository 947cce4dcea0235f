#pragma once

#include <QChar>

#include <optional>

// How paths are spelled: the folder separator and, where the platform has
// drives, the character that ends a drive name. The path helpers and the
// command builders take it as a parameter, so Windows-style paths can be
// handled on any platform.
struct PathStyle
{
    QChar separator;
    std::optional<QChar> driveEnd;

    // Qt's own spelling on every platform: "/" only.
    static PathStyle native() { return {u'/', std::nullopt}; }

    bool endsFolder(QChar c) const { return c == separator || (driveEnd && c == *driveEnd); }
};
