#pragma once
// Rows a grid has read, cached in segments of consecutive rows: a screen of
// rows costs one read of a segment or two, and the cache stays small however
// large the dataset is. Dropping it starts a new generation, so that nothing
// read before (a reopen, a post) is ever shown again.
#include "framework/data/DbTypes.h"

#include <QString>
#include <QVariant>
#include <cstdint>
#include <unordered_map>
#include <vector>

struct TGridCachedRow {
    TBookmark Bookmark;
    std::vector<QString> Texts;   // display text per column
    std::vector<QVariant> Values; // value per column where the painting needs it (Boolean fields), else invalid
};

class TGridRowCache {
public:
    explicit TGridRowCache(int segmentRows = 64, int maxSegments = 32);

    int SegmentRows() const { return m_segmentRows; }
    int SegmentOf(int row) const { return row / m_segmentRows; }
    // The row when its segment is cached in the current generation, else null.
    const TGridCachedRow* Find(int row);
    // Keeps the rows of a segment (row segment * SegmentRows() + i is rows[i]);
    // the least recently used segment goes when the cache is full.
    void Store(int segment, std::vector<TGridCachedRow> rows);
    void Clear();
    std::uint64_t Generation() const { return m_generation; }
    int CachedSegments() const { return int(m_segments.size()); }

private:
    struct Segment {
        std::vector<TGridCachedRow> rows;
        std::uint64_t lastUse = 0;
    };
    int m_segmentRows;
    int m_maxSegments;
    std::uint64_t m_generation = 0;
    std::uint64_t m_uses = 0;
    std::unordered_map<int, Segment> m_segments;
};
