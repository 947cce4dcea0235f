#pragma once

#include <QString>

// What the encoders tell the program that runs them, written by the
// encoders and read by the program through these same functions: the file a
// conversion was saved to, the line that says why one failed, and the
// hidden part name a conversion is written under until it is checked.
namespace EncoderOutput {

// "Saved to: <path>", the encoders' last line on success. A line break or
// other control character in the name, and the percent sign itself, are
// written as "%0A", "%25", ... so that any name fits on one line.
QString savedLine(const QString &path);
// The path of the last such line that starts a line; empty without one.
QString savedPath(const QString &output);

// "<encoder>: <reason>", the line an encoder ends with when it fails.
QString failureLine(const QString &encoderName, const QString &reason);
// The last of the lines that is the encoder's own failure line; empty when
// it said nothing of the kind.
QString failureLineIn(const QString &lines, const QString &encoderName);

// The base of a part name: the part name is 13 bytes longer than its
// target's, so for a name near the file system's limit of 255 bytes the base
// is shortened until it fits.
QString partBaseOf(const QString &base, const QString &suffix);
// Whether name is a part file of the target ".clip.part-a1B2c3.mp4".
bool isPartFileOf(const QString &name, const QString &targetFileName);
// Removes the part files beside the target that a killed encoder left.
void removePartFilesOf(const QString &targetPath);

} // namespace EncoderOutput
