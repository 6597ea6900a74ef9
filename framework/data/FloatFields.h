#pragma once
// Floating-point fields (native double). Currency fields show their display
// text as money; BCD values are held as double as well.
#include "framework/data/TField.h"

class TFloatField : public TField {
public:
    TFloatField();
    bool Currency() const { return m_currency; }
    void SetCurrency(bool on) { m_currency = on; }
    int Precision() const { return m_precision; }
    void SetPrecision(int digits) { m_precision = digits; }
    double MinValue() const { return m_minValue; }
    void SetMinValue(double value) { m_minValue = value; }
    double MaxValue() const { return m_maxValue; }
    void SetMaxValue(double value) { m_maxValue = value; }

protected:
    explicit TFloatField(TFieldType type);
    QString GetAsString() const override;
    int GetAsInteger() const override;
    double GetAsFloat() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void AssignLargeInt(qint64 value) override;
    void AssignFloat(double value) override;
    void GetText(QString& text, bool displayText) const override;

private:
    bool m_currency = false;
    int m_precision = 15;
    double m_minValue = 0;
    double m_maxValue = 0;
};

class TCurrencyField : public TFloatField {
public:
    TCurrencyField();
};

class TBCDField : public TFloatField {
public:
    TBCDField();
};
