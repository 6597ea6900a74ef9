#pragma once
// Blob fields. TBlobField holds bytes (native QByteArray), TMemoField text
// (native QString; its stream bytes are UTF-8). The display text is the type
// name in brackets: upper-case with a value, lower-case without ("(MEMO)", "(memo)").
#include "framework/data/TField.h"

class QIODevice;

class TBlobField : public TField {
public:
    explicit TBlobField(TFieldType type = ftBlob);
    bool IsBlob() const override { return true; }
    int BlobSize() const { return static_cast<int>(GetAsBytes().size()); }
    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;

protected:
    QString GetAsString() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void GetText(QString& text, bool displayText) const override;
};

class TMemoField : public TBlobField {
public:
    explicit TMemoField(TFieldType type = ftMemo);

protected:
    QString GetAsString() const override;
    QByteArray GetAsBytes() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void AssignBytes(const QByteArray& value) override;
};

class TGraphicField : public TBlobField {
public:
    TGraphicField();
};
