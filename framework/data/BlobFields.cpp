#include "framework/data/BlobFields.h"

#include "framework/data/EDatabaseError.h"
#include "platform/SaveFile.h"

#include <QFile>
#include <QSaveFile>

TBlobField::TBlobField(TFieldType type) : TField(type, 0) {}

void TBlobField::LoadFromStream(QIODevice& stream)
{
    SetAsBytes(stream.readAll());
}

void TBlobField::SaveToStream(QIODevice& stream) const
{
    const QByteArray bytes = GetAsBytes();
    if (stream.write(bytes) != bytes.size())
        DatabaseError(stream.errorString());
}

void TBlobField::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        DatabaseError(file.errorString());
    LoadFromStream(file);
}

void TBlobField::SaveToFile(const QString& fileName) const
{
    // Written beside the target and renamed into place: a failed write leaves the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        DatabaseError(file.errorString());
    SaveToStream(file);
    QString reason;
    if (!platform::commitWhole(file, &reason))
        DatabaseError(reason);
}

QString TBlobField::GetAsString() const
{
    return QString::fromLatin1(GetAsBytes());
}

QVariant TBlobField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? QVariant(GetAsBytes()) : QVariant();
}

void TBlobField::AssignString(const QString& value)
{
    if (value.isEmpty())
        Clear();
    else
        SetData(value.toLatin1());
}

void TBlobField::GetText(QString& text, bool displayText) const
{
    if (!displayText) {
        text = GetAsString();
        return;
    }
    const QString name = FieldTypeName(DataType());
    text = QStringLiteral("(%1)").arg(IsNull() ? name.toLower() : name.toUpper());
}

TMemoField::TMemoField(TFieldType type) : TBlobField(type) {}

QString TMemoField::GetAsString() const
{
    QVariant value;
    if (!GetData(value))
        return QString();
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromUtf8(value.toByteArray());
    return value.toString();
}

QByteArray TMemoField::GetAsBytes() const
{
    return GetAsString().toUtf8();
}

QVariant TMemoField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? QVariant(GetAsString()) : QVariant();
}

void TMemoField::AssignString(const QString& value)
{
    if (value.isEmpty())
        Clear();
    else
        SetData(value);
}

void TMemoField::AssignBytes(const QByteArray& value)
{
    AssignString(QString::fromUtf8(value));
}

TGraphicField::TGraphicField() : TBlobField(ftGraphic) {}
