// CREATE TABLE, CREATE INDEX and DROP come back in structured form.
#include "engine/DaoError.h"
#include "engine/sql/JetTranslator.h"

#include <gtest/gtest.h>

namespace {

using namespace dao::sql;

Statement ddl(const std::string& sql)
{
    int calls = 0;
    auto st = translate(sql, [&](const TableRef&) {
        ++calls;
        return ResolvedTable{"\"main\".\"x\"", "main", "x", std::nullopt};
    });
    EXPECT_EQ(calls, 0) << "DDL targets are not resolved";
    return st;
}

long errorOf(const std::string& sql)
{
    try {
        ddl(sql);
    } catch (const dao::DaoError& e) {
        return e.number();
    }
    return 0;
}

TEST(Ddl, CreateTableWithJetTypes)
{
    const Statement st = ddl("CREATE TABLE [Neue Liste] (ID COUNTER(100, 5) CONSTRAINT pk PRIMARY KEY, Name TEXT(50) NOT NULL, "
                             "Notiz MEMO, Anzahl SHORT DEFAULT 0, Klein BYTE, Gross LONG, Preis CURRENCY, Ja YESNO, "
                             "Wann DATETIME, Wert DOUBLE, Halb SINGLE, Id2 GUID, Roh BINARY(16), Bild LONGBINARY, "
                             "Betrag DECIMAL(10, 2), Frei TEXT, Kurz VARCHAR(10) UNIQUE, Flag BIT, Zahl INT)");
    EXPECT_EQ(st.kind, StatementKind::CreateTable);
    EXPECT_EQ(st.target.name, "Neue Liste");
    ASSERT_EQ(st.columnDefs.size(), 19u);
    const ColumnDef& id = st.columnDefs[0];
    EXPECT_EQ(id.type, JetType::Long);
    EXPECT_TRUE(id.autoIncrement);
    EXPECT_TRUE(id.primaryKey);
    EXPECT_EQ(id.seed, 100);
    EXPECT_EQ(id.increment, 5);
    EXPECT_EQ(st.columnDefs[1].type, JetType::Text);
    EXPECT_EQ(st.columnDefs[1].size, 50);
    EXPECT_TRUE(st.columnDefs[1].notNull);
    EXPECT_EQ(st.columnDefs[2].type, JetType::Memo);
    EXPECT_EQ(st.columnDefs[3].type, JetType::Integer);
    EXPECT_EQ(st.columnDefs[3].defaultSql, "0");
    const JetType expected[] = {JetType::Byte, JetType::Long, JetType::Currency, JetType::Boolean, JetType::Date,
                                JetType::Double, JetType::Single, JetType::Guid, JetType::Binary, JetType::LongBinary,
                                JetType::Decimal, JetType::Text, JetType::Text, JetType::Boolean, JetType::Long};
    for (size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(st.columnDefs[4 + i].type, expected[i]) << st.columnDefs[4 + i].name;
    EXPECT_EQ(st.columnDefs[12].size, 16);
    EXPECT_EQ(st.columnDefs[14].precision, 10);
    EXPECT_EQ(st.columnDefs[14].scale, 2);
    EXPECT_EQ(st.columnDefs[15].size, 255);
    EXPECT_TRUE(st.columnDefs[16].unique);
    ASSERT_EQ(st.indexes.size(), 2u);
    EXPECT_EQ(st.indexes[0].name, "pk");
    EXPECT_TRUE(st.indexes[0].primary);
    EXPECT_EQ(st.indexes[0].fields, (std::vector<std::pair<std::string, bool>>{{"ID", false}}));
    EXPECT_TRUE(st.indexes[1].unique);
    EXPECT_FALSE(st.indexes[1].primary);
}

TEST(Ddl, TableConstraints)
{
    const Statement st = ddl("CREATE TABLE t (a LONG, b TEXT, CONSTRAINT pk PRIMARY KEY (a, b), CONSTRAINT u UNIQUE (b), "
                             "CONSTRAINT fk FOREIGN KEY (a) REFERENCES other (id))");
    ASSERT_EQ(st.indexes.size(), 2u);
    EXPECT_EQ(st.indexes[0].fields.size(), 2u);
    EXPECT_TRUE(st.indexes[0].primary);
    EXPECT_EQ(st.indexes[1].name, "u");
    EXPECT_EQ(st.indexes[0].table, "t");
}

TEST(Ddl, CreateIndexOptions)
{
    const Statement st = ddl("CREATE UNIQUE INDEX ix ON [Benutzer Daten] ([Voller Name] DESC, Anmeldename ASC) WITH IGNORE NULL");
    EXPECT_EQ(st.kind, StatementKind::CreateIndex);
    EXPECT_EQ(st.target.name, "Benutzer Daten");
    ASSERT_EQ(st.indexes.size(), 1u);
    const IndexDef& ix = st.indexes[0];
    EXPECT_EQ(ix.name, "ix");
    EXPECT_TRUE(ix.unique);
    EXPECT_TRUE(ix.ignoreNull);
    EXPECT_EQ(ix.fields, (std::vector<std::pair<std::string, bool>>{{"Voller Name", true}, {"Anmeldename", false}}));
    const Statement pk = ddl("CREATE INDEX PrimaryKey ON t (id) WITH PRIMARY");
    EXPECT_TRUE(pk.indexes[0].primary);
    EXPECT_TRUE(pk.indexes[0].unique);
}

TEST(Ddl, Drops)
{
    const Statement t = ddl("DROP TABLE [C:\\x\\other.mdb].[inventur];");
    EXPECT_EQ(t.kind, StatementKind::DropTable);
    EXPECT_EQ(t.target.name, "inventur");
    EXPECT_EQ(t.target.externalPath, "C:\\x\\other.mdb");
    const Statement i = ddl("DROP INDEX ix ON t");
    EXPECT_EQ(i.kind, StatementKind::DropIndex);
    EXPECT_EQ(i.indexName, "ix");
    EXPECT_EQ(i.target.name, "t");
}

TEST(Ddl, SyntaxErrorsHaveTheirNumbers)
{
    EXPECT_EQ(errorOf("CREATE TABLE t (a TEXT(300))"), 3290);
    EXPECT_EQ(errorOf("CREATE TABLE t (a)"), 3290);
    EXPECT_EQ(errorOf("CREATE TABLE t (a LONG"), 3290);
    EXPECT_EQ(errorOf("CREATE TABLE t (a WIDGET)"), 3259);
    EXPECT_EQ(errorOf("CREATE TABLE t (a LONG, CONSTRAINT pk PRIMARY (a))"), 3289);
    EXPECT_EQ(errorOf("CREATE TABLE t (a LONG CONSTRAINT pk KEY)"), 3289);
    EXPECT_EQ(errorOf("CREATE INDEX ON t (a)"), 3291);
    EXPECT_EQ(errorOf("CREATE INDEX i ON t (a) WITH"), 3291);
    EXPECT_EQ(errorOf("DROP TABLE"), 3295);
    EXPECT_EQ(errorOf("DROP INDEX i"), 3295);
    EXPECT_EQ(errorOf("CREATE VIEW v AS SELECT 1"), 3290);
    EXPECT_EQ(errorOf("CREATE TABLE t (a LONG) x"), 3142);
}

} // namespace
