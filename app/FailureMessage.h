#pragma once

#include "engine/JobResult.h"

#include <QString>

// The message at the end of a batch in which jobs failed: which files and
// why in a person's words, worded by how many failed and how many were
// converted; the encoders' own lines go in the details.
namespace FailureMessage {

QString caption();
// What the progress bar says once a batch has ended: "Done." only when every
// job was converted and nothing was stopped.
QString progressCaption(const BatchReport &report);
QString text(const BatchReport &report);
QString details(const BatchReport &report);

} // namespace FailureMessage
