#pragma once

#include "engine/CommandEnvironment.h"
#include "engine/ConversionSettings.h"
#include "engine/OutputFormat.h"
#include "engine/Parameter.h"
#include "engine/StageCommand.h"

#include <optional>

// Builds the encoder commands of a job from the settings. Each format's
// commands are fixed fragments with the settings' texts, the input path and
// the output path put in between; the final output path is decided (and its
// time read) when the stage that writes it is built.
class CommandBuilder final
{
public:
    explicit CommandBuilder(CommandEnvironment environment);

    StageCommand stageOne(const ConversionSettings &settings, const QString &inputPath) const;
    // Nothing for the formats whose first stage writes the final file.
    std::optional<StageCommand> stageTwo(const ConversionSettings &settings,
                                         const QString &inputPath) const;

    // The parameters that can reach a stage's command for a format.
    static Parameters stageOneParameters(OutputFormat format);
    static Parameters stageTwoParameters(OutputFormat format);
    // The parameters whose option a format leaves out at their entry that
    // leaves the value to the source; other formats write that entry as it is.
    static Parameters optionalParameters(OutputFormat format);
    // The parameters that count for a job with these settings: at the source
    // size some formats' second stage takes fixed values instead.
    static Parameters usedParameters(const ConversionSettings &settings);

private:
    QString finalOutputPath(const ConversionSettings &settings, const QString &inputPath) const;

    CommandEnvironment m_environment;
};
