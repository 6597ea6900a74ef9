#pragma once
// The locations of the catalogue's copies, for the choice "Standort:".
#include <QStringList>

namespace dao {
class Database;
}

namespace lists {

// The distinct non-empty values of EXEMPLAR.STANDORT, sorted and told apart
// as Jet sorts and compares text ("Magazin" and "MAGAZIN" are one location).
// Locations whose copies all lack a number are left out: such copies can be
// neither scanned nor counted.
QStringList CatalogueLocations(dao::Database& catalogue);

} // namespace lists
