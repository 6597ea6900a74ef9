// The search conditions of the DAO dataset: the Jet criteria that Locate,
// the find operations and Lookup hand to the engine.
#include "daodata/TVoDaoTable.h"

#include "daodata/VoDaoSearchValues.h"
#include "daodata/VoDaoSqlText.h"
#include "engine/Field.h"
#include "framework/data/EDatabaseError.h"
#include "framework/data/TField.h"
#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

#include <QUuid>

using namespace vodao;

// --- condition text ---

QString TVoDaoTable::ConditionFor(const QString& keyFields, const QVariant& keyValues, TLocateOptions options,
                                  bool equalityOnly) const
{
    const QString failure = equalityOnly ? QStringLiteral("Unable to build Key SQL!")
                                         : QStringLiteral("Unable to build Lookup Key SQL!");
    const QStringList names = SplitNames(keyFields);
    const QVariantList values = SplitValues(keyValues);
    if (names.size() != values.size())
        DatabaseError(QString::fromLatin1(kKeyCountMismatch));
    QStringList terms;
    for (int i = 0; i < names.size(); ++i) {
        const TField* field = FindField(names[i]);
        if (!field || field->FieldKind() != fkData)
            DatabaseError(failure);
        const QVariant& value = values[i];
        const TFieldType type = field->DataType();
        const int column = field->FieldNo() - 1;
        const bool guid = type == ftGuid || (column >= 0 && column < int(fieldObjects_.size()) &&
                                             fieldObjects_[column]->type() == 15);
        QString comparison;
        if (IsNull(value)) {
            comparison = QStringLiteral("IS NULL");
        } else if (IsTextType(type)) {
            const QString text = value.toString();
            const bool partial = !equalityOnly && (options & loPartialKey);
            const bool caseless = !equalityOnly && (options & loCaseInsensitive);
            if (partial) {
                const QString pattern = vodao::QuotedText(LikeLiteral(text) + '*');
                comparison = caseless ? QStringLiteral(" LIKE LCASE(") + pattern + ')'
                                      : QStringLiteral(" LIKE ") + pattern;
            } else {
                const QString quoted = vodao::QuotedText(text);
                comparison = caseless ? QStringLiteral(" = LCASE(") + quoted + ')' : QStringLiteral(" = ") + quoted;
            }
        } else if (IsNumberType(type)) {
            const std::optional<double> number = NumberOf(value);
            if (!number)
                DatabaseError(failure);
            comparison = QStringLiteral(" = ") + vodao::NumberLiteral(*number);
        } else if (IsDateType(type)) {
            const std::optional<QDateTime> dt = DateTimeOf(value);
            if (!dt || !dt->isValid())
                DatabaseError(failure);
            comparison = QStringLiteral(" = ") + vodao::DateLiteral(DateTimeToNumber(*dt), type);
        } else if (type == ftBoolean) {
            bool on = false;
            if (value.typeId() == QMetaType::Bool)
                on = value.toBool();
            else if (!TextToBoolean(value.toString(), on))
                DatabaseError(failure);
            comparison = on ? QStringLiteral(" = True") : QStringLiteral(" = False");
        } else if (guid) {
            const QUuid id = value.typeId() == QMetaType::QByteArray && value.toByteArray().size() == 16
                                 ? QUuid::fromRfc4122(value.toByteArray())
                                 : QUuid(value.toString());
            if (id.isNull())
                DatabaseError(failure);
            comparison = QStringLiteral(" = {guid ") + id.toString(QUuid::WithBraces).toUpper() + '}';
        } else {
            DatabaseError(failure);
        }
        terms << '(' + vodao::Bracketed(field->FieldName(), UseBrackets) + ' ' + comparison + ')';
    }
    return terms.join(QStringLiteral(" AND "));
}

QString TVoDaoTable::SearchCondition(const QString& keyFields, const QVariant& keyValues, TLocateOptions options) const
{
    return ConditionFor(keyFields, keyValues, options, false);
}

QString TVoDaoTable::KeyCondition(const QString& keyFields, const QVariant& keyValues) const
{
    return ConditionFor(keyFields, keyValues, 0, true);
}

std::string TVoDaoTable::EngineCriteria(const QString& condition) const
{
    const QString criteria = engineRestriction_.isEmpty()
                                 ? condition
                                 : '(' + condition + QStringLiteral(") AND (") + engineRestriction_ + ')';
    return criteria.toUtf8().toStdString();
}
