#pragma once

#include <QChar>

#include <cstddef>

// The spinning character in the progress caption. Both progress parsers
// share one and it is never reset, so it keeps turning across stages and
// jobs: "-", "\", "|", "/", then "-" again.
class ActivityIndicator final
{
public:
    QChar current() const;
    QChar advance();

private:
    std::size_t m_step = 0;
};
