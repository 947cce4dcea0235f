#include "ui/feedback/FeedbackEndpoint.h"

#include "ui/feedback/FeedbackMessage.h"

#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace {

// Everything but the unreserved characters is escaped; QUrlQuery alone
// would leave "+" as it is, which servers read as a space.
QString encoded(const QString &value)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(value));
}

// A base without a trailing slash still names a folder, so the script is
// placed inside it rather than replacing its last segment.
QUrl asFolder(QUrl base)
{
    if (!base.path().endsWith(u'/'))
        base.setPath(base.path() + u'/');
    return base;
}

} // namespace

QUrl FeedbackEndpoint::baseUrl()
{
    const QString configured = qEnvironmentVariable("ZENVORA_FEEDBACK_URL");
    return QUrl(configured.isEmpty() ? QStringLiteral(ZENVORA_FEEDBACK_URL_DEFAULT) : configured);
}

QUrl FeedbackEndpoint::requestUrl(const QUrl &base, const FeedbackMessage &message)
{
    QUrlQuery query;
    query.addQueryItem(u"name"_s, encoded(message.name));
    query.addQueryItem(u"age"_s, encoded(message.email));
    query.addQueryItem(u"comment"_s, encoded(u"(MP4)"_s + message.comment));
    QUrl url = asFolder(base).resolved(QUrl(u"suggest/post.php"_s));
    url.setQuery(query);
    return url;
}

bool FeedbackEndpoint::isConfigured(const QUrl &base)
{
    const QString host = base.host();
    return host != u"invalid"_s && !host.endsWith(u".invalid"_s);
}
