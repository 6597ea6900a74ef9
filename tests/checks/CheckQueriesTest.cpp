#include "checks/CheckQueries.h"
#include "tests/support/EngineRows.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const std::pair<CatalogueCheck, const char*> kChecks[] = {
    {CatalogueCheck::AlleDaten, "alle"},
    {CatalogueCheck::OhneTitel, "ohne_titel"},
    {CatalogueCheck::OhneAutor, "ohne_autor"},
    {CatalogueCheck::GleicherAutTit, "titel_gleich_autor"},
    {CatalogueCheck::Sonderzeichen, "sonderzeichen"},
};

} // namespace

TEST(CheckQueries, EachQueryIsTheDocumentedTextAndGivesTheDocumentedRows)
{
    const QJsonObject expected = testsupport::expectedCatalogueQueries();
    ASSERT_FALSE(expected.isEmpty());
    testsupport::TempFolder dir;
    const QString catalogue = dir.copyFixture("catalogue/veltrano.mdb", "db_Vel.mdb");
    for (const auto& [check, key] : kChecks) {
        const QJsonObject query = expected[key].toObject();
        EXPECT_EQ(CheckQuery(check), query["sql"].toString()) << key;
        const QJsonArray rows = testsupport::queryRows(catalogue, CheckQuery(check));
        EXPECT_EQ(rows.size(), query["count"].toInt()) << key;
        EXPECT_EQ(rows, query["rows"].toArray()) << key;
    }
}

TEST(CheckQueries, SpecialCharacterPatternsKeepTheirOrderAndForms)
{
    const QStringList patterns = SpecialCharacterPatterns();
    ASSERT_EQ(patterns.size(), 33);
    EXPECT_EQ(patterns[0], "*[\"]*");
    EXPECT_EQ(patterns[1], "*[(] * ");
    EXPECT_EQ(patterns[13], "*[_] * ");
    EXPECT_EQ(patterns[14], "*[+]*");
    EXPECT_EQ(patterns[16], QStringLiteral("*[´]*"));
    EXPECT_EQ(patterns[30], "*[[]*");
    EXPECT_EQ(patterns[31], "*[]]*");
    EXPECT_EQ(patterns[32], QStringLiteral("*[§]*"));
}

TEST(CheckQueries, TitlesAreShortGermanCaptions)
{
    EXPECT_EQ(CheckTitle(CatalogueCheck::AlleDaten), QStringLiteral("Alle Bücher in einer Liste"));
    EXPECT_EQ(CheckTitle(CatalogueCheck::GleicherAutTit), "Titel und Autor gleich");
    EXPECT_FALSE(CheckTitle(CatalogueCheck::Sonderzeichen).isEmpty());
}
