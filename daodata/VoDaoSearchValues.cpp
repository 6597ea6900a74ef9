#include "daodata/VoDaoSearchValues.h"

#include "framework/data/TimeStamp.h"
#include "framework/data/ValueText.h"

namespace vodao {


QStringList SplitNames(const QString& names)
{
    QStringList out;
    for (const QString& part : names.split(';', Qt::SkipEmptyParts))
        if (!part.trimmed().isEmpty())
            out << part.trimmed();
    return out;
}

QVariantList SplitValues(const QVariant& values)
{
    if (values.typeId() == QMetaType::QVariantList || values.typeId() == QMetaType::QStringList)
        return values.toList();
    return {values};
}

bool IsNull(const QVariant& value) { return !value.isValid() || value.isNull(); }

bool IsTextType(TFieldType type)
{
    return type == ftString || type == ftFixedChar || type == ftWideString || type == ftMemo || type == ftFmtMemo;
}

bool IsNumberType(TFieldType type) { return IsNumericFieldType(type); }

bool IsDateType(TFieldType type) { return type == ftDate || type == ftTime || type == ftDateTime; }

std::optional<double> NumberOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float: return value.toDouble();
    default: break;
    }
    double number = 0;
    if (TextToFloat(value.toString(), number))
        return number;
    return std::nullopt;
}

std::optional<QDateTime> DateTimeOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QDate: return QDateTime(value.toDate(), QTime(0, 0));
    case QMetaType::QTime: return QDateTime(QDate(1899, 12, 30), value.toTime());
    case QMetaType::QDateTime: return value.toDateTime();
    case QMetaType::Double: return NumberToDateTime(value.toDouble());
    default: break;
    }
    QDateTime dt;
    if (TextToDateTime(value.toString(), dt))
        return dt;
    return std::nullopt;
}

dao::Variant SeekKey(const QVariant& value)
{
    if (IsNull(value))
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool: return dao::Variant(value.toBool());
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::UShort: return dao::Variant(value.toInt());
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float: return dao::Variant(value.toDouble());
    case QMetaType::QDate:
    case QMetaType::QTime:
    case QMetaType::QDateTime: return dao::Variant::date(DateTimeToNumber(*DateTimeOf(value)));
    case QMetaType::QByteArray: return dao::Variant::binary(value.toByteArray().toStdString());
    default: return dao::Variant(value.toString().toUtf8().toStdString());
    }
}

QString LikeLiteral(const QString& text)
{
    static const QString patternChars = QStringLiteral("*?#[]!-");
    QString out;
    for (const QChar c : text) {
        if (patternChars.contains(c))
            out += '[' + QString(c) + ']';
        else
            out += c;
    }
    return out;
}

} // namespace vodao
