#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

#include <chrono>

struct FeedbackMessage;
class QNetworkReply;

// Sends feedback as one HTTP GET and tells whether it arrived. The answer's
// body is never read. When a new request starts before the previous one
// has ended, only the newest decides what is reported; the older one still
// goes out, so nothing the user wrote is dropped.
class FeedbackSender final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FeedbackSender)

public:
    static constexpr std::chrono::milliseconds DefaultTimeout{15000};

    explicit FeedbackSender(QUrl baseUrl, QObject *parent = nullptr,
                            std::chrono::milliseconds timeout = DefaultTimeout);

    // Reports later, never before returning, so callers may update the
    // window first.
    void send(const FeedbackMessage &message);

Q_SIGNALS:
    void succeeded();
    // The reason is a sentence for the user.
    void failed(const QString &reason);

private:
    void reportNotConfigured(quint64 request);
    void finish(QNetworkReply *reply, quint64 request);
    QString failureReason(const QNetworkReply &reply) const;

    QNetworkAccessManager m_network;
    QUrl m_baseUrl;
    std::chrono::milliseconds m_timeout;
    quint64 m_newest = 0;
};
