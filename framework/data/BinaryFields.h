#pragma once
// Fixed and variable binary fields (native QByteArray). AsString gives the
// raw bytes as Latin-1 text; the display text names the type.
#include "framework/data/TField.h"

class TBinaryField : public TField {
protected:
    TBinaryField(TFieldType type, int size);
    QString GetAsString() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void GetText(QString& text, bool displayText) const override;
};

class TBytesField : public TBinaryField {
public:
    explicit TBytesField(int size = 16);
};

class TVarBytesField : public TBinaryField {
public:
    explicit TVarBytesField(int size = 16);
};
