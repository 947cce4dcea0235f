#include "engine/EncoderCommand.h"

EncoderCommand::EncoderCommand(const QString &program) : m_program(program), m_text(program) {}

EncoderCommand &EncoderCommand::appendText(const QString &text)
{
    m_text += text;
    m_pendingText += text;
    return *this;
}

EncoderCommand &EncoderCommand::appendQuotedPath(const QString &path)
{
    flushPendingText();
    m_text += u'"' + path + u'"';
    m_arguments.append(path);
    return *this;
}

EncoderCommand &EncoderCommand::appendBarePath(const QString &path)
{
    flushPendingText();
    m_text += path;
    m_arguments.append(path);
    return *this;
}

QStringList EncoderCommand::arguments() const
{
    QStringList all = m_arguments;
    all += m_pendingText.split(u' ', Qt::SkipEmptyParts);
    return all;
}

void EncoderCommand::flushPendingText()
{
    m_arguments += m_pendingText.split(u' ', Qt::SkipEmptyParts);
    m_pendingText.clear();
}
