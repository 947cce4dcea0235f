#pragma once

#include <QString>
#include <QStringList>

// Subtitle files that belong to a video by their name: "NAME.srt" or
// "NAME.LANG.srt" beside "NAME.mkv", as subtitle sites and players name
// them, in SubRip, ASS/SSA or WebVTT.
class SubtitleSearch final
{
public:
    // The ones beside the video, Chinese first, then the others, each group
    // in name order.
    static QStringList filesBeside(const QString &videoPath);
    // Of the names in a folder, those that belong to the video's base name,
    // in the same order.
    static QStringList matching(const QString &videoBaseName, const QStringList &names);
    // Whether the file keeps styles of its own (ASS/SSA) that are to be
    // kept rather than replaced by a readable default.
    static bool isStyled(const QString &path);
};
