#include "ui/WaveSound.h"

namespace {

constexpr quint16 PcmFormat = 1;

// A little-endian number, a byte at a time: copied through a pointer into the
// array instead, GCC inlines deeper in the sanitized build, loses sight of
// the size checks made before and warns of reading past an empty array.
template <typename Number> Number littleEndian(const QByteArray &bytes, qsizetype at)
{
    Number value = 0;
    for (qsizetype byte = qsizetype(sizeof(Number)) - 1; byte >= 0; --byte)
        value = static_cast<Number>(value << 8 | static_cast<uchar>(bytes.at(at + byte)));
    return value;
}

} // namespace

std::optional<WaveSound> WaveSound::read(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    WaveSound sound;
    bool formatRead = false;
    // Chunks are an id, a length and the data, padded to an even length.
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qsizetype length = littleEndian<quint32>(file, at + 4);
        const qsizetype data = at + 8;
        if (id == "fmt " && length >= 16 && data + 16 <= file.size()) {
            if (littleEndian<quint16>(file, data) != PcmFormat)
                return std::nullopt;
            sound.channels = littleEndian<quint16>(file, data + 2);
            sound.sampleRate = static_cast<int>(littleEndian<quint32>(file, data + 4));
            sound.bitsPerSample = littleEndian<quint16>(file, data + 14);
            formatRead = true;
        } else if (id == "data" && formatRead) {
            sound.samples = file.mid(data, length);
            break;
        }
        at = data + length + (length % 2);
    }
    const bool knownDepth =
        sound.bitsPerSample == 8 || sound.bitsPerSample == 16 || sound.bitsPerSample == 32;
    if (!knownDepth || sound.channels < 1 || sound.sampleRate < 1 || sound.samples.isEmpty())
        return std::nullopt;
    return sound;
}

QByteArray WaveSound::silence(int milliseconds) const
{
    const qsizetype frames = qsizetype(sampleRate) * milliseconds / 1000;
    // Eight-bit samples are unsigned, with silence in the middle.
    return QByteArray(frames * channels * (bitsPerSample / 8), bitsPerSample == 8 ? '\x80' : '\0');
}
