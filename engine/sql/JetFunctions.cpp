// Text, conversion and number functions, and the operators SQLite lacks.
#include "JetFunctions.h"

#include "engine/JetErrors.h"
#include "platform/CodePages.h"
#include "FunctionSupport.h"
#include "JetCollation.h"
#include "JetDate.h"

#include <QRandomGenerator>
#include <unicode/uchar.h>

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iterator>

namespace dao::sql {

namespace {

using Fn = void (*)(sqlite3_context*, int, sqlite3_value**);

#define NULL_IF_ANY_NULL(n)                                                                                            \
    for (int i_ = 0; i_ < (n); ++i_)                                                                                   \
        if (isNull(argv[i_]))                                                                                          \
            return sqlite3_result_null(ctx);

std::u32string u32Of(sqlite3_value* v)
{
    return platform::utf8ToU32(vbaText(v));
}

// A whole-number argument (rounded half to even); nullopt after setting an error.
std::optional<long long> longArg(sqlite3_context* ctx, sqlite3_value* v)
{
    if (isNull(v)) {
        resultError(ctx, VbaError::InvalidNull);
        return std::nullopt;
    }
    const auto d = numberOf(v);
    if (!d) {
        resultError(ctx, VbaError::TypeMismatch);
        return std::nullopt;
    }
    const double r = roundHalfEven(*d);
    if (r < -9.2e18 || r > 9.2e18) {
        resultError(ctx, VbaError::Overflow);
        return std::nullopt;
    }
    return static_cast<long long>(r);
}

void caseMap(sqlite3_context* ctx, sqlite3_value* v, bool upper)
{
    if (isNull(v))
        return sqlite3_result_null(ctx);
    std::u32string s = u32Of(v);
    for (auto& c : s)
        c = static_cast<char32_t>(upper ? u_toupper(static_cast<UChar32>(c)) : u_tolower(static_cast<UChar32>(c)));
    resultText(ctx, platform::u32ToUtf8(s));
}

void fnLcase(sqlite3_context* ctx, int, sqlite3_value** argv) { caseMap(ctx, argv[0], false); }
void fnUcase(sqlite3_context* ctx, int, sqlite3_value** argv) { caseMap(ctx, argv[0], true); }

void fnLen(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(u32Of(argv[0]).size()));
}

void fnLeft(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto n = longArg(ctx, argv[1]);
    if (!n)
        return;
    if (*n < 0)
        return resultError(ctx, VbaError::InvalidCall);
    const std::u32string s = u32Of(argv[0]);
    const auto count = std::min<long long>(*n, static_cast<long long>(s.size()));
    resultText(ctx, platform::u32ToUtf8(s.substr(0, static_cast<size_t>(count))));
}

void fnRight(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto n = longArg(ctx, argv[1]);
    if (!n)
        return;
    if (*n < 0)
        return resultError(ctx, VbaError::InvalidCall);
    const std::u32string s = u32Of(argv[0]);
    const size_t k = static_cast<size_t>(std::min<long long>(*n, static_cast<long long>(s.size())));
    resultText(ctx, platform::u32ToUtf8(s.substr(s.size() - k)));
}

void fnMid(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto start = longArg(ctx, argv[1]);
    if (!start)
        return;
    std::optional<long long> len;
    if (argc > 2 && !isNull(argv[2])) {
        len = longArg(ctx, argv[2]);
        if (!len)
            return;
        if (*len < 0)
            return resultError(ctx, VbaError::InvalidCall);
    }
    if (*start < 1)
        return resultError(ctx, VbaError::InvalidCall);
    const std::u32string s = u32Of(argv[0]);
    if (static_cast<size_t>(*start) > s.size())
        return resultText(ctx, std::string());
    const size_t from = static_cast<size_t>(*start - 1);
    const size_t count = len ? static_cast<size_t>(std::min<long long>(*len, static_cast<long long>(s.size() - from)))
                             : s.size() - from;
    resultText(ctx, platform::u32ToUtf8(s.substr(from, count)));
}

void trimImpl(sqlite3_context* ctx, sqlite3_value* v, bool left, bool right)
{
    if (isNull(v))
        return sqlite3_result_null(ctx);
    std::string s = vbaText(v);
    size_t b = 0, e = s.size();
    if (left)
        while (b < e && s[b] == ' ')
            ++b;
    if (right)
        while (e > b && s[e - 1] == ' ')
            --e;
    resultText(ctx, s.substr(b, e - b));
}

void fnTrim(sqlite3_context* ctx, int, sqlite3_value** argv) { trimImpl(ctx, argv[0], true, true); }
void fnLtrim(sqlite3_context* ctx, int, sqlite3_value** argv) { trimImpl(ctx, argv[0], true, false); }
void fnRtrim(sqlite3_context* ctx, int, sqlite3_value** argv) { trimImpl(ctx, argv[0], false, true); }

void fnInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    long long start = 1;
    int first = 0;
    if (argc >= 3) {
        const auto s = longArg(ctx, argv[0]);
        if (!s)
            return;
        if (*s < 1)
            return resultError(ctx, VbaError::InvalidCall);
        start = *s;
        first = 1;
    }
    long long compare = 1; // queries compare as the database sorts: ignoring case
    if (argc == 4) {
        if (isNull(argv[3]))
            return resultError(ctx, VbaError::InvalidNull);
        const auto c = longArg(ctx, argv[3]);
        if (!c)
            return;
        compare = *c;
    }
    if (isNull(argv[first]) || isNull(argv[first + 1]))
        return sqlite3_result_null(ctx);
    std::u32string hay = u32Of(argv[first]);
    std::u32string needle = u32Of(argv[first + 1]);
    if (static_cast<size_t>(start) > hay.size())
        return sqlite3_result_int(ctx, 0);
    if (needle.empty())
        return sqlite3_result_int64(ctx, start);
    if (compare != 0) {
        for (auto& c : hay)
            c = foldCase(c);
        for (auto& c : needle)
            c = foldCase(c);
    }
    const size_t at = hay.find(needle, static_cast<size_t>(start - 1));
    sqlite3_result_int64(ctx, at == std::u32string::npos ? 0 : static_cast<sqlite3_int64>(at + 1));
}

