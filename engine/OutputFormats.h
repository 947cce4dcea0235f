#pragma once

#include "engine/FormatSpec.h"
#include "engine/OutputFormat.h"

#include <QStringList>

#include <optional>

// The table of the output formats, in the order of the format combo.
class OutputFormats final
{
public:
    static constexpr int Count = 12;

    static const FormatSpec &of(OutputFormat format);
    // The format at a combo position; nothing for -1 (no selection) or any
    // other position outside the list.
    static std::optional<OutputFormat> fromIndex(int index);
    static int indexOf(OutputFormat format) { return static_cast<int>(format); }
    static QStringList entryTexts();
    // The format zenvora-cli knows by this name, in any letter case.
    static std::optional<OutputFormat> fromCliName(const QString &name);
};
