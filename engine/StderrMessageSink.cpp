#include "engine/StderrMessageSink.h"

#include <cstdio>

void StderrMessageSink::showMessage(const QString &text, const QString &caption, Icon)
{
    const QString line = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}
