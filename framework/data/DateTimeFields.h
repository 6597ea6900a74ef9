#pragma once
// Date and time fields. Native values: QDateTime (TDateTimeField), QDate
// (TDateField), QTime (TTimeField); AsDateTime always gives a QDateTime (a
// time alone on 1899-12-30), AsFloat the classic date-time number.
// DisplayFormat, when set, is a Qt date-time format for the display text.
#include "framework/data/TField.h"

class TDateTimeField : public TField {
public:
    TDateTimeField();
    const QString& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString& format) { m_displayFormat = format; }

protected:
    explicit TDateTimeField(TFieldType type);
    QString GetAsString() const override;
    double GetAsFloat() const override;
    QDateTime GetAsDateTime() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void AssignFloat(double value) override;
    void AssignDateTime(const QDateTime& value) override;
    void GetText(QString& text, bool displayText) const override;
    int DefaultDisplayWidth() const override;

private:
    QString m_displayFormat;
};

class TDateField : public TDateTimeField {
public:
    TDateField();
};

class TTimeField : public TDateTimeField {
public:
    TTimeField();
};
