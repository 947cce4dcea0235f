#pragma once

#include <QStringList>

// Arguments as they would be typed: split at blanks, a run of blanks
// separating as one.
inline QStringList words(const QString &typed)
{
    return typed.split(u' ', Qt::SkipEmptyParts);
}
