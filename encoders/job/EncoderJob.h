#pragma once

#include "encoders/job/PartFile.h"
#include "encoders/job/ProgressReader.h"
#include "encoders/job/ToolLocator.h"
#include "encoders/options/EncodeRequest.h"
#include "encoders/plan/FfmpegPlan.h"
#include "encoders/probe/ProbeClient.h"
#include "encoders/protocol/EncoderProtocol.h"
#include "encoders/protocol/EncoderStyle.h"

#include <QObject>
#include <QTemporaryFile>

#include <memory>

class ToolProcess;

// One conversion: checks the input and the output folder, probes the input,
// runs ffmpeg on a part file beside the target while printing progress in
// the encoder's own style, probes the result and only then renames it into
// place, under the next free numbered name when the target's is taken.
// The program's working file, a reference to a source, is read as that
// source.
// Ends with an exit status: 0 only when the file is in place, its path
// then told on the last line.
class EncoderJob final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(EncoderJob)

public:
    // probeServer: where the files are read, as ProbeClient takes it.
    EncoderJob(EncoderStyle style, const QString &encoderName, EncodeRequest request,
               ToolLocator::Tools tools, const QString &probeServer, QObject *parent = nullptr);
    ~EncoderJob() override;

    // Writes a reference to the input instead of encoding it: for the
    // program's working file between two stages.
    void setWritesSourceReference(bool writesReference) { m_writesReference = writesReference; }
    // Reads an input that is a reference as the source it names; only the
    // program's own working file is, any other input is read as it is.
    void setFollowsSourceReference(bool followsReference) { m_followsReference = followsReference; }

    void start();
    // Stops whatever runs, removes the part file and ends with 128 + signal.
    void stop(int signalNumber);

    static constexpr int FailureStatus = 1;

Q_SIGNALS:
    void finished(int exitStatus);

private:
    std::optional<EncoderProtocol::Failure> checkFiles() const;
    // The cause of a file that could not be written beside the output.
    EncoderProtocol::FailureCause causeOfWriteError(const QString &error) const;
    static EncoderProtocol::Failure stoppedBy(int signalNumber);
    void probeInputAndEncode();
    // The subtitles to draw into the picture, as the request chooses them;
    // a file is copied in UTF-8 to a working file first. False with failure
    // set when a subtitle file asked for cannot be read.
    bool findSubtitles(const MediaInfo &input, std::optional<BurnedSubtitles> &subtitles,
                       EncoderProtocol::Failure &failure);
    bool copySubtitleFile(const QString &path, std::optional<BurnedSubtitles> &subtitles,
                          EncoderProtocol::Failure &failure);
    void writeSourceReference(const MediaInfo &input);
    void onProgress(const QByteArray &output);
    void onEncoded(const QString &problem);
    // Why the part file is not the output asked for; empty when it is.
    QString outputProblem();
    void succeed();
    void fail(const EncoderProtocol::Failure &failure, int exitStatus = FailureStatus);

    EncoderStyle m_style;
    QString m_name;
    EncodeRequest m_request;
    ToolLocator::Tools m_tools;
    ProbeClient m_probe;
    std::optional<MediaInfo> m_knownInput; // what stage one read of the source
    std::unique_ptr<PartFile> m_part;
    std::unique_ptr<QTemporaryFile> m_subtitleCopy;
    ToolProcess *m_ffmpeg = nullptr;
    FfmpegPlan m_plan;
    std::optional<double> m_inputDuration;
    ProgressReader m_progress;
    ProgressReader::Snapshot m_lastSnapshot;
    int m_stopSignal = 0;
    bool m_writesReference = false;
    bool m_followsReference = false;
    bool m_outputPassed = false;
    bool m_done = false;
};
