#include "engine/ParameterBinder.h"

#include "engine/JetErrors.h"
#include "engine/ValueConversion.h"

#include <sqlite3.h>
#include <strings.h>

namespace dao {

const Variant* ParameterBinder::valueFor(const std::string& name) const
{
    const auto dot = name.rfind('.');
    const std::string last = dot == std::string::npos ? name : name.substr(dot + 1);
    for (const auto& [n, v] : values_)
        if (strcasecmp(n.c_str(), name.c_str()) == 0 || strcasecmp(n.c_str(), last.c_str()) == 0)
            return &v;
    return nullptr;
}

void ParameterBinder::bind(SqliteStatement& statement) const
{
    int missing = 0;
    for (const auto& p : parameters_)
        if (!valueFor(p.name))
            ++missing;
    if (missing > 0)
        throw jet::tooFewParameters(missing);
    // Text made from a statement's parts (its keyset query) may leave some parameters out.
    const int used = sqlite3_bind_parameter_count(statement.handle());
    for (size_t i = 0; i < parameters_.size() && static_cast<int>(i) < used; ++i) {
        const sql::Parameter& p = parameters_[i];
        const Variant& v = *valueFor(p.name);
        if (p.declared && isDateType(static_cast<int>(p.type)) && v.type() == VarType::Text)
            statement.bind(static_cast<int>(i) + 1, dateFromText(v));
        else
            statement.bind(static_cast<int>(i) + 1, v);
    }
}

} // namespace dao
