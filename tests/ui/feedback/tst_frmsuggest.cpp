#include "tests/helpers/RecordingMessageSink.h"
#include "tests/ui/feedback/LoopbackHttpServer.h"
#include "ui/feedback/frmSuggest.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString Sending = u"正在发送..."_s;
const QString Done = u"完毕."_s;
const QString Failed = u"发送失败."_s;

struct Texts
{
    QString name;
    QString email;
    QString comment;
};

} // namespace

Q_DECLARE_METATYPE(Texts)

class tst_frmSuggest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void formAsDesigned();
    void tabOrder();
    void lengthLimits_data();
    void lengthLimits();
    void validation_data();
    void validation();
    void sendsTypedTexts();
    void failureIsToldNotDone_data();
    void failureIsToldNotDone();
    void resendUsesCurrentTexts();
    void leaving_data();
    void leaving();
    void freshFormOnEveryOpening();

private:
    QLineEdit *box(const QString &name) const { return m_form->findChild<QLineEdit *>(name); }
    QLabel *lblSending() const { return m_form->findChild<QLabel *>(u"lblSending"_s); }
    void fill(const Texts &texts) const;
    void click(const QString &button) const;
    void openForm(const QUrl &endpoint);

    std::unique_ptr<LoopbackHttpServer> m_server;
    RecordingMessageSink m_sink;
    QPointer<frmSuggest> m_form;
};

void tst_frmSuggest::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void tst_frmSuggest::init()
{
    m_sink.messages.clear();
    m_server = std::make_unique<LoopbackHttpServer>();
    QVERIFY(m_server->listen());
    openForm(m_server->baseUrl());
}

void tst_frmSuggest::cleanup()
{
    delete m_form;
    m_server.reset();
}

void tst_frmSuggest::openForm(const QUrl &endpoint)
{
    delete m_form;
    qputenv("ZENVORA_FEEDBACK_URL", endpoint.toEncoded());
    m_form = frmSuggest::openNew(m_sink);
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void tst_frmSuggest::fill(const Texts &texts) const
{
    box(u"txtName"_s)->setText(texts.name);
    box(u"txtEMail"_s)->setText(texts.email);
    box(u"txtComment"_s)->setText(texts.comment);
}

void tst_frmSuggest::click(const QString &button) const
{
    QTest::mouseClick(m_form->findChild<QPushButton *>(button), Qt::LeftButton);
}

void tst_frmSuggest::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QRect>("place");

    QTest::newRow("txtName") << u"txtName"_s << QString() << u"Your Name"_s
                             << QRect(74, 18, 141, 21);
    QTest::newRow("txtEMail") << u"txtEMail"_s << QString() << u"Email"_s << QRect(74, 44, 141, 21);
    QTest::newRow("txtComment") << u"txtComment"_s << QString() << QString()
                                << QRect(74, 70, 189, 21);
    QTest::newRow("Command3") << u"Command3"_s << u"发送"_s << QString() << QRect(122, 98, 67, 25);
    QTest::newRow("Command4") << u"Command4"_s << u"返回"_s << QString() << QRect(198, 98, 65, 25);
}

void tst_frmSuggest::controlsAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(QRect, place);

    auto *control = m_form->findChild<QWidget *>(name);
    QVERIFY(control);
    QVERIFY(control->isVisible());
    QCOMPARE(control->geometry(), place);
    QCOMPARE(control->toolTip(), toolTip);
    if (auto *button = qobject_cast<QPushButton *>(control))
        QCOMPARE(button->text(), text);
    else
        QCOMPARE(qobject_cast<QLineEdit *>(control)->text(), text);
}

void tst_frmSuggest::formAsDesigned()
{
    QCOMPARE(m_form->windowTitle(), u"建议和意见"_s);
    QVERIFY(m_form->isModal());
    QVERIFY(m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(m_form->size(), QSize(286, 140));
    QStringList captions;
    for (const QLabel *label : m_form->findChildren<QLabel *>())
        if (label != lblSending())
            captions << label->text();
    QCOMPARE(captions, (QStringList{u"姓名："_s, u"EMAIL："_s, u"留言："_s}));
    QVERIFY(!lblSending()->isVisible());
}

void tst_frmSuggest::tabOrder()
{
    QApplication::setActiveWindow(m_form);
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QCOMPARE(QApplication::focusWidget(), box(u"txtName"_s));

    QStringList visited;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, (QStringList{u"txtEMail"_s, u"txtComment"_s, u"Command3"_s, u"Command4"_s,
                                   u"txtName"_s}));
}

