// quillstock-mkdemo PATH [--copies N]: writes a demo catalogue in the
// engine's format with the tables of a Veltrano catalogue, filled with N
// invented copies (20,000 unless told) and their titles. The same N always
// gives the same catalogue. An existing file is never overwritten.
#include "app/DemoCatalogue.h"
#include "engine/DaoError.h"

#include <QString>
#include <iostream>
#include <string>

namespace {

int usage()
{
    std::cerr << "usage: quillstock-mkdemo PATH [--copies N]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QString path;
    long copies = demo::DefaultCopies;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--copies" && i + 1 < argc) {
            bool ok = false;
            copies = QString::fromLocal8Bit(argv[++i]).toLong(&ok);
            if (!ok || copies < 0 || copies > 100000000)
                return usage();
        } else if (path.isEmpty() && !arg.empty() && arg[0] != '-') {
            path = QString::fromLocal8Bit(argv[i]);
        } else {
            return usage();
        }
    }
    if (path.isEmpty())
        return usage();
    try {
        const demo::DemoCatalogueSize size = demo::CreateDemoCatalogue(path, copies);
        std::cout << path.toLocal8Bit().constData() << ": " << size.copies << " copies of " << size.titles
                  << " titles\n";
        return 0;
    } catch (const dao::DaoError& e) {
        std::cerr << "Error " << e.number() << ": " << e.what() << "\n";
        return 1;
    }
}
