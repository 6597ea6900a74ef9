// Memo and blob values of the DAO dataset: reading them from their row on
// demand, blob streams, and the text conversions (Encrypter, OEM/ANSI) that
// stored text passes on its way between the engine and the dataset.
#include "daodata/TVoDaoTable.h"

#include "daodata/TVoDaoDatabase.h"
#include "daodata/VoDaoGuid.h"
#include "engine/Field.h"
#include "engine/Recordset.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "platform/CodePages.h"

#include <QMetaProperty>

namespace {

bool isTextType(int daoType) { return daoType == 10 || daoType == 12 || daoType == 18; }
bool isBlobType(int daoType) { return daoType == 11 || daoType == 17; }

// Writes text into one property of the Encrypter and reads the other.
QString passThrough(QObject* encrypter, int in, int out, const QString& text)
{
    const QMetaObject* meta = encrypter->metaObject();
    meta->property(in).write(encrypter, text);
    return meta->property(out).read(encrypter).toString();
}

} // namespace

void TVoDaoTable::SetEncrypter(QObject* encrypter)
{
    encrypter_ = encrypter;
    decodedProperty_ = encodedProperty_ = -1;
    if (Active())
        LookUpEncrypter();
}

void TVoDaoTable::LookUpEncrypter()
{
    decodedProperty_ = encodedProperty_ = -1;
    if (!encrypter_)
        return;
    const QMetaObject* meta = encrypter_->metaObject();
    const auto usable = [meta](int index) {
        if (index < 0)
            return false;
        const QMetaProperty property = meta->property(index);
        return property.metaType().id() == QMetaType::QString && property.isReadable() && property.isWritable();
    };
    const int decoded = meta->indexOfProperty("DecodedString");
    const int encoded = meta->indexOfProperty("EncodedString");
    if (usable(decoded) && usable(encoded)) {
        decodedProperty_ = decoded;
        encodedProperty_ = encoded;
    }
}

QString TVoDaoTable::FromEngineText(int column, const QString& stored) const
{
    if (column < 0 || column >= int(fieldObjects_.size()))
        return stored;
    const int daoType = fieldObjects_[column]->type();
    QString text = stored;
    // Decoding comes first: the Encrypter's output is stored as it is, so
    // that the code-page conversion can never garble it.
    if (encrypter_ && decodedProperty_ >= 0 && (isTextType(daoType) || isBlobType(daoType)))
        text = passThrough(encrypter_, encodedProperty_, decodedProperty_, text);
    if (Translation && isTextType(daoType)) // stored as OEM bytes, shown in the ANSI code page
        text = platform::fromCp850(platform::toCp1252(text));
    return text;
}

QString TVoDaoTable::ToEngineText(int column, const QString& text) const
{
    if (column < 0 || column >= int(fieldObjects_.size()))
        return text;
    const int daoType = fieldObjects_[column]->type();
    QString stored = text;
    if (Translation && isTextType(daoType))
        stored = platform::fromCp1252(platform::toCp850(stored));
    if (encrypter_ && encodedProperty_ >= 0 && (isTextType(daoType) || isBlobType(daoType)))
        stored = passThrough(encrypter_, decodedProperty_, encodedProperty_, stored);
    return stored;
}

bool TVoDaoTable::IsGuidColumn(int column) const
{
    return column >= 0 && column < int(fieldObjects_.size()) && fieldObjects_[column]->type() == 15;
}

QByteArray TVoDaoTable::BytesOfText(int column, const QString& text) const
{
    // A GUID read from its row is held as its 16 bytes, one written by the
    // dataset as its text.
    if (IsGuidColumn(column) && text.size() != 16) {
        const QByteArray bytes = vodao::GuidBytes(text);
        if (bytes.size() == 16)
            return bytes;
    }
    return text.toLatin1();
}

bool TVoDaoTable::HoldsBlobSize(const TVoDaoRecordBuffer* buffer, int column) const
{
    // Only a buffer read from a row holds sizes; new records hold their values.
    if (buffer->BookmarkFlag != bfCurrent || column >= int(buffer->Changed.size()) || buffer->Changed[column])
        return false;
    const TFieldDef* def = FieldDefs().Items(column);
    if (!def)
        return false;
    switch (def->DataType()) {
    case ftMemo:
    case ftFmtMemo: return !CacheMemos;
    case ftBlob:
    case ftGraphic: return !CacheBlobs;
    default: return false;
    }
}

bool TVoDaoTable::ReadBlobValue(const TVoDaoRecordBuffer* buffer, int column, QVariant& value) const
{
    value = QVariant();
    if (!recordset_ || buffer->Texts[column].isEmpty()) // empty: null when the row was read
        return false;
    dao::Variant stored;
    if (bookmarkable_ && buffer->Bookmark.size() == 4) {
        // A copy of the cursor goes to the row, so that the dataset's own
        // cursor and a pending edit on it stay where they are.
        auto copy = recordset_->clone();
        copy->setBookmark(buffer->Bookmark.toStdString());
        stored = copy->currentValue(column);
        copy->close();
    } else if (buffer->RecordNumber == position_ && !recordset_->bof() && !recordset_->eof()) {
        stored = recordset_->currentValue(column); // forward-only: the row under the cursor only
    } else {
        return false;
    }
    if (stored.isNull())
        return false;
    const TFieldType type = FieldDefs().Items(column)->DataType();
    if (type == ftMemo || type == ftFmtMemo)
        value = FromEngineText(column, QString::fromStdString(stored.toText()));
    else
        value = FromEngineText(column, QString::fromLatin1(QByteArray::fromStdString(stored.bytes()))).toLatin1();
    return true;
}

std::unique_ptr<QIODevice> TVoDaoTable::CreateBlobStream(TField* field, TBlobStreamMode mode)
{
    if (mode != bmRead && readOnly_)
        DatabaseError(QStringLiteral("Cannot write to ReadOnly table!"));
    // The framework's stream reads the value through GetFieldData (from the
    // row when not cached) and stores a written value as the field's text.
    return TDataSet::CreateBlobStream(field, mode);
}

int TVoDaoTable::CheckedTableCount(long engineCount) const
{
    auto copy = recordset_->clone();
    copy->moveLast();
    const long counted = copy->recordCount();
    copy->close();
    if (counted != engineCount && WarnOnBadDatabase)
        DatabaseError(QStringLiteral("Database %1 needs to be repaired and compacted!").arg(database_->Database()));
    return int(counted);
}
