#include "CommandBuilder.h"

#include "BuildOutputPath.h"
#include "OutputFormats.h"

#include <QList>

#include <array>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

enum class PathSlot
{
    Input,
    Output,
    Intermediate
};

// A literal piece of command text, a parameter's text or a path.
using Fragment = std::variant<QString, Parameter, PathSlot>;
using Fragments = QList<Fragment>;

struct StageTwoFragments
{
    Fragments sourceSize;
    Fragments otherSize;
};

using StageOneTable = std::array<Fragments, OutputFormats::Count>;
using StageTwoTable = std::array<std::optional<StageTwoFragments>, OutputFormats::Count>;

StageOneTable buildStageOneTable()
{
    // Two-stage formats first make an MPEG-4 AVI of fixed quality; their
    // settings only matter in the second stage.
    const Fragments toIntermediate{
        u" "_s, PathSlot::Input,
        u" -oac mp3lame -lameopts preset=320 -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=1200 -of avi -o "_s,
        PathSlot::Intermediate};
    // The AVI target gets the MPEG-2 command as it is, container included.
    const Fragments mpeg2{u" "_s,
                          PathSlot::Input,
                          u" -oac lavc -lavcopts acodec=mp2:abitrate="_s,
                          Parameter::AudioBitrate,
                          u" -ovc lavc -lavcopts vcodec=mpeg2video:vbitrate="_s,
                          Parameter::VideoBitrate,
                          u":vpass=1 -ofps "_s,
                          Parameter::FrameRate,
                          u" -of lavf -lavfopts format=yuv4mpeg -o "_s,
                          PathSlot::Output};
    const Fragments mpeg4{u" "_s,
                          PathSlot::Input,
                          u" -oac mp3lame -lameopts preset="_s,
                          Parameter::AudioBitrate,
                          u" -ovc lavc -lavcopts vcodec=mpeg4:vbitrate="_s,
                          Parameter::VideoBitrate,
                          u" -of avi -o "_s,
                          PathSlot::Output};
    const Fragments mp3{
        u" -i "_s,  PathSlot::Input,         u" -y -vn -ar "_s, Parameter::AudioRate,
        u" -ab "_s, Parameter::AudioBitrate, u"k -ac "_s,       Parameter::Channels,
        u" "_s,     PathSlot::Output};
    return {toIntermediate, toIntermediate, mpeg2,          mpeg2, mpeg4,
            toIntermediate, toIntermediate, toIntermediate, mp3};
}

StageTwoTable buildStageTwoTable()
{
    const Fragments fromIntermediate{u" -i "_s, PathSlot::Intermediate};
    // With the source size the RealMedia command uses fixed rates. The double
    // space before "-ab" stays: the command reads exactly as it always has.
    const StageTwoFragments real{
        fromIntermediate +
            Fragments{u" -y -vcodec rv10 -b 1200k -f rm  -ab 128k -ac 2 "_s, PathSlot::Output},
        fromIntermediate + Fragments{u" -y -s "_s, Parameter::Size, u" -vcodec rv10 -b "_s,
                                     Parameter::VideoBitrate, u"k -f rm -ar "_s,
                                     Parameter::AudioRate, u" -ab "_s, Parameter::AudioBitrate,
                                     u"k -ac "_s, Parameter::Channels, u" "_s, PathSlot::Output}};
    const StageTwoFragments quickTime{
        fromIntermediate + Fragments{u" -y -ac 2 -ar 48000 -ab 128k "_s, PathSlot::Output},
        fromIntermediate + Fragments{u" -y -s "_s, Parameter::Size, u" -ac 2 -ar 48000 -ab 128k "_s,
                                     PathSlot::Output}};
    // Phones want a small picture of known size, so the source size becomes 320x240.
    const QString mobileTail = u" -vcodec mpeg4 -acodec amr_nb -ac 1 -ar 8000 -ab 12.2k "_s;
    const StageTwoFragments mobile{
        fromIntermediate + Fragments{u" -y -s 320x240"_s + mobileTail, PathSlot::Output},
        fromIntermediate + Fragments{u" -y -s "_s, Parameter::Size, mobileTail, PathSlot::Output}};
    return {real,      real,   std::nullopt, std::nullopt, std::nullopt,
            quickTime, mobile, mobile,       std::nullopt};
}

const Fragments &stageOneFragments(OutputFormat format)
{
    static const StageOneTable table = buildStageOneTable();
    return table.at(static_cast<std::size_t>(format));
}

const std::optional<StageTwoFragments> &stageTwoFragments(OutputFormat format)
{
    static const StageTwoTable table = buildStageTwoTable();
    return table.at(static_cast<std::size_t>(format));
}

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

Parameters parametersIn(const Fragments &fragments)
{
    Parameters used;
    for (const Fragment &fragment : fragments) {
        if (const auto *parameter = std::get_if<Parameter>(&fragment))
            used |= *parameter;
    }
    return used;
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
    return {description.stageOne,
            render(m_environment.programPath(description.stageOne),
                   stageOneFragments(settings.format), settings, paths),
            outputPath};
}

std::optional<StageCommand> CommandBuilder::stageTwo(const ConversionSettings &settings,
                                                     const QString &inputPath) const
{
    const FormatSpec &description = OutputFormats::of(settings.format);
    const std::optional<StageTwoFragments> &rows = stageTwoFragments(settings.format);
    if (!description.stageTwo || !rows)
        return std::nullopt;
    const Fragments &fragments = stageTwoRow(*rows, settings);
    const QString outputPath = finalOutputPath(settings, inputPath);
    const StagePaths paths{inputPath, outputPath, m_environment.intermediatePath};
    return StageCommand{
        *description.stageTwo,
        render(m_environment.programPath(*description.stageTwo), fragments, settings, paths),
        outputPath};
}

Parameters CommandBuilder::stageOneParameters(OutputFormat format)
{
    return parametersIn(stageOneFragments(format));
}

Parameters CommandBuilder::stageTwoParameters(OutputFormat format)
{
    const std::optional<StageTwoFragments> &rows = stageTwoFragments(format);
    if (!rows)
        return {};
    return parametersIn(rows->sourceSize) | parametersIn(rows->otherSize);
}

Parameters CommandBuilder::usedParameters(const ConversionSettings &settings)
{
    const std::optional<StageTwoFragments> &rows = stageTwoFragments(settings.format);
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
