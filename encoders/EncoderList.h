#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>

// The encoder names in the table "ffmpeg -encoders" prints: a legend, a
// line of dashes, then one encoder per line after its capability flags.
namespace EncoderList {

QSet<QString> parse(const QByteArray &listing);

} // namespace EncoderList
