#include "framework/data/TGuidField.h"

#include "framework/data/DbConsts.h"

#include <QUuid>

TGuidField::TGuidField() : TStringField(ftGuid, 38) {}

void TGuidField::AssignString(const QString& value)
{
    const QString text = value.trimmed();
    if (text.isEmpty()) {
        Clear();
        return;
    }
    const QUuid uuid = QUuid::fromString(text);
    if (uuid.isNull() && text.count(QLatin1Char('0')) < 32)
        ConvertError(DbConsts::SInvalidGuid, value);
    SetData(uuid.toString(QUuid::WithBraces).toUpper());
}
