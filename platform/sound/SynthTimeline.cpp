#include "platform/sound/SynthTimeline.h"

#include <algorithm>

void SynthTimeline::OnBlock(std::int64_t now, std::uint64_t position)
{
    const auto origin = now - static_cast<std::int64_t>(static_cast<double>(position) * 1e6 / m_dSampleRate);
    m_origin = m_bSeen ? std::min(m_origin, origin) : origin;
    m_bSeen = true;
    m_recent.push_back(Ask{now, origin});
    while (m_recent.size() > 1 && now - m_recent[1].now >= LATE_SPAN_US)
        m_recent.pop_front();
    if (now - m_recent.front().now < LATE_SPAN_US)
        return;
    const auto earliest = std::min_element(m_recent.begin(), m_recent.end(),
                                           [](const Ask& a, const Ask& b) { return a.origin < b.origin; });
    if (earliest->origin - m_origin >= LATE_BY_US)
        m_origin = earliest->origin;
}

std::int64_t SynthTimeline::PositionOf(std::int64_t when) const
{
    return static_cast<std::int64_t>(static_cast<double>(when - m_origin) * m_dSampleRate / 1e6);
}
