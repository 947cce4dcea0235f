#pragma once

#include <QByteArray>

#include <optional>

// The samples of a PCM WAV file and their layout, read without a sound device.
struct WaveSound
{
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0; // 8 (unsigned), 16 or 32
    QByteArray samples;

    // Nothing for anything but uncompressed 8, 16 or 32-bit PCM.
    static std::optional<WaveSound> read(const QByteArray &file);
    QByteArray silence(int milliseconds) const;
};