void fnSpace(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto n = longArg(ctx, argv[0]);
    if (!n)
        return;
    if (*n < 0 || *n > 1000000)
        return resultError(ctx, VbaError::InvalidCall);
    resultText(ctx, std::string(static_cast<size_t>(*n), ' '));
}

void fnString(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(2);
    const auto n = longArg(ctx, argv[0]);
    if (!n)
        return;
    if (*n < 0 || *n > 1000000)
        return resultError(ctx, VbaError::InvalidCall);
    char32_t c;
    if (sqlite3_value_type(argv[1]) == SQLITE_TEXT) {
        const std::u32string s = u32Of(argv[1]);
        if (s.empty())
            return resultError(ctx, VbaError::InvalidCall);
        c = s[0];
    } else {
        const auto code = longArg(ctx, argv[1]);
        if (!code)
            return;
        c = platform::cp1252ToUnicode(static_cast<unsigned char>(*code & 0xFF));
    }
    resultText(ctx, platform::u32ToUtf8(std::u32string(static_cast<size_t>(*n), c)));
}

void ascImpl(sqlite3_context* ctx, sqlite3_value* v, bool wide)
{
    if (isNull(v))
        return resultError(ctx, VbaError::InvalidNull);
    const std::u32string s = u32Of(v);
    if (s.empty())
        return resultError(ctx, VbaError::InvalidCall);
    const int code = wide ? -1 : platform::unicodeToCp1252(s[0]);
    sqlite3_result_int64(ctx, code >= 0 ? code : (wide ? static_cast<long long>(s[0]) : 63));
}

