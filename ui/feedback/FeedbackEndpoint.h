#pragma once

#include <QUrl>

struct FeedbackMessage;

// Where feedback goes and the address of one request.
class FeedbackEndpoint final
{
public:
    // The environment variable ZENVORA_FEEDBACK_URL when it is set and not
    // empty, otherwise the address the build was configured with.
    static QUrl baseUrl();

    // "suggest/post.php" under the base address, with the keys "name",
    // "age" (the e-mail address) and "comment" (always starting "(MP4)").
    // Every value is percent-encoded, so no text can add or break a key.
    static QUrl requestUrl(const QUrl &base, const FeedbackMessage &message);

    // A host under the reserved .invalid domain never resolves: the build
    // was not given a real endpoint.
    static bool isConfigured(const QUrl &base);
};
