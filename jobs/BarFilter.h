#pragma once

#include <QString>
#include <QStringList>

// Turns a filter list written as descriptions and patterns separated by
// bars ("Video|*.avi;*.mp4|所有格式文件(*.*)|*.*") into Qt's name filters
// ("Video (*.avi *.mp4)", "所有格式文件(*.*) (*)"). "*.*" means every file,
// as it does in that notation, also names without a dot. A description
// without a pattern after it is dropped.
QStringList nameFiltersFromBarFilter(const QString &barFilter);
