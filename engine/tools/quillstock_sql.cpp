// quillstock-sql DATABASE STATEMENT: runs one Jet SQL statement. A SELECT
// prints its rows as CSV with a header line; any other statement prints the
// number of rows affected; an engine error prints "Error N: text" on standard
// error and exits with status 1.
#include "engine/DBEngine.h"
#include "engine/DaoConstants.h"
#include "engine/tools/CsvWriter.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: quillstock-sql DATABASE STATEMENT\n";
        return 2;
    }
    try {
        dao::DBEngine engine;
        auto db = engine.openDatabase(argv[1]);
        try {
            db->execute(argv[2], dao::dbFailOnError);
            std::cout << db->recordsAffected() << "\n";
            return 0;
        } catch (const dao::DaoError& e) {
            if (e.number() != 3065)
                throw;
        }
        auto rs = db->openRecordset(argv[2], dao::dbOpenForwardOnly);
        std::vector<std::string> header;
        for (const auto& f : rs->fields())
            header.push_back(dao::tools::csvText(f->name()));
        dao::tools::writeCsvRecord(std::cout, header);
        const int width = rs->fields().count();
        std::vector<std::string> record(width);
        while (!rs->eof()) {
            for (int i = 0; i < width; ++i)
                record[i] = dao::tools::csvField(rs->value(i));
            dao::tools::writeCsvRecord(std::cout, record);
            rs->moveNext();
        }
        return 0;
    } catch (const dao::DaoError& e) {
        std::cerr << "Error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
}