void fnAsc(sqlite3_context* ctx, int, sqlite3_value** argv) { ascImpl(ctx, argv[0], false); }
void fnAscw(sqlite3_context* ctx, int, sqlite3_value** argv) { ascImpl(ctx, argv[0], true); }

void chrImpl(sqlite3_context* ctx, sqlite3_value* v, bool wide)
{
    const auto n = longArg(ctx, v);
    if (!n)
        return;
    if (*n < 0 || *n > (wide ? 0xFFFF : 255))
        return resultError(ctx, VbaError::InvalidCall);
    std::string out;
    const char32_t c = wide ? static_cast<char32_t>(*n) : platform::cp1252ToUnicode(static_cast<unsigned char>(*n));
    platform::appendUtf8(out, c);
    resultText(ctx, out);
}

void fnChr(sqlite3_context* ctx, int, sqlite3_value** argv) { chrImpl(ctx, argv[0], false); }
void fnChrw(sqlite3_context* ctx, int, sqlite3_value** argv) { chrImpl(ctx, argv[0], true); }

void fnStrcomp(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(2);
    long long compare = 1;
    if (argc == 3) {
        const auto c = longArg(ctx, argv[2]);
        if (!c)
            return;
        compare = *c;
    }
    int r;
    if (compare == 0) {
        const std::u32string a = u32Of(argv[0]), b = u32Of(argv[1]);
        r = a.compare(b);
    } else {
        r = compareJetText(vbaText(argv[0]), vbaText(argv[1]));
    }
    sqlite3_result_int(ctx, r < 0 ? -1 : (r > 0 ? 1 : 0));
}

void fnStr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    std::string s = isIntegerValue(argv[0]) ? std::to_string(sqlite3_value_int64(argv[0])) : vbaNumberText(*d);
    if (*d >= 0)
        s = " " + s;
    resultText(ctx, s);
}

// Val: the number at the start of the text; blanks are skipped anywhere in it.
void fnVal(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        const auto d = numberOf(argv[0]);
        return sqlite3_result_double(ctx, d ? *d : 0.0);
    }
    std::string compact;
    for (char c : textOf(argv[0]))
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            compact += c;
    if (compact.size() > 2 && compact[0] == '&' && (compact[1] == 'H' || compact[1] == 'h' || compact[1] == 'O' || compact[1] == 'o')) {
        const int base = (compact[1] == 'H' || compact[1] == 'h') ? 16 : 8;
        const long long v = std::strtoll(compact.c_str() + 2, nullptr, base);
        return sqlite3_result_double(ctx, static_cast<double>(v));
    }
    size_t i = 0;
    std::string num;
    if (i < compact.size() && (compact[i] == '-' || compact[i] == '+'))
        num += compact[i++];
    bool digits = false, dot = false;
    while (i < compact.size()) {
        const char c = compact[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digits = true;
            num += c;
        } else if (c == '.' && !dot) {
            dot = true;
            num += c;
        } else {
            break;
        }
        ++i;
    }
    if (digits && i < compact.size() && (compact[i] == 'e' || compact[i] == 'E' || compact[i] == 'd' || compact[i] == 'D')) {
        std::string exp = "e";
        size_t k = i + 1;
        if (k < compact.size() && (compact[k] == '-' || compact[k] == '+'))
            exp += compact[k++];
        const size_t expDigits = k;
        while (k < compact.size() && std::isdigit(static_cast<unsigned char>(compact[k])))
            exp += compact[k++];
        if (k > expDigits)
            num += exp;
    }
    sqlite3_result_double(ctx, digits ? std::strtod(num.c_str(), nullptr) : 0.0);
}

void fnCstr(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    resultText(ctx, vbaText(argv[0]));
}

void integerConversion(sqlite3_context* ctx, sqlite3_value* v, long long lo, long long hi)
{
    if (isNull(v))
        return resultError(ctx, VbaError::InvalidNull);
    std::optional<double> d = numberOf(v);
    if (!d && sqlite3_value_type(v) == SQLITE_TEXT) {
        const std::string_view t = textOf(v);
        if (t == "True" || t == "true")
            d = -1;
        else if (t == "False" || t == "false")
            d = 0;
    }
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    const double r = roundHalfEven(*d);
    if (r < static_cast<double>(lo) || r > static_cast<double>(hi))
        return resultError(ctx, VbaError::Overflow);
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(r));
}

