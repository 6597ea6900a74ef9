#pragma once
// A DAO property: name, value, type.
#include "engine/Variant.h"

#include <string>

namespace dao {

class Property {
public:
    Property(std::string name, Variant value, int type, bool inherited = false)
        : name_(std::move(name)), value_(std::move(value)), type_(type), inherited_(inherited)
    {
    }
    const std::string& name() const { return name_; }
    const Variant& value() const { return value_; }
    void setValue(Variant v) { value_ = std::move(v); }
    int type() const { return type_; }
    bool inherited() const { return inherited_; }

private:
    std::string name_;
    Variant value_;
    int type_;
    bool inherited_;
};

} // namespace dao
