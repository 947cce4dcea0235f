#pragma once

#include <QString>

#include <optional>

class QIODevice;

// Reads the positional settings files field by field, one field per line.
// Only a bounded amount is ever read, so a binary or huge file in place of
// a settings file costs nothing and yields no field worth keeping.
class SettingsFieldReader final
{
public:
    // Longer than any folder path a user can have, in UTF-8.
    static constexpr qint64 MaxLineBytes = 8192;

    explicit SettingsFieldReader(QIODevice &device);

    // The next line's field: after leading spaces, a quoted text up to the
    // next quote, or else the text up to the next comma without surrounding
    // spaces. Nothing, now and from then on, when no further line can be
    // read; a line longer than MaxLineBytes ends the reading, since no
    // settings file holds one.
    std::optional<QString> ReadSettingsField();

private:
    std::optional<QString> readLine();

    QIODevice &m_device;
    bool m_exhausted = false;
};
