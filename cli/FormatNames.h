#pragma once

#include <QStringView>

#include <array>

// The names zenvora-cli gives the output formats, in the format combo's order.
inline constexpr std::array FormatNames{u"rmvb", u"rm",        u"mpg", u"avi", u"mp4hq",
                                        u"mov",  u"mp4mobile", u"3gp", u"mp3"};
