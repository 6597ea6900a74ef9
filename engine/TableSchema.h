#pragma once
// Jet's description of a table: columns with types, sizes, attributes and
// properties, and its indexes. Kept in the metadata tables of each schema.
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace dao {

struct ColumnSchema {
    std::string name;
    int type = 10;       // DataTypeEnum
    int size = 0;        // characters for Text, bytes of the type otherwise
    int attributes = 0;  // FieldAttributeEnum bits (fixed/variable, auto-increment)
    bool required = false;
    bool allowZeroLength = true;
    std::string defaultValue; // Jet expression text, as DAO's DefaultValue reports it
    std::map<std::string, std::string> properties; // "Format", "Caption", "Description", ...
    bool autoIncrement() const { return (attributes & 16) != 0; }
};

struct IndexSchema {
    std::string name;
    std::vector<std::pair<std::string, bool>> fields; // field name, descending
    bool primary = false;
    bool unique = false;
    bool required = false;
    bool ignoreNulls = false;
    bool foreign = false;
};

struct TableSchema {
    std::string name;
    long attributes = 0;
    double dateCreated = 0; // Jet dates (days since 1899-12-30)
    double lastUpdated = 0;
    std::vector<ColumnSchema> columns;
    std::vector<IndexSchema> indexes;

    const ColumnSchema* column(const std::string& name) const;
};

// Size in bytes DAO reports for a fixed-size type (Text and Memo excluded).
int fixedSizeOf(int type);
bool isTextType(int type);

} // namespace dao
