#pragma once

#include "settings/BackgroundMove.h"

#include <QDialog>

class FeedbackSender;
class MessageSink;
class QLabel;
class QLineEdit;

// "建议和意见": the user writes a name, an e-mail address and a comment and
// sends them to the feedback endpoint. The status label says when the
// request is under way, when it arrived and when it did not; the reason of
// a failure goes to the message sink. Nothing is stored.
class frmSuggest final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmSuggest)

public:
    explicit frmSuggest(MessageSink &messages, QWidget *parent = nullptr);

    // Every opening gets a new, empty form: it is modal over its parent,
    // returns at once and deletes itself when closed.
    static frmSuggest *openNew(MessageSink &messages, QWidget *parent = nullptr);

public Q_SLOTS:
    // Checks the three boxes in order, then sends their texts.
    void Command1_Click();
    void Command3_Click();
    // The hidden send entry; it stops working after the first send, while
    // the visible "发送" keeps sending with the current texts.
    void imgSend_Click();
    void Command4_Click();
    void imgBack_Click();
    void imgExit_Click();

private:
    void createTextBoxes();
    QLineEdit *createTextBox(const QString &name, int maxLength, const QRect &place);
    void createLabel(const QString &text, const QRect &place);
    void createButtons();
    bool textsComplete();
    void showStatus(const QString &text);
    void requestSucceeded();
    void requestFailed(const QString &reason);

    MessageSink &m_messages;
    FeedbackSender *m_sender = nullptr;
    QLineEdit *m_txtName = nullptr;
    QLineEdit *m_txtEMail = nullptr;
    QLineEdit *m_txtComment = nullptr;
    QLabel *m_lblSending = nullptr;
    // Stands for the hidden Command1 and imgSend, both disabled by a send.
    bool m_hiddenSendEnabled = true;
    BackgroundMove m_backgroundMove{*this};
};
