#include "tests/ui/feedback/LoopbackHttpServer.h"
#include "ui/feedback/FeedbackEndpoint.h"
#include "ui/feedback/FeedbackMessage.h"
#include "ui/feedback/FeedbackSender.h"

#include <QNetworkProxy>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

using Fields = QList<QPair<QString, QString>>;

class tst_FeedbackSender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void requestPath_data();
    void requestPath();
    void baseUrlFromEnvironment_data();
    void baseUrlFromEnvironment();
    void valuesArriveIntact_data();
    void valuesArriveIntact();
    void failure_data();
    void failure();
    void newestRequestDecides_data();
    void newestRequestDecides();
};

void tst_FeedbackSender::initTestCase()
{
    // A proxy from the environment must not stand between us and loopback.
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void tst_FeedbackSender::requestPath_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("path");

    QTest::newRow("host with slash") << u"http://example.test/"_s << u"/suggest/post.php"_s;
    QTest::newRow("host without slash") << u"http://example.test"_s << u"/suggest/post.php"_s;
    QTest::newRow("folder with slash")
        << u"http://example.test/zen/"_s << u"/zen/suggest/post.php"_s;
    QTest::newRow("folder without slash keeps the folder")
        << u"http://example.test/a/zen"_s << u"/a/zen/suggest/post.php"_s;
}

void tst_FeedbackSender::requestPath()
{
    QFETCH(QString, base);
    QFETCH(QString, path);

    const QUrl url = FeedbackEndpoint::requestUrl(QUrl(base), {u"n"_s, u"e"_s, u"c"_s});

    QCOMPARE(url.path(), path);
    QCOMPARE(url.host(), u"example.test"_s);
    QCOMPARE(url.query(QUrl::FullyEncoded), u"name=n&age=e&comment=%28MP4%29c"_s);
}

void tst_FeedbackSender::baseUrlFromEnvironment_data()
{
    QTest::addColumn<QByteArray>("environment");
    QTest::addColumn<QUrl>("expected");

    const QUrl configured(QStringLiteral(ZENVORA_FEEDBACK_URL_DEFAULT));
    QTest::newRow("unset uses the build option") << QByteArray() << configured;
    QTest::newRow("empty uses the build option") << QByteArray("") << configured;
    QTest::newRow("set overrides")
        << QByteArray("http://127.0.0.1:8080/fb/") << QUrl(u"http://127.0.0.1:8080/fb/"_s);
}

void tst_FeedbackSender::baseUrlFromEnvironment()
{
    QFETCH(QByteArray, environment);
    QFETCH(QUrl, expected);

    if (environment.isNull())
        qunsetenv("ZENVORA_FEEDBACK_URL");
    else
        qputenv("ZENVORA_FEEDBACK_URL", environment);

    QCOMPARE(FeedbackEndpoint::baseUrl(), expected);
    qunsetenv("ZENVORA_FEEDBACK_URL");
}

void tst_FeedbackSender::valuesArriveIntact_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("comment");

    QTest::newRow("plain") << u"Li"_s << u"li@example.com"_s << u"good"_s;
    QTest::newRow("chinese") << u"张三"_s << u"张三@例子.中国"_s << u"很好用，谢谢！"_s;
    QTest::newRow("ampersand and equals cannot add keys")
        << u"a&age=x"_s << u"b=c&d"_s << u"x&name=evil&comment=y"_s;
    QTest::newRow("plus, hash and percent") << u"C++"_s << u"a+b@c.d"_s << u"#1 100%25 %zz"_s;
    QTest::newRow("spaces kept, nothing trimmed") << u" Li Lei "_s << u" e "_s << u"  two  "_s;
    QTest::newRow("e-mail without an at sign") << u"n"_s << u"no address"_s << u"c"_s;
}

void tst_FeedbackSender::valuesArriveIntact()
{
    QFETCH(QString, name);
    QFETCH(QString, email);
    QFETCH(QString, comment);

    LoopbackHttpServer server;
    QVERIFY(server.listen());
    FeedbackSender sender(server.baseUrl());
    QSignalSpy succeeded(&sender, &FeedbackSender::succeeded);
    QSignalSpy failed(&sender, &FeedbackSender::failed);

    sender.send({name, email, comment});

    QVERIFY(succeeded.wait());
    QCOMPARE(failed.count(), 0);
    QCOMPARE(server.requests.size(), 1);
    const LoopbackHttpServer::Request &request = server.requests.first();
    QCOMPARE(request.method, "GET");
    QCOMPARE(request.path(), "/suggest/post.php");
    const Fields expected{
        {u"name"_s, name}, {u"age"_s, email}, {u"comment"_s, u"(MP4)"_s + comment}};
    QCOMPARE(request.fields(), expected);
}

