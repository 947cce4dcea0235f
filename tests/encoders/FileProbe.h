#pragma once

#include <QString>

// What ffprobe says about a file, read independently of the encoders' own
// reader and flattened into one comparable line:
// "<format_name> <brand> | v=<codec> <w>x<h> | a=<codec> <rate> <channels>".
struct FileProbe
{
    bool readable = false;
    QString description;
    QString videoFrameRate;
    // Of the first video stream, as ffprobe names them.
    QString videoProfile;
    QString pixelFormat;
    QString videoTag;
    int videoLevel = 0;
    double durationSeconds = 0.0;
    // Of the first audio stream, rounded; 0 when ffprobe gives none.
    int audioKbps = 0;
    // Width over height of the picture as a player shows it: pixel aspect
    // and display matrix applied; 0 without video.
    double displayAspect = 0.0;
    double pixelAspect = 1.0;   // of a stored pixel, before any rotation
    QString containerAndCodecs; // "<format_name> <video codec> <audio codec>"

    static FileProbe of(const QString &ffprobe, const QString &path);
};
