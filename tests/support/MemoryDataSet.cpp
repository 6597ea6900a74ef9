#include "tests/support/MemoryDataSet.h"

#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/data/TRowReader.h"

#include <QtEndian>

void TMemoryDataSet::AddRow(const QVariantList& values)
{
    m_rows.push_back({m_nextId++, values});
}

TBookmark TMemoryDataSet::MakeBookmark(quint32 id)
{
    TBookmark bookmark(4, '\0');
    qToLittleEndian(id, bookmark.data());
    return bookmark;
}

void TMemoryDataSet::Fill(Buffer* buffer, int pos) const
{
    const Row& row = m_rows[static_cast<size_t>(pos)];
    buffer->values = row.values;
    while (buffer->values.size() < static_cast<qsizetype>(m_columns.size()))
        buffer->values << QVariant();
    buffer->Bookmark = MakeBookmark(row.id);
}

void TMemoryDataSet::InternalInitRecord(TRecordBuffer* buffer)
{
    auto* b = static_cast<Buffer*>(buffer);
    b->values.clear();
    for (size_t i = 0; i < m_columns.size(); ++i)
        b->values << QVariant();
}

TGetResult TMemoryDataSet::GetRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck)
{
    const int count = static_cast<int>(m_rows.size());
    switch (mode) {
    case gmNext:
        if (m_pos >= count - 1) {
            m_pos = count;
            return grEOF;
        }
        ++m_pos;
        break;
    case gmPrior:
        if (m_pos <= 0) {
            m_pos = -1;
            return grBOF;
        }
        --m_pos;
        break;
    case gmCurrent:
        if (m_pos < 0 || m_pos >= count) {
            if (doCheck)
                DatabaseError(QStringLiteral("no current row"));
            return grError;
        }
        break;
    }
    Fill(static_cast<Buffer*>(buffer), m_pos);
    return grOK;
}

void TMemoryDataSet::InternalInitFieldDefs()
{
    for (const Column& column : m_columns)
        FieldDefs().Add(column.name, column.type, column.size, column.required);
}

void TMemoryDataSet::InternalEdit()
{
    m_old = *static_cast<Buffer*>(ActiveBuffer());
}

void TMemoryDataSet::InternalPost()
{
    if (OnStorePost)
        OnStorePost();
    const auto* buffer = static_cast<Buffer*>(ActiveBuffer());
    if (State() == dsEdit) {
        m_rows[static_cast<size_t>(m_pos)].values = buffer->values;
    } else {
        Row row{m_nextId++, buffer->values};
        if (buffer->BookmarkFlag == bfEOF || m_pos >= static_cast<int>(m_rows.size())) {
            m_rows.push_back(row);
            m_pos = static_cast<int>(m_rows.size()) - 1;
        } else {
            m_pos = std::max(m_pos, 0);
            m_rows.insert(m_rows.begin() + m_pos, row);
        }
    }
    ++PostsWritten;
}

void TMemoryDataSet::InternalDelete()
{
    if (OnStoreDelete)
        OnStoreDelete();
    m_rows.erase(m_rows.begin() + m_pos);
    if (m_pos >= static_cast<int>(m_rows.size()))
        m_pos = static_cast<int>(m_rows.size()) - 1;
}

void TMemoryDataSet::InternalGotoBookmark(const TBookmark& bookmark)
{
    if (bookmark.size() != 4)
        DatabaseError(QStringLiteral("Invalid Bookmark!"));
    const quint32 id = qFromLittleEndian<quint32>(bookmark.constData());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id) {
            m_pos = static_cast<int>(i);
            return;
        }
    }
    DatabaseError(QStringLiteral("Invalid Bookmark!"));
}

bool TMemoryDataSet::GetFieldData(const TField* field, const TRecordBuffer* buffer, QVariant& value) const
{
    const auto* b = static_cast<const Buffer*>(buffer);
    const int i = field->FieldNo() - 1;
    value = i >= 0 && i < b->values.size() ? b->values[i] : QVariant();
    return value.isValid();
}

void TMemoryDataSet::SetFieldData(TField* field, TRecordBuffer* buffer, const QVariant& value)
{
    auto* b = static_cast<Buffer*>(buffer);
    b->values[field->FieldNo() - 1] = value;
}

int TMemoryDataSet::RecordCount() const
{
    if (!Active())
        return 0;
    if (!ClientFilterActive())
        return static_cast<int>(m_rows.size());
    // Count by running the filter over every row.
    auto* self = const_cast<TMemoryDataSet*>(this);
    Buffer probe;
    int count = 0;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        Fill(&probe, static_cast<int>(i));
        if (self->RecordPassesFilter(&probe))
            ++count;
    }
    return count;
}

int TMemoryDataSet::RecNo() const
{
    const TBookmark bookmark = const_cast<TMemoryDataSet*>(this)->GetBookmark();
    if (bookmark.isEmpty())
        return -1;
    const quint32 id = qFromLittleEndian<quint32>(bookmark.constData());
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id)
            return static_cast<int>(i) + 1;
    return -1;
}

// Reads the stored rows; while filtered, the positions count the accepted rows only.
class TMemoryDataSet::Reader : public TRowReader {
public:
    explicit Reader(TMemoryDataSet& dataSet) : m_dataSet(dataSet)
    {
        Buffer probe;
        for (size_t i = 0; i < dataSet.m_rows.size(); ++i) {
            dataSet.Fill(&probe, static_cast<int>(i));
            if (!dataSet.ClientFilterActive() || dataSet.RecordPassesFilter(&probe))
                m_rows.push_back(static_cast<int>(i));
        }
    }

    int ReadRows(int first, int count, TRecordBuffer& buffer, const std::function<void(int)>& rowRead) override
    {
        int read = 0;
        for (int position = std::max(first, 0); read < count && position < static_cast<int>(m_rows.size());
             ++position, ++read) {
            m_dataSet.Fill(static_cast<Buffer*>(&buffer), m_rows[static_cast<size_t>(position)]);
            ++m_dataSet.RowsReadByReaders;
            rowRead(position);
        }
        return read;
    }

private:
    TMemoryDataSet& m_dataSet;
    std::vector<int> m_rows;
};

std::unique_ptr<TRowReader> TMemoryDataSet::CreateRowReader()
{
    if (!OffersRowReader || !Active())
        return nullptr;
    return std::make_unique<Reader>(*this);
}
