#include "settings/SettingsFieldReader.h"

#include <QIODevice>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// After leading spaces, a quoted text up to the next quote (or the line's
// end), else the text up to the next comma without its trailing spaces.
QString fieldOfLine(const QString &line)
{
    static const QRegularExpression field(uR"(^ *(?:"([^"]*)|([^,]*?) *(?:,|\z)))"_s);
    const QRegularExpressionMatch match = field.match(line);
    return match.hasCaptured(1) ? match.captured(1) : match.captured(2);
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
