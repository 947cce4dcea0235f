#pragma once

#include "engine/ConversionSettings.h"
#include "engine/EncoderRunner.h"

#include <QString>
#include <QStringList>

// The command line of zenvora-cli. Parameters not given take the values the
// window shows after start-up and choosing the same format.
struct CliOptions
{
    ConversionSettings settings;
    QStringList files;
    // How long an encoder may print nothing before its job fails; 0 is never.
    int stallTimeoutSeconds = EncoderRunner::DefaultStallTimeoutSeconds;
    bool inhibitSleep = true; // the machine is kept awake during the batch
    bool helpRequested = false;
    bool versionRequested = false;
    QString error;        // empty when the command line was understood
    QStringList warnings; // what the chosen format ignores or changes of what was given

    static CliOptions parse(const QStringList &arguments, const QString &defaultOutputFolder);
    static QString helpText();
};
