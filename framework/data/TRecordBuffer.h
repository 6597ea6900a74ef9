#pragma once
// One record buffer of a dataset. A concrete dataset derives its own buffer
// from this one (adding its record data) and hands it out from
// AllocRecordBuffer; the framework keeps the bookmark, its flag and the
// calculated-field area here.
#include "framework/data/DbTypes.h"

#include <QVariant>
#include <vector>

struct TRecordBuffer {
    virtual ~TRecordBuffer() = default;

    TBookmarkFlag BookmarkFlag = bfCurrent;
    // Filled by the concrete dataset when it reads the record (empty when the
    // dataset has no bookmarks).
    TBookmark Bookmark;
    // Values of the calculated and lookup fields, by TField::CalcIndex();
    // an invalid QVariant is null. Managed by the framework.
    std::vector<QVariant> CalcValues;
};
