#pragma once

#include "encoders/protocol/JobChoices.h"
#include "engine/OutputFormat.h"
#include "engine/Parameter.h"

#include <QString>
#include <QStringView>

// The values of the format and parameter combos and the output folder when
// a command is built. Texts are kept exactly as the user typed or picked
// them: never trimmed, checked or converted.
struct ConversionSettings
{
    // The size entry that keeps the source's picture size.
    static constexpr QStringView SourceSize = u"原始大小";
    // The video bitrate entry that asks for a constant quality instead.
    static constexpr QStringView QualityBitrate = u"自动(按质量)";
    // The frame rate entry that keeps the source's timing.
    static constexpr QStringView SourceFrameRate = u"原始帧率";

    OutputFormat format = OutputFormat::Rmvb;
    QString size;
    QString videoBitrate;
    QString frameRate;
    QString audioRate;
    QString audioBitrate;
    int channelIndex = -1; // 0 mono, 1 stereo, -1 when nothing is selected
    QString outputFolder;
    // The subtitles, the sound track, the cut and the files at once.
    JobChoices choices;

    // 1 for mono, 2 for stereo, 0 when no channel entry is selected.
    int channelCount() const { return channelIndex + 1; }

    // The parameter as it goes into a command line.
    QString text(Parameter parameter) const;
    void setText(Parameter parameter, const QString &text);
    // Whether the parameter is at its entry that leaves the value to the
    // source or to a quality target; only the exact entry text counts.
    bool leftToSource(Parameter parameter) const;

    // What choosing a format in its combo does: it writes that format's
    // defaults over the parameters it has defaults for.
    void selectFormat(OutputFormat newFormat);

    // What the window shows when it has started: audio bitrate, audio rate
    // and channel at their start positions, then the first format chosen.
    static ConversionSettings startupDefaults();
    static constexpr int StartupAudioBitratePosition = 7;
    static constexpr int StartupAudioRatePosition = 1;
    static constexpr int StartupChannelPosition = 1;
};