void tst_frmSuggest::lengthLimits_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("limit");

    QTest::newRow("name") << u"txtName"_s << 50;
    QTest::newRow("e-mail") << u"txtEMail"_s << 100;
    QTest::newRow("comment") << u"txtComment"_s << 256;
}

void tst_frmSuggest::lengthLimits()
{
    QFETCH(QString, name);
    QFETCH(int, limit);

    QTest::keyClicks(box(name), QString(limit + 5, u'x'));

    QCOMPARE(box(name)->text(), QString(limit, u'x'));
}

void tst_frmSuggest::validation_data()
{
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("focus");

    QTest::newRow("all empty asks for the name first")
        << Texts{} << u"您的姓名？"_s << u"txtName"_s;
    QTest::newRow("name missing, others filled")
        << Texts{{}, u"e"_s, u"c"_s} << u"您的姓名？"_s << u"txtName"_s;
    QTest::newRow("e-mail missing")
        << Texts{u"n"_s, {}, u"c"_s} << u"您的Email？"_s << u"txtEMail"_s;
    QTest::newRow("e-mail and comment missing")
        << Texts{u"n"_s, {}, {}} << u"您的Email？"_s << u"txtEMail"_s;
    QTest::newRow("comment missing")
        << Texts{u"n"_s, u"e"_s, {}} << u"您的意见？"_s << u"txtComment"_s;
    QTest::newRow("a blank is not empty")
        << Texts{u" "_s, u" "_s, {}} << u"您的意见？"_s << u"txtComment"_s;
}

void tst_frmSuggest::validation()
{
    QFETCH(Texts, texts);
    QFETCH(QString, question);
    QFETCH(QString, focus);

    fill(texts);
    click(u"Command3"_s);

    QVERIFY(lblSending()->isVisible());
    QCOMPARE(lblSending()->text(), question);
    QCOMPARE(m_form->focusWidget()->objectName(), focus);
    QTest::qWait(300);
    QCOMPARE(m_server->requests.size(), 0);
    QCOMPARE(lblSending()->text(), question);

    // A refused send leaves the hidden send entry working.
    fill({u"n"_s, u"e"_s, u"c"_s});
    m_form->imgSend_Click();
    QTRY_COMPARE(m_server->requests.size(), 1);
}

void tst_frmSuggest::sendsTypedTexts()
{
    m_server->setStatus(0);
    QTest::keyClicks(box(u"txtName"_s), u"Li & Co"_s);
    box(u"txtEMail"_s)->setText(u"李@例子.中国"_s);
    QTest::keyClicks(box(u"txtComment"_s), u"a=b+c #1"_s);

    click(u"Command3"_s);
    QCOMPARE(lblSending()->text(), Sending);
    QVERIFY(lblSending()->isVisible());
    QTRY_COMPARE(m_server->requests.size(), 1);
    QCOMPARE(lblSending()->text(), Sending);

    m_server->answer(0, 200);
    QTRY_COMPARE(lblSending()->text(), Done);
    QCOMPARE(m_sink.messages.size(), 0);
    const LoopbackHttpServer::Request &request = m_server->requests.first();
    QCOMPARE(request.path(), "/suggest/post.php");
    const QList<QPair<QString, QString>> expected{{u"name"_s, u"Li & Co"_s},
                                                  {u"age"_s, u"李@例子.中国"_s},
                                                  {u"comment"_s, u"(MP4)a=b+c #1"_s}};
    QCOMPARE(request.fields(), expected);
}

void tst_frmSuggest::failureIsToldNotDone_data()
{
    QTest::addColumn<QUrl>("endpoint"); // empty: the test's server
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("reason");

    QTest::newRow("HTTP 500") << QUrl() << 500 << u"HTTP 500"_s;
    QTest::newRow("connection refused")
        << LoopbackHttpServer::refusingUrl() << 200 << u"拒绝了连接"_s;
    QTest::newRow("no endpoint configured")
        << QUrl(u"http://feedback.zenvora.invalid/"_s) << 200 << u"不能在线发送反馈"_s;
}

