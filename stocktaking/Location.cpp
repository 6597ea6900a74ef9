#include "stocktaking/Location.h"

namespace lists {

namespace {

QString quoted(const QString& text) { return '\'' + QString(text).replace('\'', QStringLiteral("''")) + '\''; }

} // namespace

Location Location::Named(const QString& name)
{
    Location location;
    location.kind_ = Kind::Named;
    location.name_ = name;
    return location;
}

Location Location::Without()
{
    Location location;
    location.kind_ = Kind::Without;
    return location;
}

QString Location::Text() const
{
    switch (kind_) {
    case Kind::All: return QStringLiteral("(alle)");
    case Kind::Named: return name_;
    case Kind::Without: return QStringLiteral("(ohne Standort)");
    }
    return {};
}

QString Location::Condition() const
{
    switch (kind_) {
    case Kind::All: return {};
    case Kind::Named: return QStringLiteral(" AND EXEMPLAR.STANDORT = ") + quoted(name_);
    case Kind::Without: return QStringLiteral(" AND (EXEMPLAR.STANDORT IS NULL OR EXEMPLAR.STANDORT = '')");
    }
    return {};
}

QString Location::ElsewhereCondition() const
{
    switch (kind_) {
    case Kind::All: return {};
    case Kind::Named:
        return QStringLiteral(" AND (EXEMPLAR.STANDORT IS NULL OR EXEMPLAR.STANDORT <> ") + quoted(name_) + ')';
    case Kind::Without: return QStringLiteral(" AND EXEMPLAR.STANDORT <> ''");
    }
    return {};
}

QString Location::Caption(const QString& caption) const
{
    switch (kind_) {
    case Kind::All: return caption;
    case Kind::Named: return caption + QStringLiteral(" (Standort: ") + name_ + ')';
    case Kind::Without: return caption + QStringLiteral(" (ohne Standort)");
    }
    return caption;
}

} // namespace lists
