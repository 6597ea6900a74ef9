#include "FunctionMap.h"

#include <cctype>

namespace dao::sql {

namespace {

constexpr FunctionInfo kFunctions[] = {
    // text
    {"LCASE", "jet_lcase", 1, 1, false, true},
    {"UCASE", "jet_ucase", 1, 1, false, true},
    {"LEN", "jet_len", 1, 1, false, false},
    {"LEFT", "jet_left", 2, 2, false, true},
    {"RIGHT", "jet_right", 2, 2, false, true},
    {"MID", "jet_mid", 2, 3, false, true},
    {"TRIM", "jet_trim", 1, 1, false, true},
    {"LTRIM", "jet_ltrim", 1, 1, false, true},
    {"RTRIM", "jet_rtrim", 1, 1, false, true},
    {"INSTR", "jet_instr", 2, 4, false, false},
    {"SPACE", "jet_space", 1, 1, false, true},
    {"STRING", "jet_string", 2, 2, false, true},
    {"ASC", "jet_asc", 1, 1, false, false},
    {"ASCW", "jet_ascw", 1, 1, false, false},
    {"CHR", "jet_chr", 1, 1, false, true},
    {"CHRW", "jet_chrw", 1, 1, false, true},
    {"STRCOMP", "jet_strcomp", 2, 3, false, false},
    {"STR", "jet_str", 1, 1, false, true},
    {"FORMAT", "jet_format", 1, 2, false, true},
    {"VAL", "jet_val", 1, 1, false, false},
    // conversion
    {"CSTR", "jet_cstr", 1, 1, false, false},
    {"CLNG", "jet_clng", 1, 1, false, false},
    {"CINT", "jet_cint", 1, 1, false, false},
    {"CBYTE", "jet_cbyte", 1, 1, false, false},
    {"CDBL", "jet_cdbl", 1, 1, false, false},
    {"CSNG", "jet_csng", 1, 1, false, false},
    {"CCUR", "jet_ccur", 1, 1, false, false},
    {"CDEC", "jet_cdbl", 1, 1, false, false},
    {"CBOOL", "jet_cbool", 1, 1, false, false},
    {"CDATE", "jet_cdate", 1, 1, false, false},
    {"CVDATE", "jet_cdate", 1, 1, false, false},
    {"DATEVALUE", "jet_datevalue", 1, 1, false, false},
    {"TIMEVALUE", "jet_timevalue", 1, 1, false, false},
    {"CVAR", "jet_cvar", 1, 1, false, false},
    {"ISNUMERIC", "jet_isnumeric", 1, 1, false, false},
    {"ISDATE", "jet_isdate", 1, 1, false, false},
    // numbers
    {"INT", "jet_int", 1, 1, false, false},
    {"FIX", "jet_fix", 1, 1, false, false},
    {"ABS", "jet_abs", 1, 1, false, false},
    {"SGN", "jet_sgn", 1, 1, false, false},
    {"SQR", "jet_sqr", 1, 1, false, false},
    {"ROUND", "jet_round", 1, 2, false, false},
    {"EXP", "jet_exp", 1, 1, false, false},
    {"LOG", "jet_log", 1, 1, false, false},
    {"SIN", "jet_sin", 1, 1, false, false},
    {"COS", "jet_cos", 1, 1, false, false},
    {"TAN", "jet_tan", 1, 1, false, false},
    {"ATN", "jet_atn", 1, 1, false, false},
    // dates
    {"NOW", "jet_now", 0, 0, false, false},
    {"GENGUID", "jet_genguid", 0, 0, false, false},
    {"GENUNIQUEID", "jet_genuniqueid", 0, 0, false, false},
    {"DATE", "jet_date", 0, 0, false, true},
    {"TIME", "jet_time", 0, 0, false, true},
    {"YEAR", "jet_year", 1, 1, false, false},
    {"MONTH", "jet_month", 1, 1, false, false},
    {"DAY", "jet_day", 1, 1, false, false},
    {"HOUR", "jet_hour", 1, 1, false, false},
    {"MINUTE", "jet_minute", 1, 1, false, false},
    {"SECOND", "jet_second", 1, 1, false, false},
    {"WEEKDAY", "jet_weekday", 1, 2, false, false},
    {"DATESERIAL", "jet_dateserial", 3, 3, false, false},
    {"TIMESERIAL", "jet_timeserial", 3, 3, false, false},
    {"DATEADD", "jet_dateadd", 3, 3, false, false},
    {"DATEDIFF", "jet_datediff", 3, 5, false, false},
    {"DATEPART", "jet_datepart", 2, 4, false, false},
    // aggregates
    {"COUNT", "count", 1, 1, true, false},
    {"SUM", "sum", 1, 1, true, false},
    {"AVG", "avg", 1, 1, true, false},
    {"MIN", "min", 1, 1, true, false},
    {"MAX", "max", 1, 1, true, false},
    {"FIRST", "jet_first", 1, 1, true, false},
    {"LAST", "jet_last", 1, 1, true, false},
    {"STDEV", "jet_stdev", 1, 1, true, false},
    {"STDEVP", "jet_stdevp", 1, 1, true, false},
    {"VAR", "jet_var", 1, 1, true, false},
    {"VARP", "jet_varp", 1, 1, true, false},
};

} // namespace

const FunctionInfo* findFunction(std::string_view name)
{
    bool dollar = false;
    if (!name.empty() && name.back() == '$') {
        dollar = true;
        name.remove_suffix(1);
    }
    std::string u;
    for (char c : name)
        u += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& f : kFunctions) {
        if (f.jetName == u)
            return dollar && !f.allowsDollar ? nullptr : &f;
    }
    return nullptr;
}

bool returnsNumber(const FunctionInfo& f)
{
    static constexpr std::string_view text[] = {"LCASE", "UCASE", "LEFT", "RIGHT", "MID", "TRIM", "LTRIM", "RTRIM",
                                                "SPACE", "STRING", "CHR", "CHRW", "STR", "FORMAT", "CSTR", "CVAR",
                                                "MIN", "MAX", "FIRST", "LAST", "GENGUID"};
    for (auto t : text)
        if (f.jetName == t)
            return false;
    return true;
}

} // namespace dao::sql
