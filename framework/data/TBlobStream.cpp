#include "framework/data/TBlobStream.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSet.h"
#include "framework/data/TField.h"

#include <cstring>

TBlobStream::TBlobStream(TField* field, TBlobStreamMode mode) : m_field(field)
{
    TDataSet* dataSet = field->DataSet();
    if (!dataSet)
        DatabaseError(DbText(DbConsts::SDataSetMissing).arg(field->DisplayName()));
    if (mode != bmRead) {
        if (dataSet->State() != dsEdit && dataSet->State() != dsInsert)
            DatabaseError(DbText(DbConsts::SNotEditing), dataSet->Name());
        if (field->ReadOnly())
            DatabaseError(DbText(DbConsts::SFieldReadOnly).arg(field->DisplayName()));
    }
    if (mode != bmWrite)
        m_data = field->AsBytes();
    else
        m_modified = true; // a write stream replaces the value even when nothing is written
    QIODevice::open(mode == bmRead ? QIODevice::ReadOnly
                    : mode == bmWrite ? QIODevice::WriteOnly : QIODevice::ReadWrite);
}

TBlobStream::~TBlobStream()
{
    try {
        close();
    } catch (const std::exception&) {
        // no exceptions out of a destructor; call close() to see them
    }
}

void TBlobStream::close()
{
    if (!isOpen())
        return;
    QIODevice::close();
    Commit();
}

void TBlobStream::Truncate()
{
    m_data.truncate(pos());
    m_modified = true;
}

qint64 TBlobStream::readData(char* data, qint64 maxSize)
{
    const qint64 available = std::max<qint64>(0, m_data.size() - pos());
    const qint64 count = std::min(available, maxSize);
    if (count > 0)
        std::memcpy(data, m_data.constData() + pos(), static_cast<size_t>(count));
    return count;
}

qint64 TBlobStream::writeData(const char* data, qint64 size)
{
    const qint64 end = pos() + size;
    if (end > m_data.size())
        m_data.resize(end);
    std::memcpy(m_data.data() + pos(), data, static_cast<size_t>(size));
    m_modified = true;
    return size;
}

void TBlobStream::Commit()
{
    if (!m_modified)
        return;
    m_modified = false;
    if (m_data.isEmpty())
        m_field->Clear();
    else
        m_field->SetAsBytes(m_data);
}
