#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

enum class OutputFormat;
struct ParsedRequest;

// What the benchmarks share: timing a program to its end, and working out
// the ffmpeg command an encoder would run, so ffmpeg can be timed directly.
namespace BenchSupport {

// The built program folder, or the one ZENVORA_PROGRAM_DIR names, so that
// another build (say, the one before a change) can be measured the same way.
QString programFolder();

// Seconds the program took, or a negative value when it failed.
double timedRun(const QString &program, const QStringList &arguments);

// The ffmpeg arguments the encoders run for a parsed command line; empty when
// the command line or the input cannot be used.
QStringList ffmpegArguments(const ParsedRequest &parsed, const QString &input,
                            const QString &output);

// conv.exe's command line for MPG with the defaults the window shows, as
// the program builds it.
QStringList mpgArguments(const QString &input, const QString &output);

// A clip that looks like camera footage: a zooming fractal rendered small
// and scaled up, as much real HD material is, with grain that changes every
// frame, and a mixed-tone soundtrack; H.264 and AAC in MP4 as phones write
// it. False when ffmpeg failed.
bool makeCameraLikeClip(const QString &ffmpeg, const QString &size, int seconds,
                        const QString &path);

// A new, empty folder under work for one run's output.
QString freshFolder(const QString &work);

// One zenvora-cli job with the format's defaults into a fresh folder:
// seconds taken (negative when it failed), and the file it wrote.
double cliJob(const QString &cli, const QString &work, OutputFormat format, const QString &source,
              QString &output);

// The mean SSIM ffmpeg's ssim filter gives at the end of the graph, which
// takes the source as [0:v] and the output as [1:v]; negative when ffmpeg
// could not tell.
double meanSsim(const QString &ffmpeg, const QString &source, const QString &output,
                const QString &graph);

double median(QList<double> values);

// Two ways of doing the same work, timed in turn (ours, reference, ours,
// reference, ...) so that a machine whose speed drifts favours neither.
struct Paired
{
    double ratio = 0.0;      // median of ours / reference over the pairs
    double difference = 0.0; // median of ours - reference, in seconds
    double ours = 0.0;       // median seconds
    double reference = 0.0;
};

// Nothing when a run failed (a run returns a negative time then).
std::optional<Paired> paired(int rounds, const std::function<double()> &ours,
                             const std::function<double()> &reference);

// "what: ours 1.23 s, reference 1.00 s, ratio 1.230 (target <= 1.05), difference 0.23 s"
void report(const char *what, const Paired &result, const char *target);

} // namespace BenchSupport
