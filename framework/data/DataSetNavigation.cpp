// TDataSet: the window of record buffers and moving through the records.
#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataLink.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"

#include <algorithm>

void TDataSet::ClearBuffers()
{
    m_recordCount = 0;
    m_activeRecord = 0;
    m_currentRecord = -1;
    m_bof = true;
    m_eof = true;
}

void TDataSet::ActivateBuffers()
{
    m_recordCount = 1;
    m_activeRecord = 0;
    m_currentRecord = 0;
    m_bof = false;
    m_eof = false;
}

void TDataSet::MoveBuffer(int from, int to)
{
    if (from == to)
        return;
    std::unique_ptr<TRecordBuffer> moving = std::move(m_buffers[static_cast<size_t>(from)]);
    if (from < to)
        for (int i = from; i < to; ++i)
            m_buffers[static_cast<size_t>(i)] = std::move(m_buffers[static_cast<size_t>(i + 1)]);
    else
        for (int i = from; i > to; --i)
            m_buffers[static_cast<size_t>(i)] = std::move(m_buffers[static_cast<size_t>(i - 1)]);
    m_buffers[static_cast<size_t>(to)] = std::move(moving);
}

void TDataSet::InternalSetToRecord(TRecordBuffer* buffer)
{
    InternalGotoBookmark(buffer->Bookmark);
}

void TDataSet::SetCurrentRecord(int index)
{
    if (m_currentRecord == index)
        return;
    if (!IsUniDirectional()) {
        TRecordBuffer* buffer = Buffer(index);
        switch (buffer->BookmarkFlag) {
        case bfCurrent:
        case bfInserted:
            InternalSetToRecord(buffer);
            break;
        case bfBOF:
            InternalFirst();
            break;
        case bfEOF:
            InternalLast();
            break;
        }
    }
    m_currentRecord = index;
}

void TDataSet::UpdateCursorPos()
{
    if (m_recordCount > 0)
        SetCurrentRecord(m_activeRecord);
}

TGetResult TDataSet::FetchRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck)
{
    for (;;) {
        const TGetResult result = GetRecord(buffer, mode, doCheck);
        if (result != grOK)
            return result;
        buffer->BookmarkFlag = bfCurrent;
        if (!ClientFilterActive()) {
            GetCalcFields(buffer);
            return grOK;
        }
        if (RecordPassesFilter(buffer))
            return grOK;
        // A rejected record: go on in the direction of travel.
        if (mode == gmCurrent)
            mode = gmNext;
    }
}

bool TDataSet::GetNextRecord()
{
    TGetMode mode = gmNext;
    if (m_recordCount > 0) {
        SetCurrentRecord(m_recordCount - 1);
        // The cursor stands on the record a new one was inserted before: that record comes next.
        if (m_state == dsInsert && m_currentRecord == m_activeRecord
            && ActiveBuffer()->BookmarkFlag == bfInserted)
            mode = gmCurrent;
    }
    if (FetchRecord(Buffer(m_recordCount), mode, true) != grOK) {
        CursorPosChanged();
        return false;
    }
    if (m_recordCount == 0)
        ActivateBuffers();
    else if (m_recordCount < m_bufferCount)
        ++m_recordCount;
    else
        MoveBuffer(0, m_recordCount);
    m_currentRecord = m_recordCount - 1;
    return true;
}

bool TDataSet::GetPriorRecord()
{
    if (IsUniDirectional())
        Error(DbText(DbConsts::SDataSetUnidirectional));
    if (m_recordCount > 0)
        SetCurrentRecord(0);
    if (FetchRecord(Buffer(m_recordCount), gmPrior, true) != grOK) {
        CursorPosChanged();
        return false;
    }
    if (m_recordCount == 0) {
        ActivateBuffers();
    } else {
        MoveBuffer(m_recordCount, 0);
        if (m_recordCount < m_bufferCount) {
            ++m_recordCount;
            ++m_activeRecord;
        }
    }
    m_currentRecord = 0;
    return true;
}

int TDataSet::GetNextRecords()
{
    int fetched = 0;
    while (m_recordCount < m_bufferCount && GetNextRecord())
        ++fetched;
    return fetched;
}

int TDataSet::GetPriorRecords()
{
    int fetched = 0;
    while (m_recordCount < m_bufferCount && GetPriorRecord())
        ++fetched;
    return fetched;
}

