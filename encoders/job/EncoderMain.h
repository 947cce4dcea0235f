#pragma once

#include "encoders/job/EncoderJob.h"
#include "encoders/options/EncodeRequest.h"

#include <QStringList>

#include <functional>

// What the three encoder executables share: binding to the parent, signal
// handling, reading the options and running one job.
namespace EncoderMain {

using Parser = std::function<ParsedRequest(const QStringList &arguments)>;

// Exit status: 0 done, 1 failed, 2 the command line was not understood,
// 128 + N stopped by signal N.
int run(int argc, char *argv[], const QString &encoderName, EncoderStyle style,
        const Parser &parse);

constexpr int UsageStatus = 2;

} // namespace EncoderMain
