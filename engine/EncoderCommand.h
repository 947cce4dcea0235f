#pragma once

#include <QString>
#include <QStringList>

// An encoder command as a program and its argument list, together with the
// one-line text a user or a test reads. Free text is split at blanks into
// arguments; paths stay one argument each whatever characters they hold, so
// no file name can break or extend a command.
class EncoderCommand final
{
public:
    EncoderCommand() = default;
    explicit EncoderCommand(const QString &program);

    EncoderCommand &appendText(const QString &text);
    EncoderCommand &appendQuotedPath(const QString &path);
    EncoderCommand &appendBarePath(const QString &path);

    QString program() const { return m_program; }
    QStringList arguments() const;
    // The program unquoted, then every fragment exactly as appended, paths
    // appended with appendQuotedPath inside double quotes.
    QString text() const { return m_text; }
    bool isEmpty() const { return m_program.isEmpty(); }

private:
    void flushPendingText();

    QString m_program;
    QString m_text;
    QStringList m_arguments;
    QString m_pendingText;
};
