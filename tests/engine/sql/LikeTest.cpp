// Jet's LIKE patterns, run through the translated SQL on SQLite.
#include "SqlTestDb.h"

#include <gtest/gtest.h>

namespace {

struct LikeCase {
    const char* text;
    const char* pattern;
    bool matches;
};

class Like : public testing::Test {
protected:
    void SetUp() override { db.exec("CREATE TABLE t (id INTEGER, s TEXT COLLATE JETTEXT)"); }

    bool like(const std::string& text, const std::string& pattern)
    {
        std::string quoted;
        for (char c : pattern)
            quoted += c == '\'' ? std::string("''") : std::string(1, c);
        db.exec("DELETE FROM t");
        db.exec("INSERT INTO t VALUES (1, " + sqltest::toSqlString(text) + ")");
        return !db.jet("SELECT id FROM t WHERE s LIKE '" + quoted + "'").empty();
    }

    sqltest::SqlTestDb db;
};

TEST_F(Like, Wildcards)
{
    const LikeCase cases[] = {
        {"abc", "a*", true},       {"abc", "*c", true},         {"abc", "*", true},         {"", "*", true},
        {"abc", "a?c", true},      {"ac", "a?c", false},        {"a1c", "a#c", true},       {"abc", "a#c", false},
        {"abc", "a[bx]c", true},   {"aXc", "a[bx]c", true},     {"ayc", "a[bx]c", false},   {"ayc", "a[!bx]c", true},
        {"abc", "a[!bx]c", false}, {"aMc", "a[a-z]c", true},    {"a5c", "a[a-z]c", false},  {"a-c", "a[-x]c", true},
        {"a-c", "a[x-]c", true},   {"abc", "abc", true},        {"abcd", "abc", false},     {"ab", "abc", false},
        {"a*c", "a[*]c", true},    {"abc", "a[*]c", false},     {"a?c", "a[?]c", true},     {"a#c", "a[#]c", true},
        {"a[c", "a[[]c", true},    {"a]c", "a]c", true},        {"ac", "a[]c", true},       {"a]", "a[]]", true},
        {"100%", "100%", true},    {"1000", "100%", false},     {"a_c", "a_c", true},       {"abc", "a_c", false},
        {"!", "[!]", true},        {"x", "[!]", false},         {"abc", "*b*b*", false},    {"abbb", "*b*b*", true},
        {"mississippi", "*ss*ss*i", true},                      {"abc", "a[c-a]c", false},  {"abc", "a[bc", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(like(c.text, c.pattern), c.matches) << '"' << c.text << "\" LIKE \"" << c.pattern << '"';
}

TEST_F(Like, IgnoresCaseForAllLettersButNotAccents)
{
    EXPECT_TRUE(like("MÜLLER", "müller"));
    EXPECT_TRUE(like("Müller", "M[Ü]LLER"));
    EXPECT_TRUE(like("ÉCOLE", "é*"));
    EXPECT_FALSE(like("Muller", "Müller"));
    EXPECT_TRUE(like("ärger", "[a-z]rger")); // ranges follow the sort order: a < ä < b
    EXPECT_TRUE(like("Ωmega", "ω*"));
}

TEST_F(Like, SpecialCharacterPatternsOfTheCatalogueCheck)
{
    EXPECT_TRUE(like("Mathe ( Band 1) ", "*[(] * "));
    EXPECT_FALSE(like("Mathe (Band 1)", "*[(] * "));
    EXPECT_TRUE(like("Rock & Roll ", "*[&] * "));
    EXPECT_FALSE(like("Frage & Antwort", "*[&] * "));
    EXPECT_FALSE(like("100% Bio!", "*[%] * "));
    EXPECT_TRUE(like("C++ für Einsteiger", "*[+]*"));
    EXPECT_TRUE(like("Pfade wie C:\\Daten", "*[\\]*"));
    EXPECT_TRUE(like("Café ´Akut´", "*[´]*"));
    EXPECT_TRUE(like("30° im Schatten", "*[°]*"));
    EXPECT_TRUE(like("m² und m³", "*[²]*"));
    EXPECT_TRUE(like("m² und m³", "*[³]*"));
    EXPECT_TRUE(like("§ 1 BGB", "*[§]*"));
    EXPECT_TRUE(like("Arrays [Index]", "*[[]*"));
    EXPECT_TRUE(like("Arrays [Index]", "*[]]*"));
    EXPECT_TRUE(like("Das \"Zitat\"", "*[\"]*"));
    EXPECT_TRUE(like("Sterne * und", "*[*]*"));
    EXPECT_FALSE(like("Preise in € und ‚Rabatte‘", "*[´]*"));
}

TEST_F(Like, LiteralPrefixUsesTheIndexYetKeepsEveryMatch)
{
    db.exec("CREATE INDEX ix ON t (s)");
    db.exec("INSERT INTO t VALUES (1, 'Abend'), (2, 'ABC'), (3, 'abzug'), (4, 'Äbte'), (5, 'Ab'), (6, 'b'), "
            "(7, 'a-b'), (8, NULL), (9, 'Abé')");
    const auto rows = db.jet("SELECT id FROM t WHERE s LIKE 'ab*' ORDER BY id");
    EXPECT_EQ(rows, (std::vector<sqltest::Row>{{"1"}, {"2"}, {"3"}, {"5"}, {"9"}}));
    const auto plan = db.query("EXPLAIN QUERY PLAN " + dao::sql::translate("SELECT id FROM t WHERE s LIKE 'ab*'",
                                                                           db.resolver()).sql);
    ASSERT_FALSE(plan.empty());
    EXPECT_NE(plan.back().back()->find("USING"), std::string::npos) << *plan.back().back();
}

TEST_F(Like, NumbersAndNull)
{
    db.exec("INSERT INTO t VALUES (-12, NULL), (470, 'x'), (4711, 'y')");
    EXPECT_EQ(db.jet("SELECT id FROM t WHERE id LIKE '47*' ORDER BY id"), (std::vector<sqltest::Row>{{"470"}, {"4711"}}));
    EXPECT_EQ(db.jet("SELECT id FROM t WHERE id LIKE '-1*'"), (std::vector<sqltest::Row>{{"-12"}}));
    EXPECT_TRUE(db.jet("SELECT id FROM t WHERE s LIKE '*' AND id = -12").empty());
}

} // namespace