void fnClng(sqlite3_context* ctx, int, sqlite3_value** argv) { integerConversion(ctx, argv[0], INT32_MIN, INT32_MAX); }
void fnCint(sqlite3_context* ctx, int, sqlite3_value** argv) { integerConversion(ctx, argv[0], -32768, 32767); }
void fnCbyte(sqlite3_context* ctx, int, sqlite3_value** argv) { integerConversion(ctx, argv[0], 0, 255); }

void fnCdbl(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    sqlite3_result_double(ctx, *d);
}

void fnCsng(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    if (std::fabs(*d) > 3.402823466e38)
        return resultError(ctx, VbaError::Overflow);
    sqlite3_result_double(ctx, static_cast<double>(static_cast<float>(*d)));
}

void fnCcur(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    if (std::fabs(*d) > 922337203685477.5807)
        return resultError(ctx, VbaError::Overflow);
    sqlite3_result_double(ctx, roundHalfEven(*d * 10000.0) / 10000.0);
}

void fnCbool(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (isNull(argv[0]))
        return resultError(ctx, VbaError::InvalidNull);
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
        std::string t(textOf(argv[0]));
        for (auto& c : t)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (t == "true")
            return sqlite3_result_int(ctx, -1);
        if (t == "false")
            return sqlite3_result_int(ctx, 0);
    }
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    sqlite3_result_int(ctx, *d != 0 ? -1 : 0);
}

void fnCvar(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    sqlite3_result_value(ctx, argv[0]);
}

void fnIsnumeric(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const int t = sqlite3_value_type(argv[0]);
    const bool numeric = t == SQLITE_INTEGER || t == SQLITE_FLOAT || (t == SQLITE_TEXT && numberOf(argv[0]));
    sqlite3_result_int(ctx, numeric ? -1 : 0);
}

void fnIsdate(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    const bool date = sqlite3_value_type(argv[0]) == SQLITE_TEXT && parseDateText(textOf(argv[0]));
    sqlite3_result_int(ctx, date ? -1 : 0);
}

// Numbers: f applied to the argument; domain errors give "Invalid procedure call".
template <double (*F)(double), bool (*Domain)(double)>
void mathFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    if (!Domain(*d))
        return resultError(ctx, VbaError::InvalidCall);
    sqlite3_result_double(ctx, F(*d));
}

bool anyNumber(double) { return true; }
bool nonNegative(double d) { return d >= 0; }
bool positive(double d) { return d > 0; }
double sqrtOf(double d) { return std::sqrt(d); }
double expOf(double d) { return std::exp(d); }
double logOf(double d) { return std::log(d); }
double sinOf(double d) { return std::sin(d); }
double cosOf(double d) { return std::cos(d); }
double tanOf(double d) { return std::tan(d); }
double atnOf(double d) { return std::atan(d); }

void fnInt(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    if (isIntegerValue(argv[0]))
        return sqlite3_result_value(ctx, argv[0]);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    resultNumber(ctx, std::floor(*d));
}

void fnFix(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    if (isIntegerValue(argv[0]))
        return sqlite3_result_value(ctx, argv[0]);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    resultNumber(ctx, std::trunc(*d));
}

void fnAbs(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    if (isIntegerValue(argv[0]) && sqlite3_value_int64(argv[0]) != LLONG_MIN)
        return sqlite3_result_int64(ctx, std::llabs(sqlite3_value_int64(argv[0])));
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    sqlite3_result_double(ctx, std::fabs(*d));
}

