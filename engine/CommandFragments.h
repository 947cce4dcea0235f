#pragma once

#include "Encoder.h"

#include "Parameter.h"

#include <QList>
#include <QString>

#include <variant>

// A stage's command line as data: literal text, a parameter's text from the
// settings, or one of the job's paths, in the order they are written.
enum class PathSlot
{
    Input,
    Output,
    Intermediate
};

using Fragment = std::variant<QString, Parameter, PathSlot>;
using Fragments = QList<Fragment>;

// A second stage: its encoder, one command for the source size and one for
// any other.
struct StageTwoFragments
{
    Encoder encoder;
    Fragments sourceSize;
    Fragments otherSize;
};
