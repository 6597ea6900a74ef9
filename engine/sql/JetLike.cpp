#include "JetLike.h"

#include "platform/CodePages.h"
#include "JetCollation.h"

#include <sqlite3.h>

namespace dao::sql {

LikePattern::LikePattern(std::string_view pattern)
{
    const std::u32string p = platform::utf8ToU32(pattern);
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        if (c == U'*') {
            if (items_.empty() || items_.back().kind != Item::Any)
                items_.push_back({Item::Any});
        } else if (c == U'?') {
            items_.push_back({Item::One});
        } else if (c == U'#') {
            items_.push_back({Item::Digit});
        } else if (c == U'[') {
            const size_t close = p.find(U']', i + 1);
            if (close == std::u32string::npos) {
                valid_ = false;
                return;
            }
            std::u32string group = p.substr(i + 1, close - i - 1);
            i = close;
            if (group.empty())
                continue; // [] is the empty string
            Item item{Item::Set};
            if (group.size() > 1 && group[0] == U'!') { // a lone [!] is the character '!'
                item.negate = true;
                group.erase(0, 1);
            }
            for (size_t k = 0; k < group.size();) {
                if (k + 2 < group.size() && group[k + 1] == U'-') {
                    if (compareJetChar(group[k], group[k + 2]) > 0) {
                        valid_ = false;
                        return;
                    }
                    item.ranges.emplace_back(group[k], group[k + 2]);
                    k += 3;
                } else {
                    item.ranges.emplace_back(foldCase(group[k]), 0);
                    ++k;
                }
            }
            if (!item.negate && item.ranges.size() == 1 && item.ranges[0].second == 0)
                items_.push_back({Item::Char, item.ranges[0].first});
            else
                items_.push_back(std::move(item));
        } else {
            items_.push_back({Item::Char, foldCase(c)});
        }
    }
}

bool LikePattern::matchOne(const Item& item, char32_t c) const
{
    switch (item.kind) {
    case Item::One:
        return true;
    case Item::Digit:
        return c >= U'0' && c <= U'9';
    case Item::Char:
        return c == item.ch;
    case Item::Set: {
        bool in = false;
        const char32_t folded = c;
        for (const auto& [lo, hi] : item.ranges) {
            if (hi == 0 ? folded == lo : (compareJetChar(lo, c) <= 0 && compareJetChar(c, hi) <= 0)) {
                in = true;
                break;
            }
        }
        return in != item.negate;
    }
    case Item::Any:
        break;
    }
    return false;
}

bool LikePattern::matches(std::string_view utf8) const
{
    if (!valid_)
        return false;
    // Decoded and case-folded once into a reused buffer: this runs once per row and pattern.
    thread_local std::u32string text;
    text.resize(utf8.size()); // never more characters than bytes
    size_t n = 0;
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            text[n++] = (b >= 'A' && b <= 'Z') ? static_cast<char32_t>(b + 32) : static_cast<char32_t>(b);
            ++i;
            continue;
        }
        char32_t c;
        const size_t len = platform::decodeUtf8(utf8, i, c);
        text[n++] = len == 0 ? U'\uFFFD' : foldCase(c);
        i += len == 0 ? 1 : len;
    }
    const size_t m = items_.size();
    size_t p = 0, t = 0, starP = std::u32string::npos, starT = 0;
    while (t < n) {
        if (p < m && items_[p].kind == Item::Any) {
            starP = p++;
            starT = t;
        } else if (p < m && (items_[p].kind == Item::Char ? items_[p].ch == text[t] : matchOne(items_[p], text[t]))) {
            ++p;
            ++t;
        } else if (starP != std::u32string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < m && items_[p].kind == Item::Any)
        ++p;
    return p == m;
}

bool jetLike(std::string_view text, std::string_view pattern)
{
    return LikePattern(pattern).matches(text);
}

namespace {

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const std::string_view text(t ? t : "", static_cast<size_t>(sqlite3_value_bytes(argv[0])));
    if (auto* cached = static_cast<LikePattern*>(sqlite3_get_auxdata(ctx, 1)))
        return sqlite3_result_int(ctx, cached->matches(text) ? 1 : 0);
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    auto* pattern = new LikePattern(std::string_view(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(argv[1]))));
    sqlite3_result_int(ctx, pattern->matches(text) ? 1 : 0);
    // Kept for the next rows while the pattern is a constant; SQLite may drop it at once.
    sqlite3_set_auxdata(ctx, 1, pattern, [](void* x) { delete static_cast<LikePattern*>(x); });
}

} // namespace

void registerJetLike(sqlite3* db)
{
    sqlite3_create_function_v2(db, "jet_like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction, nullptr,
                               nullptr, nullptr);
}

} // namespace dao::sql
