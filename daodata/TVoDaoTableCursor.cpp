// Reading, navigation, bookmarks and counting of the DAO dataset.
#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/VoDaoGuid.h"
#include "engine/DaoError.h"
#include "engine/Field.h"
#include "engine/JetErrors.h"
#include "engine/Recordset.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

#include <QDate>

namespace {

bool isLazyBlob(TFieldType type) { return type == ftMemo || type == ftFmtMemo || type == ftBlob || type == ftGraphic; }

} // namespace

std::unique_ptr<TRecordBuffer> TVoDaoTable::AllocRecordBuffer() { return std::make_unique<TVoDaoRecordBuffer>(); }

void TVoDaoTable::InternalInitRecord(TRecordBuffer* buffer)
{
    auto* b = static_cast<TVoDaoRecordBuffer*>(buffer);
    b->Texts = defaults_;
    b->Texts.resize(fieldObjects_.size());
    b->Changed.assign(fieldObjects_.size(), false);
}

QString TVoDaoTable::ValueText(int column) const
{
    const dao::Variant& v = recordset_->currentValue(column);
    const TFieldDef* def = FieldDefs().Items(column);
    if (def && isLazyBlob(def->DataType()) && !((def->DataType() == ftMemo || def->DataType() == ftFmtMemo)
                                                    ? CacheMemos
                                                    : CacheBlobs))
        return v.isNull() ? QString() : QString::number(fieldObjects_[column]->fieldSize());
    switch (v.type()) {
    case dao::VarType::Null: return {};
    case dao::VarType::Boolean: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case dao::VarType::Byte:
    case dao::VarType::Integer:
    case dao::VarType::Long: return QString::number(v.toInt64());
    case dao::VarType::Currency:
    case dao::VarType::Single:
    case dao::VarType::Double: return QString::fromStdString(dao::formatDouble(v.toDouble()));
    case dao::VarType::Date: return TimeStampText(NumberToDateTime(v.toDouble()));
    case dao::VarType::Text: return FromEngineText(column, QString::fromStdString(v.toText()));
    case dao::VarType::Binary:
    case dao::VarType::Guid: return FromEngineText(column, QString::fromLatin1(QByteArray::fromStdString(v.bytes())));
    }
    return {};
}

int TVoDaoTable::CursorPosition() const
{
    // Forward-only recordsets have no AbsolutePosition: count along.
    if (tableType_ == 8)
        return position_;
    // Nor have table-type ones: their row's place among the rows the keyset
    // still holds, so that it is right also after a jump to a bookmark or a seek.
    if (tableType_ == 1) {
        const long slot = recordset_->slot();
        if (slot < 0 || slot >= long(recordset_->size()))
            return position_;
        return int(slot - long(recordset_->rows().deletedBefore(size_t(slot))));
    }
    return int(recordset_->absolutePosition());
}

void TVoDaoTable::FetchInto(TVoDaoRecordBuffer* buffer)
{
    buffer->RecordNumber = position_ = CursorPosition();
    buffer->Texts.resize(fieldObjects_.size());
    buffer->Changed.assign(fieldObjects_.size(), false);
    for (size_t i = 0; i < fieldObjects_.size(); ++i)
        buffer->Texts[i] = ValueText(int(i));
    buffer->BookmarkFlag = bfCurrent;
    buffer->Bookmark = bookmarkable_ ? TBookmark::fromStdString(recordset_->bookmark()) : TBookmark();
}

TGetResult TVoDaoTable::GetRecord(TRecordBuffer* buffer, TGetMode mode, bool doCheck)
{
    if (!recordset_)
        return grError;
    dao::Recordset& rs = *recordset_;
    switch (mode) {
    case gmNext:
        if (rs.eof())
            return grEOF;
        if (forwardOnFirst_)
            forwardOnFirst_ = false; // a forward-only set starts on its first row
        else
            rs.moveNext();
        if (rs.eof())
            return grEOF;
        ++position_;
        break;
    case gmPrior:
        if (rs.bof())
            return grBOF;
        rs.movePrevious();
        if (rs.bof())
            return grBOF;
        --position_;
        break;
    case gmCurrent:
        if (rs.bof() || rs.eof()) {
            if (doCheck)
                throw dao::jet::noCurrentRecord();
            return grError;
        }
        break;
    }
    FetchInto(static_cast<TVoDaoRecordBuffer*>(buffer));
    return grOK;
}

void TVoDaoTable::InternalFirst()
{
    position_ = -1;
    dao::Recordset& rs = *recordset_;
    if (rs.bof() && rs.eof())
        return;
    if (tableType_ == 8) {
        forwardOnFirst_ = !rs.eof();
        return;
    }
    rs.moveFirst();
    rs.movePrevious();
}

void TVoDaoTable::InternalLast()
{
    dao::Recordset& rs = *recordset_;
    if (rs.bof() && rs.eof()) {
        position_ = -1;
        return;
    }
    if (tableType_ == 8) {
        forwardOnFirst_ = false;
        while (!rs.eof()) {
            rs.moveNext();
            ++position_;
        }
        return;
    }
    rs.moveLast();
    rs.moveNext();
    position_ = int(rs.recordCount());
    if (tableType_ == 1 && (position_ < 1 || position_ > long(rs.size())))
        position_ = CheckedTableCount(position_); // the engine's count of the table is off
}

void TVoDaoTable::MoveToRecordNumber(int recordNumber)
{
    dao::Recordset& rs = *recordset_;
    rs.moveFirst();
    if (recordNumber > 0)
        rs.move(recordNumber);
    position_ = recordNumber;
}

