#pragma once

#include "encoders/options/EncodeRequest.h"

#include <QStringList>

#include <functional>

// Reads conv.exe's MEncoder-style command line: the input file, -o, the
// encoder choices -oac/-ovc with their -lavcopts/-lameopts, -ofps, and the
// container choice -of/-lavfopts, and the part converted -ss/-endpos.
// MEncoder overwrites its output file.
class ConvOptions final
{
public:
    using FileExists = std::function<bool(const QString &path)>;

    // A word that starts with "-" but is no option is the input file when
    // such a file exists, so names with a leading dash work.
    static ParsedRequest parse(const QStringList &arguments, const FileExists &fileExists);

    // MEncoder reads vbitrate up to this value as kbit/s, above it as bit/s.
    static constexpr double LargestKilobitValue = 16000.0;

private:
    template <typename OptionReader>
    friend ParsedRequest readCommandLine(OptionReader &reader, const QStringList &arguments);
    using Reader = QString (ConvOptions::*)(const QString &value);

    explicit ConvOptions(const FileExists &fileExists) : m_fileExists(fileExists) {}

    QString takeArgument(const QStringList &arguments, qsizetype &index);
    QString takeInput(const QString &word);
    QString readOutput(const QString &value);
    QString readAudioEncoder(const QString &value);
    QString readVideoEncoder(const QString &value);
    QString readFrameRate(const QString &value);
    QString readOutputFormat(const QString &value);
    QString readStart(const QString &value);
    QString readEndPosition(const QString &value);
    QString readLavcOptions(const QString &text);
    QString readLavcOption(const QString &key, const QString &value);
    QString readLameOptions(const QString &text);
    QString readLavfOptions(const QString &text);
    QString finish();

    const FileExists &m_fileExists;
    EncodeRequest m_request;
    QString m_audioEncoder;
    QString m_videoEncoder;
    QString m_lavcAudioCodec;
    std::optional<qint64> m_lavcAudioBitrate;
    EncodeRequest::Audio m_lameAudio;
    QString m_outputFormat;
    QString m_lavfFormat;
};
