#pragma once
// A demo catalogue in the engine's format: the tables of a Veltrano catalogue
// (TITEL, EXEMPLAR, [Benutzer Daten]) with their Jet types and indexes,
// filled with invented German titles and copies (see DemoCatalogueRecords).
// A person without a catalogue of their own starts the program on it.
#include <QString>

namespace demo {

struct DemoCatalogueSize {
    long copies = 0;
    long titles = 0;
};

// The number of copies a demo catalogue has unless asked for another.
constexpr long DefaultCopies = 20000;

// The file name of the demo catalogue in a program folder.
QString DemoCatalogueFileName();

// Writes a new demo catalogue with the given number of copies to path. The
// file appears only when it is complete. Raises the engine's error 3204 when
// path exists, and the engine's errors when the file cannot be written.
DemoCatalogueSize CreateDemoCatalogue(const QString& path, long copies = DefaultCopies);

} // namespace demo
