#include "ui/feedback/FeedbackSender.h"

#include "ui/feedback/FeedbackEndpoint.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

using namespace Qt::StringLiterals;

FeedbackSender::FeedbackSender(QUrl baseUrl, QObject *parent, std::chrono::milliseconds timeout)
    : QObject(parent), m_baseUrl(std::move(baseUrl)), m_timeout(timeout)
{
}

void FeedbackSender::send(const FeedbackMessage &message)
{
    const quint64 request = ++m_newest;
    if (!FeedbackEndpoint::isConfigured(m_baseUrl)) {
        QMetaObject::invokeMethod(
            this, [this, request] { reportNotConfigured(request); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest get(FeedbackEndpoint::requestUrl(m_baseUrl, message));
    get.setTransferTimeout(static_cast<int>(m_timeout.count()));
    QNetworkReply *reply = m_network.get(get);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, request] { finish(reply, request); });
}

void FeedbackSender::reportNotConfigured(quint64 request)
{
    if (request == m_newest)
        Q_EMIT failed(tr("这个版本不能在线发送反馈，请通过我们的网站联系我们。"));
}

void FeedbackSender::finish(QNetworkReply *reply, quint64 request)
{
    reply->deleteLater();
    if (request != m_newest)
        return;
    if (reply->error() == QNetworkReply::NoError)
        Q_EMIT succeeded();
    else
        Q_EMIT failed(failureReason(*reply));
}

QString FeedbackSender::failureReason(const QNetworkReply &reply) const
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && status.toInt() >= 400)
        return tr("反馈服务器回答了 HTTP %1。").arg(status.toInt());
    switch (reply.error()) {
    case QNetworkReply::ConnectionRefusedError:
        return tr("反馈服务器 %1 拒绝了连接。").arg(m_baseUrl.host());
    case QNetworkReply::HostNotFoundError:
        return tr("找不到反馈服务器 %1。").arg(m_baseUrl.host());
    // A transfer timeout aborts the request; nothing else here cancels one.
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return tr("反馈服务器 %1 秒内没有回应。")
            .arg(std::chrono::duration_cast<std::chrono::seconds>(m_timeout).count());
    default:
        return tr("网络错误：%1").arg(reply.errorString());
    }
}
