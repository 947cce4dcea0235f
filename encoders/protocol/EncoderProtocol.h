#pragma once

#include <QString>

#include <optional>

// What the encoders and the program that runs them tell each other, written
// and read on both sides through these same names and functions: the
// progress, the file a conversion was saved to, the line that says why one
// failed, the hidden part name a conversion is written under until it is
// checked, and what the program passes in the encoders' environment.
namespace EncoderProtocol {

// The working file between two stages: an output at exactly this path is
// written as a reference to the source.
inline constexpr QLatin1StringView IntermediateVariable{"ZENVORA_INTERMEDIATE"};
// The local socket of the batch's probe server.
inline constexpr QLatin1StringView ProbeServerVariable{"ZENVORA_PROBE_SERVER"};
// The job's own choices, its subtitles and sound track, are written and
// read by JobChoices.

// "Saved to: <path>", the encoders' last line on success. A line break or
// other control character in the name, and the percent sign itself, are
// written as "%0A", "%25", ... so that any name fits on one line.
QString savedLine(const QString &path);
// The path of the last such line that starts a line; empty without one.
QString savedPath(const QString &output);

// "Writing to: <path>", escaped as above: the part file an encoder has made
// and writes, told as soon as it exists, so that a clean-up after a stop or
// a crash removes exactly that file.
QString partFileLine(const QString &path);
// The path of the last such line; empty without one.
QString partFileIn(const QString &output);

// The progress lines, as MEncoder and FFmpeg printed them. conv.exe tells a
// percentage in parentheses, "( 7%)", and "(100%)" only once the file is
// done; the coders tell the length of what they convert once,
// "Duration: 00:02:05.50," ("N/A" when unknown), then the time converted so
// far, "time=12.00"; a value ends at a blank or a line end.
inline constexpr QLatin1StringView FinishedPercent{"100%"};
inline constexpr QChar PercentOpen{u'('};
inline constexpr QChar PercentClose{u')'};
QString percentGroup(int percent);
inline constexpr QLatin1StringView DurationKey{"Duration: "};
inline constexpr QLatin1StringView TimeKey{"time="};

// Why an encoder failed, as far as a person can act on it. The program
// tells its user the cause the encoder names, never a guess from the words
// of the reason, which stay for people to read.
enum class FailureCause
{
    InputMissing,        // no file of the input's name
    InputUnreadable,     // there is one, but it is no file that can be read
    NotMedia,            // nothing in it reads as video or sound
    NoVideoStream,       // a picture was asked of a file without one
    NoAudioStream,       // sound alone was asked of a file without sound
    CutPastTheEnd,       // the part asked for starts where the input has ended
    SubtitlesUnusable,   // the subtitle file named cannot be read or holds none
    OutputExists,        // the output's name is taken and -y was not given
    OutputFolderMissing, // the folder the output goes in does not exist
    NoPermission,        // the output may not be written where it goes
    DiskFull,            // the drive of the output has no room left
    FfmpegMissing,       // there is no ffmpeg to run
    BadCommandLine,      // the command line was not understood
    StoppedBySignal,     // someone ended the encoder
    EncoderError         // anything else: ffmpeg failed, the output did not pass
};

// An encoder ended by signal N exits with this plus N, as a shell's child.
inline constexpr int SignalStatusBase = 128;

// A failure as the encoder tells it: its cause and the reason in words.
struct Failure
{
    FailureCause cause = FailureCause::EncoderError;
    QString reason{};

    friend bool operator==(const Failure &, const Failure &) = default;
};

// "<encoder>: [<cause>] <reason>", the line an encoder ends with when it
// fails, the cause as a token of lower-case words joined by "-":
// "conv.exe: [input-missing] the input file "a.avi" does not exist".
QString failureLine(const QString &encoderName, const Failure &failure);
// The last of the lines that is the encoder's own failure line, read back;
// none when it said nothing of the kind. A line without a token, or with
// one this side does not know, names no cause: EncoderError.
std::optional<Failure> failureIn(const QString &lines, const QString &encoderName);

// The hidden name a conversion to targetFileName is written under until it
// is checked, with a tag of PartTagLength letters and digits that makes it
// unique: ".clip.part-a1B2c3.mp4" for "clip.mp4". It is 13 bytes longer than
// the target's name, so for a name near the file system's limit of 255
// bytes the base is shortened until it fits.
inline constexpr qsizetype PartTagLength = 6;
QString partFileName(const QString &targetFileName, const QString &tag);
// Whether name is a part file of the target: partFileName with any tag.
bool isPartFileOf(const QString &name, const QString &targetFileName);
// Removes the part files beside the target whose writer is gone (killed,
// or the machine lost power): those whose lock is free. A part file still
// being written, by this run or another, stays.
void removeAbandonedPartFilesOf(const QString &targetPath);

} // namespace EncoderProtocol
