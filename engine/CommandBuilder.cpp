#include "engine/CommandBuilder.h"

#include "engine/BuildOutputPath.h"
#include "engine/OutputFormats.h"

#include <variant>

using namespace Qt::StringLiterals;

namespace {

// Only the exact entry text counts as the source size, blanks and all.
const Fragments &stageTwoRow(const StageTwoFragments &rows, const ConversionSettings &settings)
{
    return settings.size == ConversionSettings::SourceSize ? rows.sourceSize : rows.otherSize;
}

struct StagePaths
{
    QString input;
    QString output;
    QString intermediate;
};

// Settings texts go in as free text, split at blanks like the rest of the
// command; paths stay one argument each.
struct FragmentWriter
{
    EncoderCommand &command;
    const ConversionSettings &settings;
    const StagePaths &paths;

    void operator()(const QString &literal) const { command.appendText(literal); }
    void operator()(Parameter parameter) const { command.appendText(settings.text(parameter)); }
    void operator()(const ParameterOption &option) const
    {
        if (settings.leftToSource(option.parameter))
            return;
        command.appendText(option.before);
        command.appendText(settings.text(option.parameter));
        command.appendText(option.after);
    }
    void operator()(PathSlot slot) const
    {
        switch (slot) {
        case PathSlot::Input:
            command.appendQuotedPath(paths.input);
            break;
        case PathSlot::Output:
            command.appendQuotedPath(paths.output);
            break;
        case PathSlot::Intermediate:
            // Never quoted: the intermediate file is ours and its path has no blanks.
            command.appendBarePath(paths.intermediate);
            break;
        }
    }
};

EncoderCommand render(const QString &program, const Fragments &fragments,
                      const ConversionSettings &settings, const StagePaths &paths)
{
    EncoderCommand command(program);
    const FragmentWriter writer{command, settings, paths};
    for (const Fragment &fragment : fragments)
        std::visit(writer, fragment);
    return command;
}

// The cut goes right after the program, in the option style of the stage
// that really encodes: MEncoder's -endpos and FFmpeg's -t both give the
// length from the start time.
QString cutOptions(Encoder encoder, const JobChoices::Cut &cut)
{
    QString options;
    if (cut.fromSeconds > 0)
        options += u" -ss "_s + QString::number(cut.fromSeconds);
    if (cut.toSeconds > 0)
        options += (encoder == Encoder::Conv ? u" -endpos "_s : u" -t "_s) +
                   QString::number(cut.toSeconds - cut.fromSeconds);
    return options;
}

Parameters parametersIn(const Fragments &fragments)
{
    Parameters used;
    for (const Fragment &fragment : fragments) {
        if (const auto *parameter = std::get_if<Parameter>(&fragment))
            used |= *parameter;
        else if (const auto *option = std::get_if<ParameterOption>(&fragment))
            used |= option->parameter;
    }
    return used;
}

Parameters optionalParametersIn(const Fragments &fragments)
{
    Parameters optional;
    for (const Fragment &fragment : fragments) {
        if (const auto *option = std::get_if<ParameterOption>(&fragment))
            optional |= option->parameter;
    }
    return optional;
}

} // namespace

CommandBuilder::CommandBuilder(CommandEnvironment environment)
    : m_environment(std::move(environment))
{
}

StageCommand CommandBuilder::stageOne(const ConversionSettings &settings,
                                      const QString &inputPath) const
{
    const FormatSpec &description = OutputFormats::of(settings.format);
    const QString outputPath = description.hasStageTwo() ? m_environment.intermediatePath
                                                         : finalOutputPath(settings, inputPath);
    const StagePaths paths{inputPath, outputPath, m_environment.intermediatePath};
    Fragments fragments = description.stageOneFragments;
    if (settings.choices.cut.cuts())
        fragments.prepend(cutOptions(description.stageOne, settings.choices.cut));
    return {.stage = Stage::One,
            .encoder = description.stageOne,
            .command =
                render(m_environment.programPath(description.stageOne), fragments, settings, paths),
            .outputPath = outputPath,
            .writesIntermediate = description.hasStageTwo(),
            .workingFile = description.hasStageTwo() ? m_environment.intermediatePath : QString(),
            .choices = settings.choices};
}

std::optional<StageCommand> CommandBuilder::stageTwo(const ConversionSettings &settings,
                                                     const QString &inputPath) const
{
    const std::optional<StageTwoFragments> &rows = OutputFormats::of(settings.format).stageTwo;
    if (!rows)
        return std::nullopt;
    const Fragments &fragments = stageTwoRow(*rows, settings);
    const QString outputPath = finalOutputPath(settings, inputPath);
    const StagePaths paths{inputPath, outputPath, m_environment.intermediatePath};
    return StageCommand{
        .stage = Stage::Two,
        .encoder = rows->encoder,
        .command = render(m_environment.programPath(rows->encoder), fragments, settings, paths),
        .outputPath = outputPath,
        .writesIntermediate = false,
        .workingFile = m_environment.intermediatePath,
        .choices = settings.choices};
}

Parameters CommandBuilder::stageOneParameters(OutputFormat format)
{
    return parametersIn(OutputFormats::of(format).stageOneFragments);
}

Parameters CommandBuilder::stageTwoParameters(OutputFormat format)
{
    const std::optional<StageTwoFragments> &rows = OutputFormats::of(format).stageTwo;
    if (!rows)
        return {};
    return parametersIn(rows->sourceSize) | parametersIn(rows->otherSize);
}

Parameters CommandBuilder::optionalParameters(OutputFormat format)
{
    Parameters optional = optionalParametersIn(OutputFormats::of(format).stageOneFragments);
    if (const std::optional<StageTwoFragments> &rows = OutputFormats::of(format).stageTwo)
        optional |= optionalParametersIn(rows->sourceSize) | optionalParametersIn(rows->otherSize);
    return optional;
}

Parameters CommandBuilder::usedParameters(const ConversionSettings &settings)
{
    const std::optional<StageTwoFragments> &rows = OutputFormats::of(settings.format).stageTwo;
    if (!rows)
        return stageOneParameters(settings.format);
    // The size entry picks the row, the source size included.
    const Parameters sizeChoice = parametersIn(rows->otherSize) & Parameter::Size;
    return stageOneParameters(settings.format) | parametersIn(stageTwoRow(*rows, settings)) |
           sizeChoice;
}

QString CommandBuilder::finalOutputPath(const ConversionSettings &settings,
                                        const QString &inputPath) const
{
    return BuildOutputPath(m_environment, settings.outputFolder, inputPath,
                           OutputFormats::of(settings.format).extension);
}
