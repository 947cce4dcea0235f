#pragma once

#include "encoders/protocol/EncoderProtocol.h"

#include <QString>

// The cause a system error names in words. ffmpeg tells why it failed only
// as text, strerror's text for a failed write, and Qt words the errors of
// its file calls the same way; this is where those words become a cause,
// so that nothing past the encoder reads them.
namespace ErrorWords {

// EncoderError for words that name no cause a person can act on.
EncoderProtocol::FailureCause causeOf(const QString &message);

} // namespace ErrorWords
