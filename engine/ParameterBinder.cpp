#include "engine/ParameterBinder.h"

#include "engine/JetErrors.h"
#include "engine/SqliteErrors.h"

#include <cctype>
#include <set>
#include <sqlite3.h>
#include <strings.h>

namespace dao {

namespace {

std::string lower(std::string s)
{
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool isIdentStart(unsigned char c) { return std::isalpha(c) || c == '_' || c >= 0x80; }
bool isIdentChar(unsigned char c) { return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80; }

// Reads one name part at i (quoted with "", [], `` or bare); returns false if none.
bool readPart(const std::string& s, size_t& i, std::string& part)
{
    if (i >= s.size())
        return false;
    const char c = s[i];
    if (c == '"' || c == '`' || c == '[') {
        const char close = c == '[' ? ']' : c;
        part.clear();
        size_t j = i + 1;
        while (j < s.size()) {
            if (s[j] == close) {
                if (close != ']' && j + 1 < s.size() && s[j + 1] == close) {
                    part += close;
                    j += 2;
                    continue;
                }
                break;
            }
            part += s[j++];
        }
        i = j + 1;
        return true;
    }
    if (!isIdentStart(static_cast<unsigned char>(c)))
        return false;
    size_t j = i;
    while (j < s.size() && isIdentChar(static_cast<unsigned char>(s[j])))
        ++j;
    part = s.substr(i, j - i);
    i = j;
    return true;
}

struct ProbeResult {
    int rc = SQLITE_OK;
    std::string message;
    int extended = 0;
};

ProbeResult probe(sqlite3* db, const std::string& sql, sqlite3_stmt** out)
{
    ProbeResult r;
    r.rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), out, nullptr);
    if (r.rc != SQLITE_OK) {
        r.message = sqlite3_errmsg(db);
        r.extended = sqlite3_extended_errcode(db);
        sqlite3_finalize(*out);
        *out = nullptr;
    }
    return r;
}

} // namespace

std::string ParameterBinder::replaceName(const std::string& sql, const std::string& dotted, const std::string& repl)
{
    std::string out;
    size_t i = 0;
    const std::string target = lower(dotted);
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'') { // string literal, quotes doubled inside
            size_t j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == '\'' && (j + 1 >= sql.size() || sql[j + 1] != '\'')) {
                    ++j;
                    break;
                }
                j += sql[j] == '\'' ? 2 : 1;
            }
            out.append(sql, i, j - i);
            i = j;
            continue;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t j = i;
            while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '.'))
                ++j;
            out.append(sql, i, j - i);
            i = j;
            continue;
        }
        size_t j = i;
        std::string part, chain;
        if (readPart(sql, j, part)) {
            chain = part;
            while (j < sql.size() && sql[j] == '.') {
                size_t k = j + 1;
                if (!readPart(sql, k, part))
                    break;
                chain += "." + part;
                j = k;
            }
            if (lower(chain) == target)
                out += repl;
            else
                out.append(sql, i, j - i);
            i = j;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

const Variant* ParameterBinder::valueFor(const std::string& name) const
{
    const auto dot = name.rfind('.');
    const std::string last = dot == std::string::npos ? name : name.substr(dot + 1);
    for (const auto& [n, v] : values_)
        if (strcasecmp(n.c_str(), name.c_str()) == 0 || strcasecmp(n.c_str(), last.c_str()) == 0)
            return &v;
    return nullptr;
}

SqliteStatement ParameterBinder::prepare() const
{
    std::string sql = st_.sql;
    std::vector<Variant> extra;
    std::set<std::string> unbound;
    const int declared = static_cast<int>(st_.parameters.size());
    for (const auto& p : st_.parameters)
        if (!valueFor(p.name))
            unbound.insert(lower(p.name));
    sqlite3_stmt* raw = nullptr;
    for (int attempt = 0; attempt < 256; ++attempt) {
        ProbeResult r = probe(db_, sql, &raw);
        if (r.rc == SQLITE_OK)
            break;
        const std::string name = unknownColumnName(r.message);
        if (name.empty())
            throw sqliteError(r.extended, r.message);
        std::string replacement = "NULL";
        if (const Variant* v = valueFor(name)) {
            extra.push_back(*v);
            replacement = "?" + std::to_string(declared + static_cast<int>(extra.size()));
        } else {
            unbound.insert(lower(name));
        }
        std::string next = replaceName(sql, name, replacement);
        if (next == sql) { // the name is not written where we can find it
            unbound.insert(lower(name));
            throw jet::tooFewParameters(static_cast<int>(unbound.size()));
        }
        sql = std::move(next);
    }
    if (!raw)
        throw jet::tooFewParameters(static_cast<int>(std::max<size_t>(unbound.size(), 1)));
    if (!unbound.empty()) {
        sqlite3_finalize(raw);
        throw jet::tooFewParameters(static_cast<int>(unbound.size()));
    }
    sqlite3_finalize(raw);
    SqliteStatement stmt(db_, sql);
    for (int i = 0; i < declared; ++i)
        stmt.bind(i + 1, *valueFor(st_.parameters[i].name));
    for (size_t i = 0; i < extra.size(); ++i)
        stmt.bind(declared + static_cast<int>(i) + 1, extra[i]);
    return stmt;
}

std::vector<std::string> ParameterBinder::unboundNames() const
{
    std::vector<std::string> names;
    std::string sql = st_.sql;
    sqlite3_stmt* raw = nullptr;
    for (int attempt = 0; attempt < 256; ++attempt) {
        ProbeResult r = probe(db_, sql, &raw);
        if (r.rc == SQLITE_OK)
            break;
        const std::string name = unknownColumnName(r.message);
        if (name.empty())
            break;
        names.push_back(name);
        std::string next = replaceName(sql, name, "NULL");
        if (next == sql)
            break;
        sql = std::move(next);
    }
    sqlite3_finalize(raw);
    return names;
}

} // namespace dao
