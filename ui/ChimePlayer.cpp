#include "ui/ChimePlayer.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>

namespace {

constexpr int FeedMilliseconds = 10;

QAudioFormat formatOf(const WaveSound &sound)
{
    QAudioFormat format;
    format.setSampleRate(sound.sampleRate);
    format.setChannelCount(sound.channels);
    format.setSampleFormat(sound.bitsPerSample == 8    ? QAudioFormat::UInt8
                           : sound.bitsPerSample == 16 ? QAudioFormat::Int16
                                                       : QAudioFormat::Int32);
    return format;
}

} // namespace

ChimePlayer::ChimePlayer(QObject *parent) : QObject(parent)
{
    m_feeder.setInterval(FeedMilliseconds);
    connect(&m_feeder, &QTimer::timeout, this, &ChimePlayer::feed);
}

ChimePlayer::~ChimePlayer() = default;

bool ChimePlayer::prepare(const QString &file)
{
    if (file == m_file && m_stream)
        return true;
    m_feeder.stop();
    m_pending.clear();
    m_stream = nullptr;
    m_sink.reset();
    m_file = file;
    QFile wave(file);
    m_sound = wave.open(QIODevice::ReadOnly) ? WaveSound::read(wave.readAll()) : std::nullopt;
    if (!m_sound)
        return false;
    m_sink = std::make_unique<QAudioSink>(formatOf(*m_sound));
    m_sink->setBufferSize(m_sound->silence(BufferMilliseconds).size());
    m_stream = m_sink->start();
    if (!m_stream || m_sink->error() != QAudio::NoError) {
        m_stream = nullptr;
        return false;
    }
    // Some silence starts the stream before a sound needs it.
    m_pending = m_sound->silence(WarmUpMilliseconds);
    m_feeder.start();
    return true;
}

bool ChimePlayer::play(const QString &file)
{
    if (!prepare(file))
        return false;
    m_pending += m_sound->silence(LeadInMilliseconds) + m_sound->samples +
                 m_sound->silence(TailMilliseconds);
    m_feeder.start();
    return true;
}

// The stream takes what its buffer has room for; the rest waits for the
// next turn.
void ChimePlayer::feed()
{
    const qint64 room = std::min<qint64>(m_pending.size(), m_sink->bytesFree());
    const qint64 written = room > 0 ? m_stream->write(m_pending.constData(), room) : 0;
    if (written > 0)
        m_pending.remove(0, written);
    if (m_pending.isEmpty())
        m_feeder.stop();
}
