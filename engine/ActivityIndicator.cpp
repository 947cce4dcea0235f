#include "ActivityIndicator.h"

#include <array>

namespace {

constexpr std::array<char16_t, 4> Cycle{u'-', u'\\', u'|', u'/'};

} // namespace

QChar ActivityIndicator::current() const
{
    return Cycle.at(m_step);
}

QChar ActivityIndicator::advance()
{
    m_step = (m_step + 1) % Cycle.size();
    return current();
}
