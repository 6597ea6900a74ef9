#pragma once
// A field of a dataset: one column of the current record with its name,
// display settings and typed accessors. The base class serves fields of
// unknown type (values pass through as they are); the subclasses give each
// type its conversions and texts.
#include "framework/data/DbTypes.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>

class TDataSet;

class TField {
public:
    using TFieldNotifyEvent = std::function<void(TField* sender)>;
    using TFieldGetTextEvent = std::function<void(TField* sender, QString& text, bool displayText)>;
    using TFieldSetTextEvent = std::function<void(TField* sender, const QString& text)>;

    explicit TField(TFieldType dataType = ftUnknown, int size = 0);
    virtual ~TField(); // leaves its dataset's field list
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // --- identity and layout ---
    const QString& FieldName() const { return m_fieldName; }
    void SetFieldName(const QString& name);
    QString DisplayLabel() const; // the field name unless set
    void SetDisplayLabel(const QString& label) { m_displayLabel = label; }
    QString DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const;
    void SetDisplayWidth(int width) { m_displayWidth = width; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool Required() const { return m_required; }
    void SetRequired(bool required) { m_required = required; }
    int Size() const { return m_size; }
    void SetSize(int size);
    // A field the database fills on insert needs no value before a post, even when required.
    TAutoRefreshFlag AutoGenerateValue() const { return m_autoGenerateValue; }
    void SetAutoGenerateValue(TAutoRefreshFlag value) { m_autoGenerateValue = value; }
    TFieldType DataType() const { return m_dataType; }
    TFieldKind FieldKind() const { return m_fieldKind; }
    void SetFieldKind(TFieldKind kind);
    bool Calculated() const { return m_fieldKind == fkCalculated || m_fieldKind == fkInternalCalc; }
    bool Lookup() const { return m_fieldKind == fkLookup; }
    // Position in the dataset's field list; setting it moves the field.
    int Index() const;
    void SetIndex(int index);
    // 1-based number of the field definition a data field is bound to; 0 otherwise.
    int FieldNo() const { return m_fieldNo; }
    // Slot of a calculated or lookup field in the buffers' calculated-field area; -1 otherwise.
    int CalcIndex() const { return m_calcIndex; }
    virtual bool IsBlob() const { return false; }
    // The dataset owns the field; setting it moves the field into that dataset's list.
    TDataSet* DataSet() const { return m_dataSet; }
    void SetDataSet(TDataSet* dataSet);
    // Whether a value may be written now (not read-only, dataset open and modifiable).
    bool CanModify() const;

    // --- lookup definition (fkLookup) ---
    TDataSet* LookupDataSet() const { return m_lookupDataSet; }
    // The lookup dataset forgets the field when the field goes, and the field
    // forgets the dataset when the dataset goes.
    void SetLookupDataSet(TDataSet* dataSet);
    const QString& KeyFields() const { return m_keyFields; }
    void SetKeyFields(const QString& names) { m_keyFields = names; }
    const QString& LookupKeyFields() const { return m_lookupKeyFields; }
    void SetLookupKeyFields(const QString& names) { m_lookupKeyFields = names; ClearLookupCache(); }
    const QString& LookupResultField() const { return m_lookupResultField; }
    void SetLookupResultField(const QString& name) { m_lookupResultField = name; ClearLookupCache(); }
    bool LookupCache() const { return m_lookupCache; }
    void SetLookupCache(bool on) { m_lookupCache = on; ClearLookupCache(); }
    void ClearLookupCache() { m_lookupCacheValues.clear(); }

    // --- values ---
    bool IsNull() const;
    void Clear() { SetData(QVariant()); }
    QVariant Value() const { return GetAsVariant(); }
    void SetValue(const QVariant& value) { AssignVariant(value); }
    QVariant AsVariant() const { return GetAsVariant(); }
    void SetAsVariant(const QVariant& value) { AssignVariant(value); }
    QString AsString() const { return GetAsString(); }
    void SetAsString(const QString& value) { AssignString(value); }
    int AsInteger() const { return GetAsInteger(); }
    void SetAsInteger(int value) { AssignLargeInt(value); }
    qint64 AsLargeInt() const { return GetAsLargeInt(); }
    void SetAsLargeInt(qint64 value) { AssignLargeInt(value); }
    double AsFloat() const { return GetAsFloat(); }
    void SetAsFloat(double value) { AssignFloat(value); }
    double AsCurrency() const { return GetAsFloat(); }
    void SetAsCurrency(double value) { AssignFloat(value); }
    bool AsBoolean() const { return GetAsBoolean(); }
    void SetAsBoolean(bool value) { AssignBoolean(value); }
    QDateTime AsDateTime() const { return GetAsDateTime(); }
    void SetAsDateTime(const QDateTime& value) { AssignDateTime(value); }
    QByteArray AsBytes() const { return GetAsBytes(); }
    void SetAsBytes(const QByteArray& value) { AssignBytes(value); }
    // The text shown in a grid (OnGetText with displayText true).
    QString DisplayText() const;
    // The text to edit (OnGetText with displayText false); SetText goes
    // through OnSetText when assigned.
    QString Text() const;
    void SetText(const QString& text);
    // Value of the record before the pending edit (the current value when the
    // dataset keeps no old record).
    QVariant OldValue() const;
    // Asks the data-aware control showing this field to take the focus.
    void FocusControl();

    // Native value: QString (string, memo, GUID types), int (smallint,
    // integer, word, auto-inc), qlonglong (largeint), bool, double (float,
    // currency, BCD), QDate, QTime, QDateTime, QByteArray (bytes, blobs);
    // false and an invalid QVariant for null.
    bool GetData(QVariant& value) const;
    // Stores a native value (or null): runs OnValidate, then the dataset
    // writes it and sends the field change (OnChange, data links).
    void SetData(const QVariant& value);

    // --- events ---
    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

protected:
    virtual QString GetAsString() const;
    virtual int GetAsInteger() const;
    virtual qint64 GetAsLargeInt() const;
    virtual double GetAsFloat() const;
    virtual bool GetAsBoolean() const;
    virtual QDateTime GetAsDateTime() const;
    virtual QByteArray GetAsBytes() const;
    virtual QVariant GetAsVariant() const;
    virtual void AssignString(const QString& value);
    virtual void AssignLargeInt(qint64 value);
    virtual void AssignFloat(double value);
    virtual void AssignBoolean(bool value);
    virtual void AssignDateTime(const QDateTime& value);
    virtual void AssignBytes(const QByteArray& value);
    virtual void AssignVariant(const QVariant& value);
    virtual void GetText(QString& text, bool displayText) const;
    virtual int DefaultDisplayWidth() const { return 10; }

    // "Zugriff auf Feld '<name>' als Typ <type> nicht möglich"
    [[noreturn]] void AccessError(const char* typeName) const;
    // Raises with one of the DbConsts texts filled with the value text.
    [[noreturn]] void ConvertError(const char* text, const QString& value) const;
    void SetDataTypeInternal(TFieldType type) { m_dataType = type; }

private:
    friend class TDataSet;
    friend class TFields;

    QString m_fieldName;
    QString m_displayLabel;
    int m_displayWidth = 0; // 0: the type's default
    bool m_visible = true;
    bool m_readOnly = false;
    bool m_required = false;
    TAutoRefreshFlag m_autoGenerateValue = arNone;
    int m_size;
    TFieldType m_dataType;
    TFieldKind m_fieldKind = fkData;
    int m_fieldNo = 0;
    int m_calcIndex = -1;
    TDataSet* m_dataSet = nullptr;
    bool m_defaultField = false; // created by the dataset from a field definition

    TDataSet* m_lookupDataSet = nullptr;
    QString m_keyFields;
    QString m_lookupKeyFields;
    QString m_lookupResultField;
    bool m_lookupCache = false;
    QHash<QString, QVariant> m_lookupCacheValues;

    // While OnValidate runs, the field reads the value being written.
    bool m_validating = false;
    QVariant m_validateValue;
};
