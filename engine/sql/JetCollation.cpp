#include "JetCollation.h"

#include "platform/CodePages.h"

#include <sqlite3.h>
#include <unicode/ucol.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace dao::sql {

namespace {

struct Collation {
    UCollator* collator = nullptr;
    // Primary rank of each ASCII character; 0 for characters the collator ignores.
    std::array<unsigned char, 128> rank{};
};

int icuCompare(UCollator* collator, std::string_view a, std::string_view b)
{
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status))
        return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return r == UCOL_LESS ? -1 : (r == UCOL_EQUAL ? 0 : 1);
}

Collation makeCollation()
{
    Collation c;
    UErrorCode status = U_ZERO_ERROR;
    c.collator = ucol_open("de", &status);
    if (U_FAILURE(status)) {
        status = U_ZERO_ERROR;
        c.collator = ucol_open("", &status);
    }
    ucol_setStrength(c.collator, UCOL_SECONDARY);
    ucol_setAttribute(c.collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    std::vector<char> chars;
    for (int ch = 0; ch < 128; ++ch) {
        const char s[1] = {static_cast<char>(ch)};
        if (icuCompare(c.collator, std::string_view(s, 1), std::string_view()) != 0)
            chars.push_back(static_cast<char>(ch));
    }
    std::stable_sort(chars.begin(), chars.end(), [&](char x, char y) {
        return icuCompare(c.collator, std::string_view(&x, 1), std::string_view(&y, 1)) < 0;
    });
    unsigned char next = 0;
    for (size_t i = 0; i < chars.size(); ++i) {
        if (i == 0 || icuCompare(c.collator, std::string_view(&chars[i - 1], 1), std::string_view(&chars[i], 1)) != 0)
            ++next;
        c.rank[static_cast<unsigned char>(chars[i])] = next;
    }
    return c;
}

const Collation& collation()
{
    static const Collation c = makeCollation();
    return c;
}

int collate(void*, int na, const void* pa, int nb, const void* pb)
{
    return compareJetText(std::string_view(static_cast<const char*>(pa), static_cast<size_t>(na)),
                          std::string_view(static_cast<const char*>(pb), static_cast<size_t>(nb)));
}

} // namespace

int compareJetText(std::string_view a, std::string_view b)
{
    const Collation& c = collation();
    const auto* x = reinterpret_cast<const unsigned char*>(a.data());
    const auto* y = reinterpret_cast<const unsigned char*>(b.data());
    size_t i = 0, j = 0;
    const size_t n = a.size(), m = b.size();
    while (true) {
        while (i < n && x[i] < 0x80 && c.rank[x[i]] == 0)
            ++i;
        while (j < m && y[j] < 0x80 && c.rank[y[j]] == 0)
            ++j;
        // Any non-ASCII character before the first difference: ICU decides.
        if ((i < n && x[i] >= 0x80) || (j < m && y[j] >= 0x80))
            return icuCompare(c.collator, a, b);
        if (i == n || j == m)
            return (i == n ? 0 : 1) - (j == m ? 0 : 1);
        if (c.rank[x[i]] != c.rank[y[j]])
            return c.rank[x[i]] < c.rank[y[j]] ? -1 : 1;
        ++i;
        ++j;
    }
}

int compareJetTextIcu(std::string_view a, std::string_view b)
{
    return icuCompare(collation().collator, a, b);
}

int compareJetChar(char32_t a, char32_t b)
{
    if (a < 0x80 && b < 0x80) {
        const auto& rank = collation().rank;
        return rank[a] < rank[b] ? -1 : (rank[a] == rank[b] ? 0 : 1);
    }
    std::string x, y;
    platform::appendUtf8(x, a);
    platform::appendUtf8(y, b);
    return compareJetText(x, y);
}

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT));
}

void registerJetCollation(sqlite3* db)
{
    sqlite3_create_collation_v2(db, "JETTEXT", SQLITE_UTF8, nullptr, collate, nullptr);
}

} // namespace dao::sql