void TVoDaoTable::InternalGotoBookmark(const TBookmark& bookmark)
{
    if (!recordset_)
        DatabaseError(QStringLiteral("TVoDaoTable.InternalGotoBookmark: Cannot goto Bookmark - Table is not Active"));
    if (!bookmarkable_)
        DatabaseError(QStringLiteral("Bookmarks are not supported!"));
    if (bookmark.size() != 4)
        DatabaseError(QStringLiteral("Invalid Bookmark!"));
    if (bookmark == TBookmark(4, '\0'))
        DatabaseError(QStringLiteral("Bookmarks are not supported!"));
    try {
        recordset_->setBookmark(bookmark.toStdString());
    } catch (const dao::DaoError&) {
        DatabaseError(QStringLiteral("Invalid Bookmark!"));
    }
    position_ = CursorPosition();
}

void TVoDaoTable::InternalSetToRecord(TRecordBuffer* buffer)
{
    if (tableType_ == 8 || !recordset_)
        return;
    const auto* b = static_cast<TVoDaoRecordBuffer*>(buffer);
    if (bookmarkable_ && b->Bookmark.size() == 4 && State() != dsEdit && State() != dsInsert) {
        recordset_->setBookmark(b->Bookmark.toStdString());
        position_ = b->RecordNumber;
    } else if (b->RecordNumber >= 0 && b->RecordNumber < long(recordset_->size())) {
        MoveToRecordNumber(b->RecordNumber);
    }
}

int TVoDaoTable::RecordCount() const
{
    if (!recordset_ || tableType_ == 8)
        return -1;
    if (UseRecordCount && !countStale_)
        return cachedCount_;
    const dao::Recordset& rs = *recordset_;
    if (rs.bof() && rs.eof()) {
        cachedCount_ = 0;
    } else if (ClientFilterActive()) {
        cachedCount_ = WalkAcceptedRows(TBookmark());
    } else if (tableType_ == 1) {
        cachedCount_ = WarnOnBadDatabase ? CheckedTableCount(rs.recordCount()) : int(rs.recordCount());
    } else {
        // As DAO counts a dynaset: a copy moved to its last row.
        auto copy = rs.clone();
        copy->moveLast();
        cachedCount_ = int(copy->recordCount());
        copy->close();
    }
    countStale_ = false;
    return cachedCount_;
}

int TVoDaoTable::RecNo() const
{
    if (!UseGetRecNo || tableType_ == 8 || !recordset_ || !Active() || IsEmpty())
        return -1;
    if (State() == dsInsert)
        return -1;
    const auto* b = static_cast<const TVoDaoRecordBuffer*>(ActiveBuffer());
    if (b && ClientFilterActive())
        return bookmarkable_ && !b->Bookmark.isEmpty() ? WalkAcceptedRows(b->Bookmark) : -1;
    return b && b->RecordNumber >= 0 ? b->RecordNumber + 1 : -1;
}

void TVoDaoTable::SetRecNo(int recNo) { TDataSet::SetRecNo(recNo); }

bool TVoDaoTable::GetFieldData(const TField* field, const TRecordBuffer* buffer, QVariant& value) const
{
    value = QVariant();
    const auto* b = static_cast<const TVoDaoRecordBuffer*>(buffer);
    const int index = field->FieldNo() - 1;
    if (!b || index < 0 || index >= int(b->Texts.size()))
        return false;
    QString text = b->Texts[index];
    const TFieldType type = field->DataType();
    if (HoldsBlobSize(b, index)) // memo and blob values are read from the row when asked for
        return ReadBlobValue(b, index, value);
    if (text.isEmpty())
        return false;
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: value = text.toInt(); break;
    case ftLargeint: value = text.toLongLong(); break;
    case ftBoolean: {
        bool b2 = false;
        if (!TextToBoolean(text, b2))
            return false;
        value = b2;
        break;
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD: value = text.toDouble(); break;
    case ftDate:
    case ftTime:
    case ftDateTime: {
        QDateTime dt;
        if (!ParseTimeStampText(text, dt))
            return false;
        value = type == ftDate ? QVariant(dt.date()) : type == ftTime ? QVariant(dt.time()) : QVariant(dt);
        break;
    }
    case ftBytes:
    case ftVarBytes: value = BytesOfText(index, text); break;
    case ftBlob:
    case ftGraphic:
    case ftTypedBinary: value = text.toLatin1(); break;
    default: value = text; break;
    }
    return true;
}

void TVoDaoTable::SetFieldData(TField* field, TRecordBuffer* buffer, const QVariant& value)
{
    auto* b = static_cast<TVoDaoRecordBuffer*>(buffer);
    const int index = field->FieldNo() - 1;
    if (!b || index < 0 || index >= int(b->Texts.size()))
        return;
    if (index < int(writable_.size()) && !writable_[index])
        return; // writes to read-only fields are ignored
    QString text;
    if (value.isValid() && !value.isNull()) {
        switch (value.typeId()) {
        case QMetaType::Bool: text = value.toBool() ? QStringLiteral("True") : QStringLiteral("False"); break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong: text = QString::number(value.toLongLong()); break;
        case QMetaType::Double: text = QString::fromStdString(dao::formatDouble(value.toDouble())); break;
        case QMetaType::QDate: text = TimeStampText(QDateTime(value.toDate(), QTime(0, 0))); break;
        case QMetaType::QTime: text = TimeStampText(QDateTime(QDate(1899, 12, 30), value.toTime())); break;
        case QMetaType::QDateTime: text = TimeStampText(value.toDateTime()); break;
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            text = IsGuidColumn(index) && bytes.size() == 16 ? vodao::GuidText(bytes) : QString::fromLatin1(bytes);
            break;
        }
        default: text = value.toString(); break;
        }
    }
    b->Texts[index] = text;
    b->Changed[index] = true;
}

