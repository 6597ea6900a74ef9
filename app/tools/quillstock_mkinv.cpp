// quillstock-mkinv PATH: creates an empty inventory database with the engine
// (tables inventurliste and inventur, and the index that keeps capture fast).
// An existing file is never overwritten.
#include "app/InventoryDatabase.h"
#include "engine/DaoError.h"

#include <QFileInfo>
#include <QString>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: quillstock-mkinv PATH\n";
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    if (QFileInfo::exists(path)) {
        std::cerr << "Error 3204: Database already exists.\n";
        return 1;
    }
    try {
        inventory::CreateEmptyInventory(path);
        return 0;
    } catch (const dao::DaoError& e) {
        std::cerr << "Error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
}
