#pragma once

#include <QUrl>

#include <functional>

// A file, folder or page opened in the user's program for it by xdg-open,
// whose exit status tells whether anything opened (it is there on desktops
// that have no program to open with).
class XdgOpen final
{
public:
    // failed is called, once, when nothing opened. Opening takes its time,
    // so the answer comes after the call returns.
    static void open(const QUrl &url, std::function<void()> failed);
};
