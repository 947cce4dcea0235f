#pragma once

#include <QString>
#include <QStringList>

// An output container: the ffmpeg muxer that writes it, how ffprobe
// recognises it, the codecs it can hold and the ones it gets when the
// command names none.
class Container final
{
public:
    struct Choice
    {
        const Container *container = nullptr;
        QString error;
    };

    // The output file's extension decides whenever the format asked for is
    // unknown, contradicts the extension or cannot hold the codecs; among the
    // containers an extension allows, the first that holds the codecs wins.
    // Empty codec names stand for "whatever the container usually holds".
    static Choice choose(const QString &requested, const QString &outputPath,
                         const QString &videoCodec, const QString &audioCodec);

    QString muxer() const { return m_muxer; }
    // One of the names in ffprobe's format_name list for this container.
    QString probeName() const { return m_probeName; }
    // Prefix of the major brand ffprobe reports for ISO-based containers.
    QString brand() const { return m_brand; }
    bool carriesVideo() const { return !m_videoCodecs.isEmpty(); }
    QString defaultVideoCodec() const { return m_videoCodecs.value(0); }
    QString defaultAudioCodec() const { return m_audioCodecs.value(0); }
    // The largest video frame the container can carry, 0 when unlimited.
    int maxVideoFrameBytes() const { return m_maxVideoFrameBytes; }

    Container(QStringList names, QStringList extensions, QString probeName, QString brand,
              QStringList videoCodecs, QStringList audioCodecs, int maxVideoFrameBytes = 0);

private:
    bool canHold(const QString &videoCodec, const QString &audioCodec) const;

    QStringList m_names; // the first is the muxer
    QString m_muxer;
    QStringList m_extensions;
    QString m_probeName;
    QString m_brand;
    QStringList m_videoCodecs; // the first is the default
    QStringList m_audioCodecs; // the first is the default
    int m_maxVideoFrameBytes;
};
