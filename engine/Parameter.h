#pragma once
// A parameter of a query definition: declared by PARAMETERS or a name the
// database cannot bind. A value never set counts as missing (3061 at run).
#include "engine/Variant.h"

#include <string>

namespace dao {

class Parameter {
public:
    Parameter(std::string name, int type) : name_(std::move(name)), type_(type) {}
    const std::string& name() const { return name_; }
    int type() const { return type_; }
    void setType(int type) { type_ = type; }
    int direction() const { return 1; } // dbParamInput
    const Variant& value() const { return value_; }
    void setValue(Variant v)
    {
        value_ = std::move(v);
        set_ = true;
    }
    bool hasValue() const { return set_; }

private:
    std::string name_;
    int type_;
    Variant value_;
    bool set_ = false;
};

} // namespace dao
