#include "engine/Field.h"

#include "engine/DaoConstants.h"
#include "engine/Recordset.h"

namespace dao {

Field::Field(FieldInfo info, int ordinal, std::weak_ptr<Recordset> recordset)
    : info_(std::move(info)), ordinal_(ordinal), recordset_(std::move(recordset)), inRecordset_(!recordset_.expired())
{
}

Variant Field::value() const
{
    auto rs = recordset_.lock();
    if (!rs) {
        if (!inRecordset_)
            throw jet::illegalOperation(); // a table or index field has no value
        throw jet::objectInvalid();
    }
    return rs->currentValue(ordinal_);
}

void Field::setValue(const Variant& v)
{
    auto rs = recordset_.lock();
    if (!rs) {
        if (!inRecordset_)
            throw jet::illegalOperation();
        throw jet::objectInvalid();
    }
    rs->setValue(ordinal_, v);
}

long Field::fieldSize() const
{
    const Variant v = value();
    if (v.isNull())
        return 0;
    if (info_.type == dbMemo || info_.type == dbLongBinary)
        return static_cast<long>(v.bytes().size());
    return info_.size;
}

const Collection<Property>& Field::properties() const
{
    if (!properties_) {
        properties_ = std::make_unique<Collection<Property>>();
        auto add = [&](const std::string& n, Variant v, int t) {
            properties_->append(std::make_shared<Property>(n, std::move(v), t));
        };
        add("Name", Variant(info_.name), dbText);
        add("Type", Variant::integer(static_cast<std::int16_t>(info_.type)), dbInteger);
        add("Size", Variant::longValue(info_.size), dbLong);
        add("Attributes", Variant::longValue(info_.attributes), dbLong);
        add("OrdinalPosition", Variant::integer(static_cast<std::int16_t>(ordinal_)), dbInteger);
        add("Required", Variant(info_.required), dbBoolean);
        add("AllowZeroLength", Variant(info_.allowZeroLength), dbBoolean);
        add("DefaultValue", Variant(jetDefaultValue()), dbText);
        add("SourceTable", Variant(info_.sourceTable), dbText);
        add("SourceField", Variant(info_.sourceField), dbText);
        for (const auto& [n, v] : info_.properties)
            if (!properties_->contains(n))
                add(n, Variant(v), dbText);
    }
    return *properties_;
}

std::shared_ptr<Property> Field::property(const std::string& name) const
{
    if (auto p = properties().find(name))
        return p;
    throw jet::propertyNotFound();
}

} // namespace dao

std::string dao::Field::jetDefaultValue() const
{
    const std::string& v = info_.defaultValue;
    if (v.size() < 2 || v.front() != '\'' || v.back() != '\'')
        return v;
    // A single-quoted SQL literal, '' standing for one quote; anything else
    // inside (an expression) is left as stored.
    std::string text;
    for (size_t i = 1; i + 1 < v.size(); ++i) {
        if (v[i] == '\'') {
            if (i + 2 >= v.size() || v[i + 1] != '\'')
                return v;
            ++i;
        }
        text += v[i];
        if (v[i] == '"')
            text += '"';
    }
    return '"' + text + '"';
}
