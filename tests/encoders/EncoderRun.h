#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs an encoder or a tool to its end the way the program does: output
// and errors merged into one stream, no input.
struct EncoderRun
{
    int exitCode = -1;
    bool crashed = false;
    bool timedOut = false;
    QString output;

    static EncoderRun
    run(const QString &program, const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
        const QString &workingFolder = {});

    bool succeeded() const { return !crashed && !timedOut && exitCode == 0; }
    // Exit status and output, for failure messages.
    QString report() const;
};
