// TDataSet: calculated and lookup fields, the per-record filter, bookmarks,
// searching by walking the cursor, blob streams.
#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TBlobStream.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TRowReader.h"
#include "framework/data/TField.h"


// ------------------------------------------------------ calculated fields

void TDataSet::ClearCalcFields(TRecordBuffer* buffer)
{
    buffer->CalcValues.assign(static_cast<size_t>(m_calcFieldCount), QVariant());
}

void TDataSet::GetCalcFields(TRecordBuffer* buffer)
{
    if (m_calcFieldCount == 0 || !buffer)
        return;
    const TDataSetState saved = SetTempState(dsCalcFields);
    try {
        CalculateFields(buffer);
    } catch (...) {
        RestoreState(saved);
        throw;
    }
    RestoreState(saved);
}

void TDataSet::CalculateFields(TRecordBuffer* buffer)
{
    m_calcBuffer = buffer;
    ClearCalcFields(buffer);
    for (TField* field : m_fields)
        if (field->Lookup())
            CalcLookupValue(field);
    DoNotify(OnCalcFields);
}

void TDataSet::UpdateCalcFields()
{
    if (m_calcFieldCount > 0 && m_autoCalcFields && (m_state == dsEdit || m_state == dsInsert))
        GetCalcFields(ActiveBuffer());
}

void TDataSet::CalcLookupValue(TField* field)
{
    QVariant result;
    TDataSet* lookupSet = field->LookupDataSet();
    if (lookupSet && lookupSet->Active()) {
        const std::vector<TField*> keys = GetFieldList(field->KeyFields());
        QVariant keyValues;
        QString cacheKey;
        if (keys.size() == 1) {
            keyValues = keys.front()->Value();
            cacheKey = keys.front()->AsString();
        } else {
            QVariantList list;
            for (const TField* key : keys) {
                list << key->Value();
                cacheKey += key->AsString() + QChar(0x1f);
            }
            keyValues = list;
        }
        if (field->LookupCache() && field->m_lookupCacheValues.contains(cacheKey)) {
            result = field->m_lookupCacheValues.value(cacheKey);
        } else {
            result = lookupSet->Lookup(field->LookupKeyFields(), keyValues, field->LookupResultField());
            if (field->LookupCache())
                field->m_lookupCacheValues.insert(cacheKey, result);
        }
    }
    const int slot = field->CalcIndex();
    if (slot >= 0 && slot < static_cast<int>(m_calcBuffer->CalcValues.size()))
        m_calcBuffer->CalcValues[static_cast<size_t>(slot)] = result;
}

// ---------------------------------------------------------------- filtering

bool TDataSet::RecordPassesFilter(TRecordBuffer* buffer)
{
    GetCalcFields(buffer);
    if (!m_onFilterRecord)
        return true;
    bool accept = true;
    ReadingBuffer(buffer, [&] { m_onFilterRecord(this, accept); });
    return accept;
}

void TDataSet::ReadingBuffer(TRecordBuffer* buffer, const std::function<void()>& body)
{
    // The filter state's buffer: a temporary state that sends no notification.
    TRecordBuffer* savedBuffer = m_filterBuffer;
    const TDataSetState saved = SetTempState(dsFilter);
    m_filterBuffer = buffer;
    try {
        body();
    } catch (...) {
        m_filterBuffer = savedBuffer;
        RestoreState(saved);
        throw;
    }
    m_filterBuffer = savedBuffer;
    RestoreState(saved);
}

// ---------------------------------------------------------------- bookmarks

TBookmark TDataSet::GetBookmark() const
{
    if ((m_state != dsBrowse && m_state != dsEdit && m_state != dsInsert) || IsEmpty())
        return TBookmark();
    const TRecordBuffer* buffer = ActiveBuffer();
    return buffer->BookmarkFlag == bfCurrent ? buffer->Bookmark : TBookmark();
}

void TDataSet::GotoBookmark(const TBookmark& bookmark)
{
    if (bookmark.isEmpty())
        return;
    CheckBrowseMode();
    DoBeforeScroll();
    InternalGotoBookmark(bookmark);
    Resync(rmExact | rmCenter);
    DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark)
{
    if (!Active() || bookmark.isEmpty())
        return false;
    bool valid = false;
    try {
        InternalGotoBookmark(bookmark);
        valid = GetRecord(WalkBuffer(), gmCurrent, false) == grOK;
    } catch (const std::exception&) {
        valid = false;
    }
    CursorPosChanged();
    return valid;
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    if (a.isEmpty() || b.isEmpty())
        return (a.isEmpty() ? 0 : 1) - (b.isEmpty() ? 0 : 1);
    if (a == b)
        return 0;
    if (a.size() == b.size() && a.size() <= 8) {
        // Short bookmarks are little-endian numbers.
        quint64 x = 0;
        quint64 y = 0;
        for (qsizetype i = a.size() - 1; i >= 0; --i) {
            x = (x << 8) | static_cast<quint8>(a[i]);
            y = (y << 8) | static_cast<quint8>(b[i]);
        }
        return x < y ? -1 : 1;
    }
    return a < b ? -1 : 1;
}

