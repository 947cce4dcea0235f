#pragma once

#include "JobResult.h"

#include <QString>

// The message at the end of a batch in which jobs failed: which files and
// why, worded by how many failed and how many were converted.
namespace FailureMessage {

QString caption();
QString text(const BatchReport &report);

} // namespace FailureMessage
