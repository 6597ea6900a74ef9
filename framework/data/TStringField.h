#pragma once
// Text field (also used for fixed-char and wide-string types).
#include "framework/data/TField.h"

class TStringField : public TField {
public:
    explicit TStringField(TFieldType type = ftString, int size = 20);

protected:
    QString GetAsString() const override;
    int GetAsInteger() const override;
    qint64 GetAsLargeInt() const override;
    double GetAsFloat() const override;
    bool GetAsBoolean() const override;
    QDateTime GetAsDateTime() const override;
    void AssignString(const QString& value) override;
    void AssignLargeInt(qint64 value) override;
    void AssignFloat(double value) override;
    void AssignBoolean(bool value) override;
    void AssignDateTime(const QDateTime& value) override;
    int DefaultDisplayWidth() const override { return Size() > 0 ? Size() : 20; }
};
