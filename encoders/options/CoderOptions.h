#pragma once

#include "encoders/options/EncodeRequest.h"

#include <QStringList>

// Reads the FFmpeg-style command line of coder.exe and coder2.exe, in the
// option names of the FFmpeg builds of their time: -i, -y, -f, -s, -b, -r, -ab,
// -ar, -ac, -vcodec, -acodec, -vn, -ss, -t, and the output file as the one word that
// is not an option.
class CoderOptions final
{
public:
    static ParsedRequest parse(const QStringList &arguments);

private:
    template <typename OptionReader>
    friend ParsedRequest readCommandLine(OptionReader &reader, const QStringList &arguments);
    using Reader = QString (*)(EncodeRequest &request, const QString &value);

    QString takeArgument(const QStringList &arguments, qsizetype &index);
    QString takeOutput(const QString &word, bool isLast);
    QString finish() const;

    EncodeRequest m_request;
};
