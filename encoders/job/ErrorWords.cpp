#include "encoders/job/ErrorWords.h"

#include <array>
#include <utility>

namespace ErrorWords {

EncoderProtocol::FailureCause causeOf(const QString &message)
{
    using Cause = EncoderProtocol::FailureCause;
    // ENOSPC, EDQUOT, EACCES and EROFS as strerror words them in English,
    // the language of ffmpeg and of Qt's own error strings.
    static const std::array<std::pair<QLatin1StringView, Cause>, 4> words{{
        {QLatin1StringView("No space left on device"), Cause::DiskFull},
        {QLatin1StringView("Disk quota exceeded"), Cause::DiskFull},
        {QLatin1StringView("Permission denied"), Cause::NoPermission},
        {QLatin1StringView("Read-only file system"), Cause::NoPermission},
    }};
    for (const auto &[text, cause] : words) {
        if (message.contains(text))
            return cause;
    }
    return Cause::EncoderError;
}

} // namespace ErrorWords