void tst_FeedbackSender::failure_data()
{
    QTest::addColumn<QUrl>("base");
    QTest::addColumn<int>("status"); // 0: the server never answers
    QTest::addColumn<QString>("reason");

    QTest::newRow("HTTP 500") << QUrl() << 500 << u"反馈服务器回答了 HTTP 500。"_s;
    QTest::newRow("HTTP 404") << QUrl() << 404 << u"反馈服务器回答了 HTTP 404。"_s;
    QTest::newRow("connection refused")
        << LoopbackHttpServer::refusingUrl() << 200 << u"反馈服务器 127.0.0.1 拒绝了连接。"_s;
    QTest::newRow("no answer in time") << QUrl() << 0 << u"反馈服务器 1 秒内没有回应。"_s;
    QTest::newRow("build without an endpoint")
        << QUrl(u"http://feedback.zenvora.invalid/"_s) << 200
        << u"这个版本不能在线发送反馈，请通过我们的网站联系我们。"_s;
}

void tst_FeedbackSender::failure()
{
    QFETCH(QUrl, base);
    QFETCH(int, status);
    QFETCH(QString, reason);

    LoopbackHttpServer server;
    QVERIFY(server.listen());
    server.setStatus(status);
    FeedbackSender sender(base.isEmpty() ? server.baseUrl() : base, nullptr, 1s);
    QSignalSpy succeeded(&sender, &FeedbackSender::succeeded);
    QSignalSpy failed(&sender, &FeedbackSender::failed);

    // Sent twice in a row, as by a double click: told once.
    sender.send({u"n"_s, u"e"_s, u"c"_s});
    sender.send({u"n"_s, u"e"_s, u"c"_s});

    QVERIFY(failed.wait(10000));
    QTest::qWait(200);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), reason);
    QCOMPARE(succeeded.count(), 0);
}

void tst_FeedbackSender::newestRequestDecides_data()
{
    QTest::addColumn<int>("olderStatus");
    QTest::addColumn<int>("newerStatus");
    QTest::addColumn<bool>("newerFirst");

    QTest::newRow("older fails after the newer arrived") << 500 << 200 << true;
    QTest::newRow("older arrives before the newer fails") << 200 << 500 << false;
}

// Both requests reach the server; only the newer one's outcome is told.
void tst_FeedbackSender::newestRequestDecides()
{
    QFETCH(int, olderStatus);
    QFETCH(int, newerStatus);
    QFETCH(bool, newerFirst);

    LoopbackHttpServer server;
    QVERIFY(server.listen());
    server.setStatus(0);
    FeedbackSender sender(server.baseUrl());
    QSignalSpy succeeded(&sender, &FeedbackSender::succeeded);
    QSignalSpy failed(&sender, &FeedbackSender::failed);

    sender.send({u"n"_s, u"e"_s, u"older"_s});
    QTRY_COMPARE(server.requests.size(), 1);
    sender.send({u"n"_s, u"e"_s, u"newer"_s});
    QTRY_COMPARE(server.requests.size(), 2);

    server.answer(newerFirst ? 1 : 0, newerFirst ? newerStatus : olderStatus);
    QTest::qWait(200);
    server.answer(newerFirst ? 0 : 1, newerFirst ? olderStatus : newerStatus);
    QSignalSpy &expected = newerStatus == 200 ? succeeded : failed;
    QTRY_COMPARE(expected.count(), 1);
    QTest::qWait(200);

    QCOMPARE(succeeded.count() + failed.count(), 1);
    QCOMPARE(server.requests.at(0).fields().value(2).second, u"(MP4)older"_s);
    QCOMPARE(server.requests.at(1).fields().value(2).second, u"(MP4)newer"_s);
}

QTEST_GUILESS_MAIN(tst_FeedbackSender)
#include "tst_feedbacksender.moc"
