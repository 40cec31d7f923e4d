#include "audio/capturegate.h"

#include <algorithm>

void CCaptureGate::Reset()
{
    std::lock_guard lock(m_mutex);
    m_gaps.clear();
    m_decided = 0;
}

bool CCaptureGate::Pause(std::uint64_t captured)
{
    std::lock_guard lock(m_mutex);
    if (!m_gaps.empty() && m_gaps.back().open)
        return false;
    const std::uint64_t after = m_gaps.empty() ? 0 : m_gaps.back().end;
    m_gaps.push_back({std::max({captured, m_decided, after}), 0, true, false});
    return true;
}

bool CCaptureGate::Resume(std::uint64_t captured)
{
    std::lock_guard lock(m_mutex);
    if (m_gaps.empty() || !m_gaps.back().open)
        return false;
    SGap& gap = m_gaps.back();
    gap.end = std::max({captured, m_decided, gap.start});
    gap.open = false;
    return true;
}

bool CCaptureGate::IsPaused() const
{
    std::lock_guard lock(m_mutex);
    return !m_gaps.empty() && m_gaps.back().open;
}

std::vector<CCaptureGate::SPiece> CCaptureGate::Decide(std::uint64_t from, std::size_t count)
{
    std::lock_guard lock(m_mutex);
    const std::uint64_t to = from + count;
    std::vector<SPiece> pieces;
    std::uint64_t at = from;
    for (SGap& gap : m_gaps) {
        if (gap.start > to)
            break;
        // Kept up to the gap (or the buffer's end), then the gap's stretch is skipped.
        const std::uint64_t keepEnd = std::min(gap.start, to);
        if (keepEnd > at || (!gap.announced && gap.start <= to))
            pieces.push_back({static_cast<std::size_t>(at - from),
                              static_cast<std::size_t>(keepEnd > at ? keepEnd - at : 0),
                              !gap.announced});
        gap.announced = true;
        at = std::max(at, gap.open ? to : std::min(std::max(gap.end, at), to));
        if (gap.open)
            break;
    }
    if (at < to)
        pieces.push_back(
            {static_cast<std::size_t>(at - from), static_cast<std::size_t>(to - at), false});
    // Gaps wholly behind the decided samples matter no longer.
    while (!m_gaps.empty() && !m_gaps.front().open && m_gaps.front().end <= to)
        m_gaps.pop_front();
    m_decided = to;
    return pieces;
}
