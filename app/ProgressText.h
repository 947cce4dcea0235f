#pragma once

#include "engine/Progress.h"

#include <QString>

// The progress in words, the same in the window and in zenvora-cli: what
// the encoder is doing and how far it is.
class ProgressText final
{
public:
    // The caption beside the bar, with the spinning activity indicator
    // after the word: "转换中\ 42%", "创建中| 9.52%", "创建中- 已转换 1:05",
    // "结束 100%", "完成 100%".
    static QString caption(const Progress &progress);
    // The same for a log line, without the indicator: "转换中 42%".
    static QString line(const Progress &progress);
    // A time left: "1:20", or "1:02:03" from an hour on.
    static QString clock(qint64 seconds);
};
