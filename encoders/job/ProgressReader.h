#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

// Reads the "key=value" blocks that "ffmpeg -progress" writes, each closed
// by a "progress=continue" or "progress=end" line. Output arrives in pieces
// cut anywhere, so an unfinished line is kept until the rest comes.
class ProgressReader final
{
public:
    struct Snapshot
    {
        qint64 frame = 0;
        double fps = 0.0;
        double quality = 0.0;
        qint64 totalBytes = 0;
        double outSeconds = 0.0;
        std::optional<double> kilobitsPerSecond;
        bool end = false;
    };

    // The blocks completed by this piece of output, oldest first.
    QList<Snapshot> feed(const QByteArray &output);

private:
    void readLine(const QByteArray &line, QList<Snapshot> &completed);

    QByteArray m_tail;
    Snapshot m_current;
};
