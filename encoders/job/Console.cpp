#include "encoders/job/Console.h"

#include <cstdio>

namespace Console {

namespace {

void write(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = (line + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void printLine(const QString &line)
{
    write(stdout, line);
}

void printErrorLine(const QString &line)
{
    write(stderr, line);
}

} // namespace Console