// ---------------------------------------------------------------- searching

TRecordBuffer* TDataSet::WalkBuffer()
{
    if (!m_walkBuffer)
        m_walkBuffer = NewBuffer();
    return m_walkBuffer.get();
}

bool TDataSet::WalkRecords(const std::function<bool()>& match)
{
    TRecordBuffer* buffer = WalkBuffer();
    TRecordBuffer* savedCalcBuffer = m_calcBuffer;
    CursorPosChanged();
    InternalFirst();
    bool found = false;
    try {
        while (!found && FetchRecord(buffer, gmNext, false) == grOK) {
            const TDataSetState saved = SetTempState(dsCalcFields);
            m_calcBuffer = buffer;
            try {
                found = match();
            } catch (...) {
                RestoreState(saved);
                throw;
            }
            RestoreState(saved);
        }
    } catch (...) {
        m_calcBuffer = savedCalcBuffer;
        CursorPosChanged();
        throw;
    }
    m_calcBuffer = savedCalcBuffer;
    CursorPosChanged();
    return found;
}

namespace {

bool IsTextField(const TField* field)
{
    switch (field->DataType()) {
    case ftString: case ftFixedChar: case ftWideString: case ftMemo: case ftFmtMemo: case ftGuid:
        return true;
    default:
        return false;
    }
}

QVariantList KeyValueList(const QVariant& keyValues, size_t keyCount)
{
    if (keyCount == 1 && keyValues.typeId() != QMetaType::QVariantList)
        return {keyValues};
    return keyValues.toList();
}

} // namespace

bool TDataSet::KeysMatch(const std::vector<TField*>& fields, const QVariantList& values,
                         TLocateOptions options) const
{
    for (size_t i = 0; i < fields.size(); ++i) {
        const TField* field = fields[i];
        const QVariant& key = values[static_cast<qsizetype>(i)];
        const QVariant value = field->Value();
        if (!key.isValid() || !value.isValid()) {
            if (key.isValid() != value.isValid())
                return false;
            continue;
        }
        if (IsTextField(field)) {
            const Qt::CaseSensitivity cs =
                (options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
            const QString text = field->AsString();
            const QString wanted = key.toString();
            if ((options & loPartialKey) ? !text.startsWith(wanted, cs) : text.compare(wanted, cs) != 0)
                return false;
            continue;
        }
        QVariant converted = key;
        if (!converted.convert(value.metaType()) || converted != value)
            return false;
    }
    return true;
}

bool TDataSet::Locate(const QString& keyFields, const QVariant& keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    const std::vector<TField*> fields = GetFieldList(keyFields);
    const QVariantList values = KeyValueList(keyValues, fields.size());
    if (fields.empty() || static_cast<size_t>(values.size()) != fields.size())
        Error(DbText(DbConsts::SFieldIndexError));
    if (IsEmpty())
        return false;
    const bool found = WalkRecords([&] { return KeysMatch(fields, values, options); });
    if (found) {
        // The cursor stands on the record found: rebuild the window around it.
        DoBeforeScroll();
        Resync(rmExact | rmCenter);
        DoAfterScroll();
    }
    return found;
}

QVariant TDataSet::Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields)
{
    if (!Active())
        return QVariant();
    const std::vector<TField*> fields = GetFieldList(keyFields);
    const std::vector<TField*> results = GetFieldList(resultFields);
    const QVariantList values = KeyValueList(keyValues, fields.size());
    if (fields.empty() || static_cast<size_t>(values.size()) != fields.size())
        Error(DbText(DbConsts::SFieldIndexError));
    QVariant result;
    WalkRecords([&] {
        if (!KeysMatch(fields, values, 0))
            return false;
        if (results.size() == 1) {
            result = results.front()->Value();
        } else {
            QVariantList list;
            for (const TField* field : results)
                list << field->Value();
            result = list;
        }
        return true;
    });
    return result;
}

bool TDataSet::FindRecord(bool, bool)
{
    return false;
}

// ---------------------------------------------------------------- blobs

std::unique_ptr<QIODevice> TDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode)
{
    return std::make_unique<TBlobStream>(field, mode);
}

// ------------------------------------------------------------ reading by position

int TDataSet::ReadRows(TRowReader& reader, int first, int count,
                       const std::function<void(int position, const TBookmark& bookmark)>& visit)
{
    if (!Active() || count <= 0)
        return 0;
    std::unique_ptr<TRecordBuffer> buffer = NewBuffer();
    return reader.ReadRows(first, count, *buffer, [&](int position) {
        GetCalcFields(buffer.get());
        ReadingBuffer(buffer.get(), [&] { visit(position, buffer->Bookmark); });
    });
}
