#include "framework/ui/TGridRowCache.h"

#include <algorithm>

TGridRowCache::TGridRowCache(int segmentRows, int maxSegments)
    : m_segmentRows(std::max(1, segmentRows)), m_maxSegments(std::max(1, maxSegments))
{
}

const TGridCachedRow* TGridRowCache::Find(int row)
{
    if (row < 0)
        return nullptr;
    const auto it = m_segments.find(SegmentOf(row));
    if (it == m_segments.end())
        return nullptr;
    const size_t offset = size_t(row % m_segmentRows);
    if (offset >= it->second.rows.size())
        return nullptr;
    it->second.lastUse = ++m_uses;
    return &it->second.rows[offset];
}

void TGridRowCache::Store(int segment, std::vector<TGridCachedRow> rows)
{
    if (int(m_segments.size()) >= m_maxSegments && !m_segments.count(segment)) {
        const auto oldest = std::min_element(m_segments.begin(), m_segments.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        m_segments.erase(oldest);
    }
    Segment& stored = m_segments[segment];
    stored.rows = std::move(rows);
    stored.lastUse = ++m_uses;
}

void TGridRowCache::Clear()
{
    m_segments.clear();
    ++m_generation;
}
