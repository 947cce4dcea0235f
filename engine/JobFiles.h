#pragma once

#include "engine/CommandEnvironment.h"
#include "engine/ConversionSettings.h"
#include "engine/RunOutcome.h"

#include <QSet>
#include <QString>

#include <optional>

// The files of one job besides its input and its finished output: the
// folders it writes in, the working file between two stages, a link through
// which the encoders open an input whose name is in a legacy encoding, and
// the final output's name, held as taken while the job runs so that jobs
// started in the same second never get the same name. What the job still
// holds is given up when this is destroyed.
class JobFiles final
{
    Q_DISABLE_COPY_MOVE(JobFiles)

public:
    // reservedOutputs is shared by every job of a batch.
    JobFiles(const CommandEnvironment &environment, QSet<QString> &reservedOutputs);
    ~JobFiles();

    // Makes the folders the job writes in and finds the name the encoders
    // open the input by; why the job cannot start, or nothing.
    std::optional<Outcome::Failed> prepare(const QString &inputPath,
                                           const ConversionSettings &settings);
    // The job's file, or a link to it the encoders can open.
    QString encoderInput() const { return m_encoderInput; }
    // The final output's name is taken from now on; what a killed run or a
    // power cut left of a conversion to this name goes.
    void reserveOutput(const QString &outputPath);
    // Only what the encoder writing outputPath left unfinished: the part
    // file it named, and part files of the same target whose writer is gone.
    // Another run's conversion to a file of the same name goes on untouched.
    void removeUnfinished(const QString &partFile, const QString &outputPath) const;

    // The environment with the batch's reserved names counted as taken.
    static CommandEnvironment seeingReservations(CommandEnvironment environment,
                                                 const QSet<QString> &reservedOutputs);

private:
    std::optional<QString> encoderInputFor(const QString &path);

    QString m_intermediatePath;
    PathStyle m_pathStyle;
    QSet<QString> &m_reservedOutputs;
    QString m_encoderInput;
    QString m_sourceLink;
    QString m_reservedOutput;
};
