#pragma once

#include "engine/Encoder.h"

#include "engine/Parameter.h"

#include <QList>
#include <QString>

#include <variant>

// A stage's command line as data: literal text, a parameter's text from the
// settings, an option carrying one, or one of the job's paths, in the order
// they are written.
enum class PathSlot
{
    Input,
    Output,
    Intermediate
};

// An option with its parameter's text, left out when the parameter is at
// the entry that leaves the value to the source or to a quality target, so
// that the encoder decides it from what it reads.
struct ParameterOption
{
    QString before;
    Parameter parameter;
    QString after{};
};

using Fragment = std::variant<QString, Parameter, PathSlot, ParameterOption>;
using Fragments = QList<Fragment>;

// A second stage: its encoder, one command for the source size and one for
// any other.
struct StageTwoFragments
{
    Encoder encoder;
    Fragments sourceSize;
    Fragments otherSize;
};
