#pragma once

#include "ui/WaveSound.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>

class QAudioSink;

// Plays a short WAV file through one sound stream that stays open for the
// life of the program. A stream opened or stopped for each sound loses its
// start while the server settles and its end when it is stopped at once, so
// the sound is written into the open stream with silence before and after:
// the server may drop some of that silence, never the sound.
class ChimePlayer final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ChimePlayer)

public:
    static constexpr int LeadInMilliseconds = 250;
    static constexpr int TailMilliseconds = 500;
    // Enough in the server that a busy window does not starve the stream.
    static constexpr int BufferMilliseconds = 500;
    static constexpr int WarmUpMilliseconds = 1000;

    explicit ChimePlayer(QObject *parent = nullptr);
    ~ChimePlayer() override;

    // Reads the file and opens the stream now, so the first sound finds it
    // running; false when the file is no PCM WAV or there is no sound device.
    bool prepare(const QString &file);
    // false when the file cannot be played; then nothing is heard.
    bool play(const QString &file);

private:
    void feed();

    QString m_file;
    std::optional<WaveSound> m_sound;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice *m_stream = nullptr;
    QByteArray m_pending;
    QTimer m_feeder;
};
