#pragma once

#include "engine/ConversionSettings.h"
#include "engine/Parameter.h"

#include <QString>

#include <optional>

// What becomes of the encoding parameters a user gives: the form each value
// must have (the one the encoders take), and whether the
// codec that takes a value moves it to the nearest it can take, found as the
// encoders find it, from the command the format's row builds.
class ParameterRules final
{
public:
    // What the output has for a parameter its format does not use.
    struct Unused
    {
        enum class Kind
        {
            Fixed,         // the format's own value, in value
            Source,        // the source's value
            EncoderChoice, // a bitrate the encoder picks for the quality
            NoPicture      // a picture parameter of a format without one
        };
        Kind kind = Kind::Source;
        // As the parameter's text would give it: channels as 1 or 2.
        QString value;
        // The format uses the parameter at sizes other than the source's.
        bool usedAtOtherSizes = false;
    };

    // Why a text is no value for a parameter in a format.
    enum class Refusal
    {
        NotAValue,         // not of the form the parameter takes
        SourceEntryRefused // a source entry (原始帧率) the format does not take
    };

    // A value the codec takes instead of the one given: the nearest it can.
    struct Move
    {
        QString taken; // as the parameter's text would give it
        QString codec; // the codec's name, "mpeg2video"
    };

    // Nothing when the text is a value for the parameter in the format.
    static std::optional<Refusal> refusal(OutputFormat format, Parameter parameter,
                                          const QString &text);
    // Nothing when the codec uses the settings' text for the parameter as it
    // is, or the format does not use the parameter at all.
    static std::optional<Move> move(const ConversionSettings &settings, Parameter parameter);
    // Nothing when the settings' format uses the parameter.
    static std::optional<Unused> unused(const ConversionSettings &settings, Parameter parameter);
};
