#include "tests/encoders/CommandTable.h"

#include "engine/CommandBuilder.h"
#include "engine/ConversionSettings.h"
#include "engine/OutputFormats.h"

using namespace Qt::StringLiterals;

namespace CommandTable {

const QString SourceSize = ConversionSettings::SourceSize.toString();

namespace {

ConversionSettings conversionSettings(Format format, const Settings &settings)
{
    ConversionSettings converted;
    converted.format = format;
    converted.size = settings.size;
    converted.videoBitrate = settings.videoBitrate;
    converted.frameRate = settings.frameRate;
    converted.audioRate = settings.audioRate;
    converted.audioBitrate = settings.audioBitrate;
    converted.channelIndex = settings.channels - 1;
    converted.outputFolder = u"/unused"_s;
    return converted;
}

CommandBuilder builderWith(const QString &intermediate)
{
    CommandEnvironment environment;
    environment.programFolder = u"/app"_s;
    environment.intermediatePath = intermediate;
    environment.pathExists = [](const QString &) { return false; };
    return CommandBuilder(environment);
}

// The builder names a final file after the input and the time of day; the
// tests give each run a name of their own instead.
Command withOutput(const StageCommand &stage, const QString &output)
{
    QStringList arguments = stage.command.arguments();
    for (QString &argument : arguments) {
        if (argument == stage.outputPath)
            argument = output;
    }
    return {executableName(stage.encoder), arguments, stage.environment({})};
}

} // namespace

Settings defaults(Format format)
{
    ConversionSettings settings = ConversionSettings::startupDefaults();
    settings.selectFormat(format);
    return {settings.size,      settings.videoBitrate, settings.frameRate,
            settings.audioRate, settings.audioBitrate, settings.channelCount()};
}

QString extension(Format format)
{
    return OutputFormats::of(format).extension;
}

bool hasStageTwo(Format format)
{
    return OutputFormats::of(format).hasStageTwo();
}

Command stageOne(Format format, const QString &input, const QString &output,
                 const Settings &settings)
{
    // A two-stage format's first stage writes the intermediate file: here the output.
    return withOutput(builderWith(output).stageOne(conversionSettings(format, settings), input),
                      output);
}

Command stageTwo(Format format, const QString &intermediate, const QString &output,
                 const Settings &settings)
{
    const std::optional<StageCommand> stage =
        builderWith(intermediate).stageTwo(conversionSettings(format, settings), intermediate);
    return stage ? withOutput(*stage, output) : Command{};
}

} // namespace CommandTable
