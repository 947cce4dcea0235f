#include "settings/SettingsFieldReader.h"

#include <QIODevice>

namespace {

qsizetype skipSpaces(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && line[i] == u' ')
        ++i;
    return i;
}

QString fieldOfLine(QStringView line)
{
    const QStringView rest = line.sliced(skipSpaces(line));
    if (rest.startsWith(u'"')) {
        const QStringView quoted = rest.sliced(1);
        return quoted.left(quoted.indexOf(u'"')).toString();
    }
    QStringView plain = rest.left(rest.indexOf(u','));
    while (plain.endsWith(u' '))
        plain.chop(1);
    return plain.toString();
}

QByteArray withoutLineEnd(QByteArray bytes)
{
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    return bytes;
}

} // namespace

SettingsFieldReader::SettingsFieldReader(QIODevice &device) : m_device(device) {}

std::optional<QString> SettingsFieldReader::ReadSettingsField()
{
    const std::optional<QString> line = readLine();
    if (!line)
        return std::nullopt;
    return fieldOfLine(*line);
}

std::optional<QString> SettingsFieldReader::readLine()
{
    if (m_exhausted)
        return std::nullopt;
    // readLine(n) returns at most n - 1 bytes: room for the content and CR LF.
    const QByteArray bytes = m_device.readLine(MaxLineBytes + 3);
    const bool complete = !bytes.isEmpty() && (bytes.endsWith('\n') || m_device.atEnd());
    const QByteArray content = withoutLineEnd(bytes);
    if (!complete || content.size() > MaxLineBytes) {
        m_exhausted = true;
        return std::nullopt;
    }
    return QString::fromUtf8(content);
}