void tst_frmSuggest::failureIsToldNotDone()
{
    QFETCH(QUrl, endpoint);
    QFETCH(int, status);
    QFETCH(QString, reason);

    if (!endpoint.isEmpty())
        openForm(endpoint);
    m_server->setStatus(status);
    fill({u"n"_s, u"e"_s, u"c"_s});

    click(u"Command3"_s);
    QCOMPARE(lblSending()->text(), Sending);

    QTRY_COMPARE(lblSending()->text(), Failed);
    QCOMPARE(m_sink.messages.size(), 1);
    const RecordingMessageSink::Message &message = m_sink.messages.first();
    QVERIFY2(message.text.contains(reason), qPrintable(message.text));
    QCOMPARE(message.caption, u"建议和意见"_s);
    QCOMPARE(message.icon, MessageSink::Icon::Exclamation);

    click(u"Command4"_s);
    QTRY_VERIFY(m_form.isNull());
}

void tst_frmSuggest::resendUsesCurrentTexts()
{
    fill({u"n"_s, u"e"_s, u"first"_s});
    click(u"Command3"_s);
    QTRY_COMPARE(lblSending()->text(), Done);

    // The hidden send entry is off after a send ...
    box(u"txtComment"_s)->setText(u"hidden"_s);
    m_form->imgSend_Click();
    QTest::qWait(300);
    QCOMPARE(m_server->requests.size(), 1);
    QCOMPARE(lblSending()->text(), Done);

    // ... the visible one sends again, checks included.
    box(u"txtEMail"_s)->clear();
    click(u"Command3"_s);
    QCOMPARE(lblSending()->text(), u"您的Email？"_s);
    fill({u"n2"_s, u"e2"_s, u"second"_s});
    click(u"Command3"_s);
    QCOMPARE(lblSending()->text(), Sending);
    QTRY_COMPARE(m_server->requests.size(), 2);
    QTRY_COMPARE(lblSending()->text(), Done);
    const QList<QPair<QString, QString>> expected{
        {u"name"_s, u"n2"_s}, {u"age"_s, u"e2"_s}, {u"comment"_s, u"(MP4)second"_s}};
    QCOMPARE(m_server->requests.at(1).fields(), expected);
}

void tst_frmSuggest::leaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("whileSending");

    for (const bool sending : {false, true}) {
        const char *suffix = sending ? " while sending" : "";
        for (const QString &how : {u"Command4"_s, u"imgBack"_s, u"imgExit"_s, u"Escape"_s})
            QTest::addRow("%s%s", qPrintable(how), suffix) << how << sending;
    }
}

void tst_frmSuggest::leaving()
{
    QFETCH(QString, how);
    QFETCH(bool, whileSending);

    if (whileSending) {
        m_server->setStatus(0);
        fill({u"n"_s, u"e"_s, u"c"_s});
        click(u"Command3"_s);
        QTRY_COMPARE(m_server->requests.size(), 1);
    }

    if (how == u"Command4"_s)
        click(how);
    else if (how == u"imgBack"_s)
        m_form->imgBack_Click();
    else if (how == u"imgExit"_s)
        m_form->imgExit_Click();
    else
        QTest::keyClick(m_form, Qt::Key_Escape);

    QTRY_VERIFY(m_form.isNull());
    if (whileSending)
        m_server->answer(0, 200);
    QTest::qWait(100);
    QCOMPARE(m_sink.messages.size(), 0);
}

void tst_frmSuggest::freshFormOnEveryOpening()
{
    fill({u"n"_s, u"e"_s, u"c"_s});
    click(u"Command3"_s);
    QTRY_COMPARE(lblSending()->text(), Done);
    const QPointer<frmSuggest> first = m_form;
    click(u"Command4"_s);
    QTRY_VERIFY(first.isNull());

    openForm(m_server->baseUrl());
    for (const QString &name : {u"txtName"_s, u"txtEMail"_s, u"txtComment"_s})
        QVERIFY2(box(name)->text().isEmpty(), qPrintable(name));
    QVERIFY(!lblSending()->isVisible());
    // The hidden send entry is back on.
    fill({u"n"_s, u"e"_s, u"again"_s});
    m_form->imgSend_Click();
    QTRY_COMPARE(m_server->requests.size(), 2);
    QTRY_COMPARE(lblSending()->text(), Done);
}

QTEST_MAIN(tst_frmSuggest)
#include "tst_frmsuggest.moc"
