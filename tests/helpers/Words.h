#pragma once

#include <QStringList>

#include <algorithm>

// Arguments as they would be typed: split at blanks, a run of blanks
// separating as one.
inline QStringList words(const QString &typed)
{
    return typed.split(u' ', Qt::SkipEmptyParts);
}

// Chinese characters and punctuation, which no English text shows.
inline bool hasChinese(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return (c.unicode() >= 0x3000 && c.unicode() <= 0x9fff) ||
               (c.unicode() >= 0xff00 && c.unicode() <= 0xffef);
    });
}