void fnSgn(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    sqlite3_result_int(ctx, *d > 0 ? 1 : (*d < 0 ? -1 : 0));
}

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(1);
    const auto d = numberOf(argv[0]);
    if (!d)
        return resultError(ctx, VbaError::TypeMismatch);
    long long places = 0;
    if (argc > 1) {
        const auto p = longArg(ctx, argv[1]);
        if (!p)
            return;
        if (*p < 0 || *p > 22)
            return resultError(ctx, VbaError::InvalidCall);
        places = *p;
    }
    if (places == 0)
        return resultNumber(ctx, roundHalfEven(*d));
    const double scale = std::pow(10.0, static_cast<double>(places));
    sqlite3_result_double(ctx, roundHalfEven(*d * scale) / scale);
}

// Operators.

// a & b & ...: Null counts as "", all Null gives Null.
void fnConcat(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    std::string out;
    bool any = false;
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i]))
            continue;
        any = true;
        out += vbaText(argv[i]);
    }
    if (!any)
        return sqlite3_result_null(ctx);
    resultText(ctx, out);
}

// a + b: two texts concatenate, otherwise numbers add; Null spreads.
void fnAdd(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(2);
    if (sqlite3_value_type(argv[0]) == SQLITE_TEXT && sqlite3_value_type(argv[1]) == SQLITE_TEXT)
        return resultText(ctx, std::string(textOf(argv[0])) + std::string(textOf(argv[1])));
    if (isIntegerValue(argv[0]) && isIntegerValue(argv[1])) {
        sqlite3_int64 r;
        if (!__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &r))
            return sqlite3_result_int64(ctx, r);
    }
    const auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b)
        return resultError(ctx, VbaError::TypeMismatch);
    if (sqlite3_value_type(argv[0]) == SQLITE_FLOAT || sqlite3_value_type(argv[1]) == SQLITE_FLOAT)
        return sqlite3_result_double(ctx, *a + *b);
    resultNumber(ctx, *a + *b);
}

bool integerOperands(sqlite3_context* ctx, sqlite3_value** argv, long long& a, long long& b)
{
    const auto x = longArg(ctx, argv[0]);
    if (!x)
        return false;
    const auto y = longArg(ctx, argv[1]);
    if (!y)
        return false;
    if (*y == 0) {
        resultError(ctx, VbaError::DivisionByZero);
        return false;
    }
    a = *x;
    b = *y;
    return true;
}

void fnMod(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(2);
    long long a, b;
    if (integerOperands(ctx, argv, a, b))
        sqlite3_result_int64(ctx, b == -1 ? 0 : a % b);
}

void fnIntDiv(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(2);
    long long a, b;
    if (!integerOperands(ctx, argv, a, b))
        return;
    if (a == LLONG_MIN && b == -1)
        return resultError(ctx, VbaError::Overflow);
    sqlite3_result_int64(ctx, a / b);
}

void fnPow(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    NULL_IF_ANY_NULL(2);
    const auto a = numberOf(argv[0]), b = numberOf(argv[1]);
    if (!a || !b)
        return resultError(ctx, VbaError::TypeMismatch);
    if (*a < 0 && std::trunc(*b) != *b)
        return resultError(ctx, VbaError::InvalidCall);
    const double r = std::pow(*a, *b);
    if (!std::isfinite(r))
        return resultError(ctx, VbaError::Overflow);
    sqlite3_result_double(ctx, r);
}

// GenGUID(): a new random GUID (version 4), 16 bytes as Jet stores a GUID.
void fnGenguid(sqlite3_context* ctx, int, sqlite3_value**)
{
    unsigned char bytes[16];
    QRandomGenerator::system()->generate(std::begin(bytes), std::end(bytes));
    bytes[7] = static_cast<unsigned char>((bytes[7] & 0x0F) | 0x40); // version, in the third group's high byte
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80); // variant
    sqlite3_result_blob(ctx, bytes, sizeof bytes, SQLITE_TRANSIENT);
}

// GenUniqueID(): a random Long other than 0, as a replicated AutoNumber takes.
void fnGenuniqueid(sqlite3_context* ctx, int, sqlite3_value**)
{
    std::int32_t value = 0;
    while (value == 0)
        value = static_cast<std::int32_t>(QRandomGenerator::system()->generate());
    sqlite3_result_int64(ctx, value);
}

