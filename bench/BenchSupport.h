#pragma once

#include <QList>
#include <QString>
#include <QStringList>

struct ParsedRequest;

// What the benchmarks share: timing a program to its end, and working out
// the ffmpeg command an encoder would run, so ffmpeg can be timed directly.
namespace BenchSupport {

// Seconds the program took, or a negative value when it failed.
double timedRun(const QString &program, const QStringList &arguments);

// The ffmpeg arguments the encoders run for a parsed command line; empty when
// the command line or the input cannot be used.
QStringList ffmpegArguments(const ParsedRequest &parsed, const QString &input,
                            const QString &output);

// The fixed fragments of a command line, split at blanks as the program does.
QStringList words(const QString &text);

double median(QList<double> values);

} // namespace BenchSupport
