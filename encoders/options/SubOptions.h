#pragma once

#include <QList>
#include <QPair>
#include <QString>

// MEncoder's "key=value:key=value" sub-option lists (-lavcopts, -lameopts,
// -lavfopts). A key without "=" is a flag with an empty value.
namespace SubOptions {

QList<QPair<QString, QString>> split(const QString &text);

} // namespace SubOptions
