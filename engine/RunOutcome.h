#pragma once

#include "engine/StageCommand.h"

#include <QString>

#include <optional>
#include <variant>

// How an encoder run, and so a job, ended. The value is made where the end
// is known and handed on unchanged to where a person is told about it, in
// words chosen there: the runner fills in what a process shows (its exit,
// its last lines), the job adds its stage and what it checked.
namespace Outcome {

// The encoder run an outcome is about.
struct EncoderRun
{
    std::optional<Stage> stage{}; // none: the job ended before any encoder ran
    QString encoder{};            // its file name, "conv.exe"
    QString lastLines{};          // its last lines of output, trimmed
    QString failureLine{};        // "<encoder>: <reason>", why it said it failed, if it did

    friend bool operator==(const EncoderRun &, const EncoderRun &) = default;
};

struct Converted
{
    QString outputPath{}; // the file written; from the runner, where the encoder said it saved it
    EncoderRun run{};

    friend bool operator==(const Converted &, const Converted &) = default;
};

struct Failed
{
    enum class Cause
    {
        OutputFolder, // could not be made, or was gone when the encoder wrote
        TempFolder,
        UnopenableName,
        EncoderError, // exited with an error that names none of the causes below
        DiskFull,
        NoPermission,
        InputMissing,
        UnreadableInput,
        NotMedia,
        NoVideoStream, // a video format asked of sound alone
        NoAudioStream, // a sound format asked of a film without sound
        CutPastTheEnd, // the cutter starts after the file has ended
        SubtitlesUnusable,
        FfmpegMissing,
        NoOutput,
        Crashed
    };
    Cause cause = Cause::EncoderError;
    int code = 0;   // the exit code, or for Crashed the signal
    QString path{}; // what could not be made or opened
    EncoderRun run{};

    friend bool operator==(const Failed &, const Failed &) = default;
};

// Printed nothing for the stall timeout, and was stopped.
struct Hung
{
    int seconds = 0;
    EncoderRun run{};

    friend bool operator==(const Hung &, const Hung &) = default;
};

struct CouldNotStart
{
    enum class Reason
    {
        NoCommand,
        NotFound,
        Busy // a run is still going on
    };
    Reason reason = Reason::NotFound;

    friend bool operator==(const CouldNotStart &, const CouldNotStart &) = default;
};

struct Stopped
{
    friend bool operator==(const Stopped &, const Stopped &) = default;
};

} // namespace Outcome

using RunOutcome = std::variant<Outcome::Converted, Outcome::Failed, Outcome::Hung,
                                Outcome::CouldNotStart, Outcome::Stopped>;
