#pragma once
// The last numbers captured into the active list, newest first, each with
// the entry it was stored as and what its scan found.
#include "stocktaking/ScanResult.h"

#include <deque>
#include <optional>

namespace capture {

struct RecentScan {
    int entryIdx = 0; // IDX of the stored entry
    ScanResult scan;
};

class RecentScans {
public:
    static constexpr std::size_t Size = 10;

    // Puts a stored entry first; the oldest beyond Size drops out.
    void Add(int entryIdx, const ScanResult& scan)
    {
        scans_.push_front({entryIdx, scan});
        if (scans_.size() > Size)
            scans_.pop_back();
    }
    // Drops a deleted entry; the row it had, nothing when it is not among them.
    std::optional<std::size_t> Remove(int entryIdx)
    {
        for (auto it = scans_.begin(); it != scans_.end(); ++it)
            if (it->entryIdx == entryIdx) {
                const auto row = std::size_t(it - scans_.begin());
                scans_.erase(it);
                return row;
            }
        return std::nullopt;
    }
    void Clear() { scans_.clear(); }
    const std::deque<RecentScan>& Items() const { return scans_; }

private:
    std::deque<RecentScan> scans_;
};

} // namespace capture
