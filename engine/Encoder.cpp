#include "engine/Encoder.h"

#include <array>

using namespace Qt::StringLiterals;

QString executableName(Encoder encoder)
{
    static const std::array names{u"conv.exe"_s, u"coder.exe"_s, u"coder2.exe"_s};
    return names.at(static_cast<std::size_t>(encoder));
}

EncoderStyle styleOf(Encoder encoder)
{
    return encoder == Encoder::Conv ? EncoderStyle::Conv : EncoderStyle::Coder;
}
