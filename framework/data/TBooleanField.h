#pragma once
// Boolean field (native bool). DisplayValues "True;False" gives the texts of
// the two values; both texts and the usual boolean words are accepted.
#include "framework/data/TField.h"

class TBooleanField : public TField {
public:
    TBooleanField();
    const QString& DisplayValues() const { return m_displayValues; }
    void SetDisplayValues(const QString& values) { m_displayValues = values; }

protected:
    QString GetAsString() const override;
    bool GetAsBoolean() const override;
    int GetAsInteger() const override;
    QVariant GetAsVariant() const override;
    void AssignString(const QString& value) override;
    void AssignBoolean(bool value) override;
    void AssignLargeInt(qint64 value) override;
    int DefaultDisplayWidth() const override;

private:
    QString TrueText() const;
    QString FalseText() const;
    QString m_displayValues = QStringLiteral("True;False");
};
