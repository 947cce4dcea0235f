#include "frmSuggest.h"

#include "FeedbackEndpoint.h"
#include "FeedbackMessage.h"
#include "FeedbackSender.h"
#include "MessageSink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString Caption = u"建议和意见"_s;

} // namespace

frmSuggest::frmSuggest(MessageSink &messages, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_messages(messages),
      m_sender(new FeedbackSender(FeedbackEndpoint::baseUrl(), this))
{
    setObjectName(u"frmSuggest"_s);
    setWindowTitle(Caption);
    setModal(true);
    setFont(QFont(u"Tahoma"_s, 9));
    setFixedSize(286, 140);
    // Qt would take a title bar this dialog has not got off its height.
    if (parent)
        move(parent->geometry().center() - rect().center());
    createTextBoxes();
    createButtons();

    m_lblSending = new QLabel(this);
    m_lblSending->setObjectName(u"lblSending"_s);
    m_lblSending->setGeometry(16, 106, 72, 14);
    m_lblSending->hide();

    connect(m_sender, &FeedbackSender::succeeded, this, &frmSuggest::requestSucceeded);
    connect(m_sender, &FeedbackSender::failed, this, &frmSuggest::requestFailed);
}

frmSuggest *frmSuggest::openNew(MessageSink &messages, QWidget *parent)
{
    auto *form = new frmSuggest(messages, parent);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->open();
    return form;
}

void frmSuggest::createTextBoxes()
{
    createLabel(u"姓名："_s, {30, 22, 36, 14});
    m_txtName = createTextBox(u"txtName"_s, 50, {74, 18, 141, 21});
    m_txtName->setToolTip(u"Your Name"_s);

    createLabel(u"EMAIL："_s, {20, 48, 46, 14});
    m_txtEMail = createTextBox(u"txtEMail"_s, 100, {74, 44, 141, 21});
    m_txtEMail->setToolTip(u"Email"_s);

    createLabel(u"留言："_s, {28, 74, 36, 14});
    m_txtComment = createTextBox(u"txtComment"_s, 256, {74, 70, 189, 21});
}

QLineEdit *frmSuggest::createTextBox(const QString &name, int maxLength, const QRect &place)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setGeometry(place);
    return box;
}

void frmSuggest::createLabel(const QString &text, const QRect &place)
{
    auto *label = new QLabel(text, this);
    label->setGeometry(place);
}

void frmSuggest::createButtons()
{
    auto *command3 = new QPushButton(u"发送"_s, this);
    command3->setObjectName(u"Command3"_s);
    command3->setGeometry(122, 98, 67, 25);
    connect(command3, &QPushButton::clicked, this, &frmSuggest::Command3_Click);

    auto *command4 = new QPushButton(u"返回"_s, this);
    command4->setObjectName(u"Command4"_s);
    command4->setGeometry(198, 98, 65, 25);
    connect(command4, &QPushButton::clicked, this, &frmSuggest::Command4_Click);

    setTabOrder(m_txtName, m_txtEMail);
    setTabOrder(m_txtEMail, m_txtComment);
    setTabOrder(m_txtComment, command3);
    setTabOrder(command3, command4);
}

void frmSuggest::Command1_Click()
{
    if (!textsComplete())
        return;
    showStatus(u"正在发送..."_s);
    m_hiddenSendEnabled = false;
    m_sender->send({m_txtName->text(), m_txtEMail->text(), m_txtComment->text()});
}

void frmSuggest::Command3_Click()
{
    Command1_Click();
}

void frmSuggest::imgSend_Click()
{
    if (m_hiddenSendEnabled)
        Command1_Click();
}

void frmSuggest::Command4_Click()
{
    imgBack_Click();
}

void frmSuggest::imgBack_Click()
{
    reject();
}

void frmSuggest::imgExit_Click()
{
    reject();
}

// Only emptiness is checked: the texts go out as typed, and the first
// empty box is the one the user is sent back to.
bool frmSuggest::textsComplete()
{
    struct Check
    {
        QLineEdit *box;
        QString question;
    };
    const Check checks[] = {
        {m_txtName, u"您的姓名？"_s},
        {m_txtEMail, u"您的Email？"_s},
        {m_txtComment, u"您的意见？"_s},
    };
    for (const Check &check : checks) {
        if (check.box->text().isEmpty()) {
            showStatus(check.question);
            check.box->setFocus(Qt::OtherFocusReason);
            return false;
        }
    }
    return true;
}

void frmSuggest::showStatus(const QString &text)
{
    m_lblSending->setText(text);
    m_lblSending->show();
}

void frmSuggest::requestSucceeded()
{
    showStatus(u"完毕."_s);
}

void frmSuggest::requestFailed(const QString &reason)
{
    showStatus(u"发送失败."_s);
    m_messages.showMessage(u"意见没有发送出去。\n"_s + reason, Caption,
                           MessageSink::Icon::Exclamation);
}
