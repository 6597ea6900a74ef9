#include "framework/data/TField.h"

#include "framework/data/DbConsts.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TDataSet.h"

#include <algorithm>

TField::TField(TFieldType dataType, int size) : m_size(size), m_dataType(dataType) {}

TField::~TField()
{
    SetLookupDataSet(nullptr);
    if (m_dataSet)
        m_dataSet->m_fields.Remove(this);
}

void TField::SetLookupDataSet(TDataSet* dataSet)
{
    if (m_lookupDataSet) {
        auto& clients = m_lookupDataSet->m_lookupClients;
        clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
    }
    m_lookupDataSet = dataSet;
    if (m_lookupDataSet)
        m_lookupDataSet->m_lookupClients.push_back(this);
    ClearLookupCache();
}

void TField::SetFieldName(const QString& name)
{
    if (m_dataSet && name.compare(m_fieldName, Qt::CaseInsensitive) != 0) {
        m_dataSet->CheckInactive();
        if (m_dataSet->FindField(name))
            DatabaseError(DbText(DbConsts::SDuplicateFieldName).arg(name), m_dataSet->Name());
    }
    m_fieldName = name;
}

QString TField::DisplayLabel() const
{
    return m_displayLabel.isEmpty() ? m_fieldName : m_displayLabel;
}

int TField::DisplayWidth() const
{
    return m_displayWidth > 0 ? m_displayWidth : DefaultDisplayWidth();
}

void TField::SetVisible(bool visible)
{
    if (m_visible == visible)
        return;
    m_visible = visible;
    if (m_dataSet && m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange, 0);
}

void TField::SetSize(int size)
{
    if (m_dataSet)
        m_dataSet->CheckInactive();
    m_size = size;
}

void TField::SetFieldKind(TFieldKind kind)
{
    if (m_dataSet)
        m_dataSet->CheckInactive();
    m_fieldKind = kind;
}

int TField::Index() const
{
    return m_dataSet ? m_dataSet->m_fields.IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (!m_dataSet)
        return;
    m_dataSet->m_fields.Move(Index(), index);
    if (m_dataSet->Active())
        m_dataSet->DataEvent(deLayoutChange, 0);
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->CheckInactive();
    if (dataSet) {
        dataSet->CheckInactive();
        if (!m_fieldName.isEmpty() && dataSet->FindField(m_fieldName))
            DatabaseError(DbText(DbConsts::SDuplicateFieldName).arg(m_fieldName), dataSet->Name());
    }
    if (m_dataSet)
        m_dataSet->m_fields.Remove(this);
    m_dataSet = dataSet;
    if (m_dataSet)
        m_dataSet->m_fields.Add(this);
}

bool TField::CanModify() const
{
    if (m_readOnly || !m_dataSet || !m_dataSet->Active() || m_fieldKind == fkCalculated
        || m_fieldKind == fkInternalCalc)
        return false;
    return m_dataSet->CanModify();
}

bool TField::IsNull() const
{
    QVariant value;
    return !GetData(value);
}

QString TField::DisplayText() const
{
    QString text;
    if (OnGetText)
        OnGetText(const_cast<TField*>(this), text, true);
    else
        GetText(text, true);
    return text;
}

QString TField::Text() const
{
    QString text;
    if (OnGetText)
        OnGetText(const_cast<TField*>(this), text, false);
    else
        GetText(text, false);
    return text;
}

void TField::SetText(const QString& text)
{
    if (OnSetText)
        OnSetText(this, text);
    else
        AssignString(text);
}

QVariant TField::OldValue() const
{
    if (!m_dataSet)
        DatabaseError(DbText(DbConsts::SDataSetMissing).arg(DisplayName()));
    return m_dataSet->GetOldFieldValue(this);
}

void TField::FocusControl()
{
    if (!m_dataSet || !m_dataSet->Active())
        return;
    TField* field = this;
    m_dataSet->DataEvent(deFocusControl, reinterpret_cast<std::intptr_t>(&field));
}

bool TField::GetData(QVariant& value) const
{
    if (m_validating) {
        value = m_validateValue;
        return value.isValid();
    }
    if (!m_dataSet)
        DatabaseError(DbText(DbConsts::SDataSetMissing).arg(DisplayName()));
    return m_dataSet->GetFieldValue(this, value);
}

void TField::SetData(const QVariant& value)
{
    if (!m_dataSet)
        DatabaseError(DbText(DbConsts::SDataSetMissing).arg(DisplayName()));
    m_dataSet->SetFieldValue(this, value);
}

QString TField::GetAsString() const
{
    QVariant value;
    if (!GetData(value))
        return QString();
    if (value.typeId() == QMetaType::QByteArray)
        return QString::fromLatin1(value.toByteArray());
    return value.toString();
}

int TField::GetAsInteger() const
{
    AccessError("Integer");
}

qint64 TField::GetAsLargeInt() const
{
    return GetAsInteger();
}

double TField::GetAsFloat() const
{
    AccessError("Float");
}

bool TField::GetAsBoolean() const
{
    AccessError("Boolean");
}

QDateTime TField::GetAsDateTime() const
{
    AccessError("DateTime");
}

QByteArray TField::GetAsBytes() const
{
    QVariant value;
    if (!GetData(value))
        return QByteArray();
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

QVariant TField::GetAsVariant() const
{
    QVariant value;
    return GetData(value) ? value : QVariant();
}

void TField::AssignString(const QString& value)
{
    SetData(value);
}

void TField::AssignLargeInt(qint64)
{
    AccessError("Integer");
}

void TField::AssignFloat(double)
{
    AccessError("Float");
}

void TField::AssignBoolean(bool)
{
    AccessError("Boolean");
}

void TField::AssignDateTime(const QDateTime&)
{
    AccessError("DateTime");
}

void TField::AssignBytes(const QByteArray& value)
{
    SetData(value);
}

void TField::AssignVariant(const QVariant& value)
{
    if (!value.isValid()) {
        Clear();
        return;
    }
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QChar:
        AssignString(value.toString());
        break;
    case QMetaType::Bool:
        AssignBoolean(value.toBool());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        AssignLargeInt(value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        AssignFloat(value.toDouble());
        break;
    case QMetaType::QDateTime:
        AssignDateTime(value.toDateTime());
        break;
    case QMetaType::QDate:
        AssignDateTime(QDateTime(value.toDate(), QTime(0, 0)));
        break;
    case QMetaType::QTime:
        AssignDateTime(QDateTime(QDate(1899, 12, 30), value.toTime()));
        break;
    case QMetaType::QByteArray:
        AssignBytes(value.toByteArray());
        break;
    default:
        AssignString(value.toString());
        break;
    }
}

void TField::GetText(QString& text, bool) const
{
    text = GetAsString();
}

void TField::AccessError(const char* typeName) const
{
    DatabaseError(DbText(DbConsts::SFieldAccessError).arg(DisplayName(), QString::fromLatin1(typeName)));
}

void TField::ConvertError(const char* text, const QString& value) const
{
    DatabaseError(DbText(text).arg(value));
}
