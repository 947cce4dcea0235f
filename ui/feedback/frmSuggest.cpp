#include "ui/feedback/frmSuggest.h"

#include "engine/ports/MessageSink.h"
#include "ui/feedback/FeedbackEndpoint.h"
#include "ui/feedback/FeedbackMessage.h"
#include "ui/feedback/FeedbackSender.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

frmSuggest::frmSuggest(MessageSink &messages, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_messages(messages),
      m_sender(new FeedbackSender(FeedbackEndpoint::baseUrl(), this))
{
    setObjectName(u"frmSuggest"_s);
    setWindowTitle(tr("建议和意见"));
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
    m_lblSending->setGeometry(16, 106, 100, 14);
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
    createLabel(tr("姓名："), {8, 22, 58, 14});
    m_txtName = createTextBox(u"txtName"_s, 50, {74, 18, 141, 21});
    m_txtName->setToolTip(tr("Your Name"));

    createLabel(tr("EMAIL："), {8, 48, 58, 14});
    m_txtEMail = createTextBox(u"txtEMail"_s, 100, {74, 44, 141, 21});
    m_txtEMail->setToolTip(tr("Email"));

    createLabel(tr("留言："), {8, 74, 56, 14});
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

// The labels end where their boxes begin, however long their texts.
void frmSuggest::createLabel(const QString &text, const QRect &place)
{
    auto *label = new QLabel(text, this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(place);
}

void frmSuggest::createButtons()
{
    auto *command3 = new QPushButton(tr("发送"), this);
    command3->setObjectName(u"Command3"_s);
    command3->setGeometry(122, 98, 67, 25);
    connect(command3, &QPushButton::clicked, this, &frmSuggest::Command3_Click);

    auto *command4 = new QPushButton(tr("返回"), this);
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
    showStatus(tr("正在发送..."));
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
        {m_txtName, tr("您的姓名？")},
        {m_txtEMail, tr("您的Email？")},
        {m_txtComment, tr("您的意见？")},
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
    showStatus(tr("完毕."));
}

void frmSuggest::requestFailed(const QString &reason)
{
    showStatus(tr("发送失败."));
    m_messages.showMessage(tr("意见没有发送出去。\n") + reason, tr("建议和意见"),
                           MessageSink::Icon::Exclamation);
}
