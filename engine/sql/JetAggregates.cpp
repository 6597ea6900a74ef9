// Aggregates SQLite lacks: First, Last, StDev, StDevP, Var, VarP.
#include "JetFunctions.h"

#include "FunctionSupport.h"

#include <cmath>

namespace dao::sql {

namespace {

struct FirstLast {
    sqlite3_value* value;
    bool seen;
};

template <bool Last>
void firstLastStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    auto* s = static_cast<FirstLast*>(sqlite3_aggregate_context(ctx, sizeof(FirstLast)));
    if (!s)
        return sqlite3_result_error_nomem(ctx);
    if (s->seen && !Last)
        return;
    sqlite3_value_free(s->value);
    s->value = sqlite3_value_dup(argv[0]);
    s->seen = true;
}

void firstLastFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<FirstLast*>(sqlite3_aggregate_context(ctx, 0));
    if (!s || !s->value)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, s->value);
    sqlite3_value_free(s->value);
    s->value = nullptr;
}

// Welford's running mean and sum of squared deviations.
struct Spread {
    long long n;
    double mean;
    double m2;
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return;
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!s)
        return sqlite3_result_error_nomem(ctx);
    ++s->n;
    const double delta = *d - s->mean;
    s->mean += delta / static_cast<double>(s->n);
    s->m2 += delta * (*d - s->mean);
}

template <bool Population, bool Root>
void spreadFinal(sqlite3_context* ctx)
{
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const long long need = Population ? 1 : 2;
    if (!s || s->n < need)
        return sqlite3_result_null(ctx);
    const double var = s->m2 / static_cast<double>(Population ? s->n : s->n - 1);
    sqlite3_result_double(ctx, Root ? std::sqrt(var) : var);
}

} // namespace

void registerAggregateFunctions(sqlite3* db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(db, "jet_first", 1, flags, nullptr, nullptr, firstLastStep<false>, firstLastFinal, nullptr);
    sqlite3_create_function_v2(db, "jet_last", 1, flags, nullptr, nullptr, firstLastStep<true>, firstLastFinal, nullptr);
    sqlite3_create_function_v2(db, "jet_stdev", 1, flags, nullptr, nullptr, spreadStep, spreadFinal<false, true>, nullptr);
    sqlite3_create_function_v2(db, "jet_stdevp", 1, flags, nullptr, nullptr, spreadStep, spreadFinal<true, true>, nullptr);
    sqlite3_create_function_v2(db, "jet_var", 1, flags, nullptr, nullptr, spreadStep, spreadFinal<false, false>, nullptr);
    sqlite3_create_function_v2(db, "jet_varp", 1, flags, nullptr, nullptr, spreadStep, spreadFinal<true, false>, nullptr);
}

} // namespace dao::sql
