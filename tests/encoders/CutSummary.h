#pragma once

#include "encoders/options/EncodeRequest.h"

#include <QString>

// A request's cut for a summary line: only a request that cuts says so, so
// the other rows stay as they are.
inline QString cutSummary(const EncodeRequest::Cut &cut)
{
    return cut.cuts() ? QStringLiteral(" cut=%1+%2")
                            .arg(cut.startSeconds)
                            .arg(cut.lengthSeconds ? QString::number(*cut.lengthSeconds)
                                                   : QStringLiteral("-"))
                      : QString();
}
