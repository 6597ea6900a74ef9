#pragma once
// Binds the values of a statement's parameters: those PARAMETERS declares and the
// names no table in reach has (Jet asks for those too). A value is found by the
// parameter's name, for a dotted name ("Forms.x") also by its last part; text
// given for a parameter declared as a date is read as a date. Parameter i is
// bound as ?<i+1>, as the translator wrote it.
#include "engine/SqliteStatement.h"
#include "engine/Storage.h"

#include <vector>

namespace dao {

class ParameterBinder {
public:
    ParameterBinder(const std::vector<sql::Parameter>& parameters, const ParameterValues& values)
        : parameters_(parameters), values_(values)
    {
    }
    // Raises 3061 with the number of parameters that have no value, else binds them all.
    void bind(SqliteStatement& statement) const;

private:
    const Variant* valueFor(const std::string& name) const;
    const std::vector<sql::Parameter>& parameters_;
    const ParameterValues& values_;
};

} // namespace dao
