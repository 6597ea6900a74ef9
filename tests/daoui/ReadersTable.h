#pragma once
// An engine-made database of readers with a two-field index (Ort, Name) and
// a table of notes without any index.
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "tests/daoui/DialogTestSupport.h"

namespace daouitest {

struct ReadersTable : WithUser {
    testsupport::TempFolder dir;
    TVoDaoDatabase db{"DB_Leser"};
    TVoDaoTable table{"TB_Leser"};

    ReadersTable()
    {
        const QString path = dir.file("leser.mdb");
        {
            TVoDaoDatabase maker;
            auto core = maker.CoreDBEngine()->createDatabase(path.toStdString(), ";LANGID=0x0409;CP=1252;COUNTRY=0");
            core->execute("CREATE TABLE Leser (ID COUNTER PRIMARY KEY, Ort TEXT(30), Name TEXT(50), Seit DATETIME)");
            core->execute("CREATE INDEX OrtName ON Leser (Ort, Name)");
            core->execute("CREATE TABLE Notiz (NR LONG, Text TEXT(50))");
            const char* rows[] = {"NULL, 'Albers'", "'Berlin', 'Müller'", "NULL, 'Müller'", "'Bonn', 'Adler'",
                                  "'Aachen', 'Zander'"};
            for (const char* row : rows)
                core->execute(std::string("INSERT INTO Leser (Ort, Name) VALUES (") + row + ")");
            core->execute("INSERT INTO Notiz (NR, Text) VALUES (1, 'eins')");
            core->close();
        }
        db.ProgramFolder = dir.path();
        db.SetDatabase(path);
        db.SetConnected(true);
        table.SetDatabase(&db);
    }
    ~ReadersTable() override { table.Close(); }

    // The table as a table-type recordset in the order of the index named.
    void openTable(const QString& name, const QString& index)
    {
        table.SetTableName(name);
        table.SetTableType(1);
        table.SetIndexName(index);
        table.Open();
    }
    int id() const { return table.FieldByName("ID")->AsInteger(); }
};

} // namespace daouitest
