// The JETTEXT collation: case-insensitive, accent-sensitive, and its ASCII
// shortcut agrees with ICU on every pair.
#include "SqlTestDb.h"

#include "engine/sql/JetCollation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

int sign(int v)
{
    return (v > 0) - (v < 0);
}

TEST(Collation, AsciiShortcutAgreesWithIcu)
{
    std::mt19937 rng(4711);
    const std::string alphabet = std::string("aAbBzZ09 -'_.,;:!?\"()[]{}@*/\\&#%`^+<=>|~$\t\x01") + '\x7f';
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1), len(0, 6);
    for (int i = 0; i < 20000; ++i) {
        std::string a, b;
        for (size_t k = len(rng); k > 0; --k)
            a += alphabet[pick(rng)];
        for (size_t k = len(rng); k > 0; --k)
            b += alphabet[pick(rng)];
        ASSERT_EQ(sign(dao::sql::compareJetText(a, b)), sign(dao::sql::compareJetTextIcu(a, b)))
            << '"' << a << "\" vs \"" << b << '"';
    }
}

TEST(Collation, MixedAsciiAndUmlautsStayConsistent)
{
    std::vector<std::string> words = {"Apfel", "Äpfel", "apfel", "Zebra", "Öl", "Ol", "ol", "Müller", "Mueller",
                                      "Muller", "MÜLLER", "", " ", "a-b", "ab", "Œuvre", "Ñu", "nu", "ß", "ss", "st"};
    std::sort(words.begin(), words.end(),
              [](const std::string& x, const std::string& y) { return dao::sql::compareJetText(x, y) < 0; });
    for (size_t i = 0; i < words.size(); ++i)
        for (size_t j = i; j < words.size(); ++j)
            EXPECT_LE(dao::sql::compareJetText(words[i], words[j]), 0) << words[i] << " / " << words[j];
}

TEST(Collation, GeneralSortOrderExamples)
{
    using dao::sql::compareJetText;
    EXPECT_EQ(compareJetText("MÜLLER", "müller"), 0);
    EXPECT_EQ(compareJetText("abc", "ABC"), 0);
    EXPECT_LT(compareJetText("Apfel", "Äpfel"), 0);
    EXPECT_LT(compareJetText("Äpfel", "Birne"), 0);
    EXPECT_LT(compareJetText("a", "B"), 0);
    EXPECT_LT(compareJetText("10", "9"), 0);
    EXPECT_LT(compareJetText("abc", "abcd"), 0);
    EXPECT_NE(compareJetText("Muller", "Müller"), 0);
}

TEST(Collation, OrdersColumnsInSqlite)
{
    sqltest::SqlTestDb db;
    db.exec("CREATE TABLE t (s TEXT COLLATE JETTEXT)");
    db.exec("INSERT INTO t VALUES ('b'), ('Ä'), ('a'), ('C'), ('ä'), ('A')");
    const auto rows = db.query("SELECT s FROM t ORDER BY s, rowid");
    std::string order;
    for (const auto& r : rows)
        order += *r[0] + " ";
    EXPECT_EQ(order, "a A Ä ä b C ");
}

} // namespace
