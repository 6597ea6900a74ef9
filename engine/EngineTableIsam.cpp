#include "engine/EngineTableIsam.h"
#include "engine/DaoConstants.h"
#include "engine/JetErrors.h"
#include "engine/Metadata.h"
#include "engine/Storage.h"
#include "engine/TableBuilder.h"
#include "engine/sql/Quote.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dao::isam {
namespace {

void run(sqlite3* db, const std::string& sql) { SqliteStatement(db, sql).step(); }

} // namespace

EngineTableWriter::EngineTableWriter(const std::string& file, const std::string& table, const std::vector<Column>& columns)
{
    const QString path = QString::fromStdString(file);
    if (!QFileInfo(path).absoluteDir().exists())
        throw jet::invalidPath(file);
    const QString temporary = staged_.add(path);
    QFile::remove(temporary); // the engine makes its database on a name that is free
    storage_ = Storage::create(temporary.toStdString());

    TableSchema t;
    t.name = table;
    for (const Column& c : columns) {
        ColumnSchema s;
        s.name = c.name;
        s.type = int(c.type);
        s.size = c.size;
        s.attributes = c.type == sql::JetType::Text ? dbVariableField : dbFixedField;
        t.columns.push_back(s);
    }
    sqlite3* db = storage_->db();
    run(db, "BEGIN IMMEDIATE");
    TableBuilder(db, "main").createTable(t, true);
    Metadata(db, "main").writeTable(t);
    std::string insert = "INSERT INTO main." + sql::quoteIdentifier(table) + " VALUES (";
    for (size_t i = 0; i < columns.size(); ++i)
        insert += (i ? ", ?" : "?") + std::to_string(i + 1);
    insert_ = std::make_unique<SqliteStatement>(db, insert + ")");
}

EngineTableWriter::~EngineTableWriter()
{
    insert_.reset();
    if (storage_)
        storage_->close(); // rolls back what was not committed
}

void EngineTableWriter::writeRow(const std::vector<Variant>& values)
{
    insert_->reset();
    for (size_t i = 0; i < values.size(); ++i)
        insert_->bind(int(i) + 1, values[i], false);
    insert_->step();
}

void EngineTableWriter::finish()
{
    insert_.reset();
    run(storage_->db(), "COMMIT");
    storage_->close(); // the last connection folds the write-ahead log into the file
    storage_.reset();
    staged_.commit();
}

} // namespace dao::isam
