#pragma once
// A DAO Field: of a recordset (Value reads the current row), of a table
// definition, or of an index (Attributes 1 = descending).
#include "engine/Collection.h"
#include "engine/Property.h"
#include "engine/Variant.h"

#include <map>
#include <memory>
#include <string>

namespace dao {

class Recordset;

struct FieldInfo {
    std::string name;
    int type = 10;
    int size = 0;
    int attributes = 0;
    bool required = false;
    bool allowZeroLength = false;
    std::string defaultValue;
    std::map<std::string, std::string> properties; // "Format", "Caption", ...
    std::string sourceTable;
    std::string sourceField;
};

class Field {
public:
    Field(FieldInfo info, int ordinal, std::weak_ptr<Recordset> recordset = {});

    const std::string& name() const { return info_.name; }
    int type() const { return info_.type; }
    int size() const { return info_.size; }
    int attributes() const { return info_.attributes; }
    bool required() const { return info_.required; }
    bool allowZeroLength() const { return info_.allowZeroLength; }
    const std::string& defaultValue() const { return info_.defaultValue; }
    // The default as DAO shows it: a text literal in double quotes ("neu"),
    // whichever quotes the stored expression uses.
    std::string jetDefaultValue() const;
    const std::string& sourceTable() const { return info_.sourceTable; }
    const std::string& sourceField() const { return info_.sourceField; }
    int ordinalPosition() const { return ordinal_; }
    const FieldInfo& info() const { return info_; }

    // The value in the recordset's current row (3021 without one, 3219 outside a recordset).
    Variant value() const;
    // Sets the value in the recordset's edit buffer (3020 outside AddNew/Edit; see Recordset::setValue).
    void setValue(const Variant& v);
    // Bytes of a Memo or Long Binary value in the current row (DAO's FieldSize).
    long fieldSize() const;

    // Name, Type, Size, Attributes, … and the stored "Format", "Caption" and others.
    const Collection<Property>& properties() const;
    // One property by name; 3270 when the field has none of that name.
    std::shared_ptr<Property> property(const std::string& name) const;

private:
    FieldInfo info_;
    int ordinal_;
    std::weak_ptr<Recordset> recordset_;
    bool inRecordset_;
    mutable std::unique_ptr<Collection<Property>> properties_;
};

} // namespace dao
