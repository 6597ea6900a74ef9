// Moving the cursor: BOF/EOF, Move*, RecordCount, AbsolutePosition and
// PercentPosition over the keyset slots, and bookmarks.
#include "engine/Recordset.h"

#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace dao {

void Recordset::land(long slot)
{
    slot_ = slot;
    bof_ = eof_ = false;
    visited_ = std::max(visited_, slot + 1);
}

bool Recordset::bof() const
{
    checkOpen();
    return bof_;
}

bool Recordset::eof() const
{
    checkOpen();
    return eof_;
}

long Recordset::recordCount() const
{
    checkOpen();
    const size_t size = rows_->size();
    const size_t deleted = rows_->deletedBefore(SIZE_MAX);
    if (settings_.type == dbOpenTable)
        return static_cast<long>(size - deleted);
    // Rows visited so far of those present at open, plus every row added since, less own deletes among them.
    const size_t base = std::min(static_cast<size_t>(visited_), baseSize_);
    const size_t deletedCounted = rows_->deletedBefore(base) + (deleted - rows_->deletedBefore(baseSize_));
    return static_cast<long>(base + (size - baseSize_) - deletedCounted);
}

long Recordset::absolutePosition() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly || settings_.type == dbOpenTable)
        throw jet::notSupported();
    if (bof_ || eof_)
        return -1;
    if (rows_->deleted(static_cast<size_t>(slot_)))
        throw jet::recordDeleted();
    return slot_ - static_cast<long>(rows_->deletedBefore(static_cast<size_t>(slot_)));
}

double Recordset::percentPosition() const
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    const long count = recordCount();
    if (bof_ || eof_ || count == 0)
        return 0;
    const long position = slot_ - static_cast<long>(rows_->deletedBefore(static_cast<size_t>(slot_)));
    return 100.0 * static_cast<double>(position + 1) / static_cast<double>(count);
}

long Recordset::slotAtPosition(long position) const
{
    if (rows_->deletedBefore(SIZE_MAX) == 0)
        return position;
    // The first slot with position + 1 live slots up to and including it.
    size_t lo = 0, hi = rows_->size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const size_t live = mid + 1 - rows_->deletedBefore(mid + 1);
        if (live > static_cast<size_t>(position))
            hi = mid;
        else
            lo = mid + 1;
    }
    return static_cast<long>(lo);
}

void Recordset::setAbsolutePosition(long position)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly || settings_.type == dbOpenTable)
        throw jet::notSupported();
    if (position < 0 || position >= recordCount()) // only rows counted so far can be reached
        throw jet::invalidArgument();
    discardEdit();
    land(slotAtPosition(position));
}

void Recordset::setPercentPosition(double percent)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (!(percent >= 0 && percent <= 100))
        throw jet::invalidArgument();
    const long count = recordCount();
    if (count == 0)
        throw jet::noCurrentRecord();
    // The row whose own percentage (position + 1) / count lies nearest.
    const long position = std::clamp(std::lround(percent * static_cast<double>(count) / 100.0) - 1, 0L, count - 1);
    discardEdit();
    land(slotAtPosition(position));
}

long Recordset::liveFrom(long from, int step) const
{
    const long size = static_cast<long>(rows_->size());
    for (long s = from; s >= 0 && s < size; s += step)
        if (!rows_->deleted(static_cast<size_t>(s)))
            return s;
    return step > 0 ? size : -1;
}

void Recordset::moveFirst() { moveToEnd(1); }

void Recordset::moveLast()
{
    moveToEnd(-1);
    visited_ = std::max(visited_, static_cast<long>(rows_->size())); // MoveLast populates the whole set
}

void Recordset::moveToEnd(int step)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (rows_->size() == 0)
        throw jet::noCurrentRecord();
    discardEdit();
    const long size = static_cast<long>(rows_->size());
    const long slot = liveFrom(step > 0 ? 0 : size - 1, step);
    if (slot < 0 || slot >= size) { // every row deleted: no row to land on
        slot_ = -1;
        bof_ = eof_ = true;
        return;
    }
    land(slot);
}

void Recordset::moveNext()
{
    checkOpen();
    if (eof_ && (!bof_ || rows_->size() == 0 || slot_ < 0))
        throw jet::noCurrentRecord();
    discardEdit();
    const long next = liveFrom(bof_ ? 0 : slot_ + 1, 1);
    if (next >= static_cast<long>(rows_->size())) {
        slot_ = static_cast<long>(rows_->size());
        visited_ = std::max(visited_, slot_);
        eof_ = true;
        bof_ = false;
        return;
    }
    land(next);
}

void Recordset::movePrevious()
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly)
        throw jet::notSupported();
    if (bof_)
        throw jet::noCurrentRecord();
    discardEdit();
    const long prev = liveFrom(slot_ - 1, -1);
    if (prev < 0) {
        slot_ = -1;
        bof_ = true;
        eof_ = false;
        return;
    }
    land(prev);
}

void Recordset::move(long n)
{
    checkOpen();
    if (settings_.type == dbOpenForwardOnly && n <= 0)
        throw jet::notSupported();
    const long size = static_cast<long>(rows_->size());
    if (size == 0 || (n == 0 && (bof_ || eof_)) || (n < 0 && bof_) || (n > 0 && eof_))
        throw jet::noCurrentRecord();
    discardEdit();
    if (n == 0)
        rows_->refresh(); // Move 0 shows what others changed in the row
    long target = (bof_ ? -1 : slot_) + n;
    if (rows_->deletedBefore(SIZE_MAX) > 0) { // step row by row over deleted slots
        target = bof_ ? -1 : slot_;
        const int step = n > 0 ? 1 : -1;
        for (long i = 0; i != n && target >= 0 && target < size; i += step)
            target = liveFrom(target + step, step);
        if (n == 0 && rows_->deleted(static_cast<size_t>(target)))
            throw jet::recordDeleted();
    }
    if (target < 0) {
        slot_ = -1;
        bof_ = true;
        eof_ = false;
    } else if (target >= size) {
        slot_ = size;
        eof_ = true;
        bof_ = false;
    } else {
        land(target);
    }
}

std::string Recordset::bookmark() const
{
    checkOpen();
    if (!bookmarkable())
        throw jet::notSupported();
    checkCurrentRow();
    return bookmarkOf(slot_);
}

void Recordset::setBookmark(const std::string& bm)
{
    checkOpen();
    if (!bookmarkable())
        throw jet::notSupported();
    if (bm.size() != 4)
        throw jet::invalidBookmark();
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bm[static_cast<size_t>(i)])) << (8 * i);
    if ((v >> 24) != rows_->family() || (v & 0xffffff) < 1 || (v & 0xffffff) > rows_->size())
        throw jet::invalidBookmark(); // of another recordset, or no slot of this one
    const size_t slot = (v & 0xffffff) - 1;
    if (rows_->deleted(slot))
        throw jet::recordDeleted();
    discardEdit();
    land(static_cast<long>(slot));
}

std::string Recordset::lastModified() const
{
    checkOpen();
    if (lastModified_ < 0 || rows_->deleted(static_cast<size_t>(lastModified_)))
        throw jet::noCurrentRecord();
    return bookmarkOf(lastModified_);
}

std::string Recordset::bookmarkOf(long slot) const
{
    const std::uint32_t v = static_cast<std::uint32_t>(slot + 1) | (std::uint32_t{rows_->family()} << 24);
    std::string bm(4, '\0');
    for (int i = 0; i < 4; ++i)
        bm[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xff);
    return bm;
}

} // namespace dao
