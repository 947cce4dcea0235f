#pragma once

#include <QList>
#include <QString>

// Finds and ends encoder processes by executable name (letter case ignored).
// Only this program's own descendants are considered, so a second Zenvora or
// a zenvora-cli run by the same user keeps its encoders.
namespace EncoderProcesses {

QList<qint64> findDescendantsNamed(const QString &executableName);
void KillEncoderProcess(const QString &executableName);

} // namespace EncoderProcesses