struct Entry {
    const char* name;
    int args; // -1: variable
    Fn fn;
};

const Entry kScalars[] = {
    {"jet_lcase", 1, fnLcase}, {"jet_ucase", 1, fnUcase}, {"jet_len", 1, fnLen}, {"jet_left", 2, fnLeft},
    {"jet_right", 2, fnRight}, {"jet_mid", 2, fnMid}, {"jet_mid", 3, fnMid}, {"jet_trim", 1, fnTrim},
    {"jet_ltrim", 1, fnLtrim}, {"jet_rtrim", 1, fnRtrim}, {"jet_instr", 2, fnInstr}, {"jet_instr", 3, fnInstr},
    {"jet_instr", 4, fnInstr}, {"jet_space", 1, fnSpace}, {"jet_string", 2, fnString}, {"jet_asc", 1, fnAsc},
    {"jet_ascw", 1, fnAscw}, {"jet_chr", 1, fnChr}, {"jet_chrw", 1, fnChrw}, {"jet_strcomp", 2, fnStrcomp},
    {"jet_strcomp", 3, fnStrcomp}, {"jet_str", 1, fnStr}, {"jet_val", 1, fnVal}, {"jet_cstr", 1, fnCstr},
    {"jet_clng", 1, fnClng}, {"jet_cint", 1, fnCint}, {"jet_cbyte", 1, fnCbyte}, {"jet_cdbl", 1, fnCdbl},
    {"jet_csng", 1, fnCsng}, {"jet_ccur", 1, fnCcur}, {"jet_cbool", 1, fnCbool}, {"jet_cvar", 1, fnCvar},
    {"jet_isnumeric", 1, fnIsnumeric}, {"jet_isdate", 1, fnIsdate}, {"jet_int", 1, fnInt}, {"jet_fix", 1, fnFix},
    {"jet_abs", 1, fnAbs}, {"jet_sgn", 1, fnSgn}, {"jet_sqr", 1, mathFunction<sqrtOf, nonNegative>},
    {"jet_round", 1, fnRound}, {"jet_round", 2, fnRound}, {"jet_exp", 1, mathFunction<expOf, anyNumber>},
    {"jet_log", 1, mathFunction<logOf, positive>}, {"jet_sin", 1, mathFunction<sinOf, anyNumber>},
    {"jet_cos", 1, mathFunction<cosOf, anyNumber>}, {"jet_tan", 1, mathFunction<tanOf, anyNumber>},
    {"jet_atn", 1, mathFunction<atnOf, anyNumber>}, {"jet_concat", -1, fnConcat}, {"jet_add", 2, fnAdd},
    {"jet_mod", 2, fnMod}, {"jet_intdiv", 2, fnIntDiv}, {"jet_pow", 2, fnPow},
};

} // namespace

void registerScalarFunctions(sqlite3* db)
{
    for (const auto& e : kScalars)
        sqlite3_create_function_v2(db, e.name, e.args, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, e.fn, nullptr,
                                   nullptr, nullptr);
    // A new value on every call.
    sqlite3_create_function_v2(db, "jet_genguid", 0, SQLITE_UTF8, nullptr, fnGenguid, nullptr, nullptr, nullptr);
    sqlite3_create_function_v2(db, "jet_genuniqueid", 0, SQLITE_UTF8, nullptr, fnGenuniqueid, nullptr, nullptr,
                               nullptr);
}

std::optional<DaoError> functionError(std::string_view message)
{
    const size_t at = message.rfind(" (error ");
    if (at == std::string_view::npos || message.empty() || message.back() != ')')
        return std::nullopt;
    const std::string number(message.substr(at + 8, message.size() - at - 9));
    char* end = nullptr;
    const long n = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0')
        return std::nullopt;
    return jet::error(n);
}

} // namespace dao::sql
