#pragma once

#include <QFlags>

#include <algorithm>
#include <array>
#include <cstddef>

// The encoding parameters a command line can take from the settings.
enum class Parameter
{
    Size = 0x01,
    VideoBitrate = 0x02,
    FrameRate = 0x04,
    AudioRate = 0x08,
    AudioBitrate = 0x10,
    Channels = 0x20,
};
Q_DECLARE_FLAGS(Parameters, Parameter)
Q_DECLARE_OPERATORS_FOR_FLAGS(Parameters)

// Every parameter, in the order of their combos. Whatever goes through them
// in turn takes this order: the sound rate comes before the sound bitrate,
// which may depend on it.
inline constexpr std::array AllParameters{Parameter::Size,         Parameter::VideoBitrate,
                                          Parameter::FrameRate,    Parameter::AudioRate,
                                          Parameter::AudioBitrate, Parameter::Channels};

// The parameter's place in AllParameters.
constexpr std::size_t parameterIndex(Parameter parameter)
{
    return static_cast<std::size_t>(std::ranges::find(AllParameters, parameter) -
                                    AllParameters.begin());
}
