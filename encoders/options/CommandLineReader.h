#pragma once

#include "encoders/options/EncodeRequest.h"

#include <QStringList>

// Reads a command line word by word with one of the encoders' option
// readers, then lets the reader check what it has read as a whole.
template <typename OptionReader>
ParsedRequest readCommandLine(OptionReader &reader, const QStringList &arguments)
{
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        if (const QString error = reader.takeArgument(arguments, index); !error.isEmpty())
            return ParsedRequest::failure(error);
    }
    if (const QString error = reader.finish(); !error.isEmpty())
        return ParsedRequest::failure(error);
    return {reader.m_request, {}};
}
