#pragma once
// Whole-number fields. The native value is int (qlonglong for TLargeintField);
// writes outside the type's range, or outside MinValue..MaxValue when either
// is set, raise the range error.
#include "framework/data/TField.h"

class TIntegerField : public TField {
public:
    TIntegerField();
    qint64 MinValue() const { return m_minValue; }
    void SetMinValue(qint64 value) { m_minValue = value; }
    qint64 MaxValue() const { return m_maxValue; }
    void SetMaxValue(qint64 value) { m_maxValue = value; }

protected:
    TIntegerField(TFieldType type, qint64 minRange, qint64 maxRange);
    QString GetAsString() const override;
    int GetAsInteger() const override;
    qint64 GetAsLargeInt() const override;
    double GetAsFloat() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void AssignLargeInt(qint64 value) override;
    void AssignFloat(double value) override;
    int DefaultDisplayWidth() const override { return 10; }
    virtual QVariant MakeNative(qint64 value) const { return QVariant(static_cast<int>(value)); }

private:
    qint64 m_minRange;
    qint64 m_maxRange;
    qint64 m_minValue = 0;
    qint64 m_maxValue = 0;
};

class TSmallintField : public TIntegerField {
public:
    TSmallintField();
};

class TWordField : public TIntegerField {
public:
    TWordField();
};

class TAutoIncField : public TIntegerField {
public:
    TAutoIncField();
};

class TLargeintField : public TIntegerField {
public:
    TLargeintField();

protected:
    QVariant MakeNative(qint64 value) const override { return QVariant(static_cast<qlonglong>(value)); }
    int DefaultDisplayWidth() const override { return 15; }
};