void TDataSet::SetBufferCount(int count)
{
    if (count == m_bufferCount)
        return;
    std::vector<TDataLink*> links;
    for (const TDataSource* source : m_dataSources)
        for (TDataLink* link : source->m_links)
            links.push_back(link);
    if (count < m_bufferCount) {
        if (m_recordCount > count) {
            // Drop records at the front so that the current one stays in the window.
            const int drop = std::max(0, m_activeRecord - (count - 1));
            std::rotate(m_buffers.begin(), m_buffers.begin() + drop, m_buffers.end());
            m_activeRecord -= drop;
            m_recordCount = std::min(m_recordCount - drop, count);
            for (TDataLink* link : links)
                link->m_firstRecord = std::max(0, link->m_firstRecord - drop);
            CursorPosChanged();
        }
        m_buffers.resize(static_cast<size_t>(count) + 1);
        m_bufferCount = count;
        return;
    }
    while (m_buffers.size() < static_cast<size_t>(count) + 1)
        m_buffers.push_back(NewBuffer());
    m_bufferCount = count;
    if (m_recordCount > 0) {
        GetNextRecords();
        const int added = GetPriorRecords(); // records added at the front shift every window
        for (TDataLink* link : links)
            link->m_firstRecord += added;
    }
}

void TDataSet::First()
{
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    try {
        InternalFirst();
        GetNextRecord();
        GetNextRecords();
    } catch (...) {
        m_bof = true;
        DataEvent(deDataSetChange, 0);
        throw;
    }
    m_bof = true;
    DataEvent(deDataSetChange, 0);
    DoAfterScroll();
}

void TDataSet::Last()
{
    if (IsUniDirectional())
        Error(DbText(DbConsts::SDataSetUnidirectional));
    CheckBrowseMode();
    DoBeforeScroll();
    ClearBuffers();
    try {
        InternalLast();
        GetPriorRecord();
        GetPriorRecords();
    } catch (...) {
        m_eof = true;
        DataEvent(deDataSetChange, 0);
        throw;
    }
    m_eof = true;
    DataEvent(deDataSetChange, 0);
    DoAfterScroll();
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    int moved = 0;
    if (!((distance > 0 && !m_eof) || (distance < 0 && !m_bof)))
        return 0;
    DoBeforeScroll();
    m_bof = false;
    m_eof = false;
    const int oldRecordCount = m_recordCount;
    int scrollDistance = 0; // how far the buffers shifted (negative: towards index 0)
    try {
        while (distance > 0) {
            if (m_activeRecord < m_recordCount - 1) {
                ++m_activeRecord;
            } else {
                const int shift = m_recordCount < m_bufferCount ? 0 : 1;
                if (!GetNextRecord()) {
                    m_eof = true;
                    break;
                }
                scrollDistance -= shift;
                if (shift == 0)
                    ++m_activeRecord;
            }
            --distance;
            ++moved;
        }
        while (distance < 0) {
            if (m_activeRecord > 0) {
                --m_activeRecord;
            } else {
                const int shift = m_recordCount < m_bufferCount ? 0 : 1;
                if (!GetPriorRecord()) {
                    m_bof = true;
                    break;
                }
                scrollDistance += shift;
                if (shift == 0)
                    --m_activeRecord; // GetPriorRecord moved the current record down one
            }
            ++distance;
            --moved;
        }
    } catch (...) {
        DataEvent(m_recordCount != oldRecordCount ? deDataSetChange : deDataSetScroll, scrollDistance);
        throw;
    }
    if (m_recordCount != oldRecordCount)
        DataEvent(deDataSetChange, 0);
    else
        DataEvent(deDataSetScroll, scrollDistance);
    DoAfterScroll();
    return moved;
}

void TDataSet::Resync(TResyncMode mode)
{
    if (m_buffers.empty())
        return; // closed: nothing buffered
    TRecordBuffer* scratch = Buffer(m_recordCount);
    if (mode & rmExact) {
        CursorPosChanged();
        if (FetchRecord(scratch, gmCurrent, true) != grOK)
            Error(DbText(DbConsts::SRecordNotFound));
    } else if (FetchRecord(scratch, gmCurrent, false) != grOK
               && FetchRecord(scratch, gmNext, false) != grOK
               && FetchRecord(scratch, gmPrior, false) != grOK) {
        ClearBuffers();
        DataEvent(deDataSetChange, 0);
        return;
    }
    int count = (mode & rmCenter) ? (m_bufferCount - 1) / 2 : m_activeRecord;
    MoveBuffer(m_recordCount, 0);
    ActivateBuffers();
    try {
        while (count > 0 && GetPriorRecord())
            --count;
        GetNextRecords();
        GetPriorRecords();
    } catch (...) {
        DataEvent(deDataSetChange, 0);
        throw;
    }
    DataEvent(deDataSetChange, 0);
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    DoNotify(BeforeRefresh);
    UpdateCursorPos();
    InternalRefresh();
    Resync(0);
    DoNotify(AfterRefresh);
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    First();
    if (recNo > 1)
        MoveBy(recNo - 1);
}
