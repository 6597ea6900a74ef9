#pragma once
// Makes a program folder ready for a first start. An installed program does
// this for the user's own folder at every start; a build's folder is made
// ready by the set-up script with the same rules.
#include <QString>

namespace setup {

struct SetupResult {
    bool folderMade = false;
    bool demoCatalogueMade = false;
    bool inventoryMade = false;
};

// Creates the folder and its folder REPORTS where missing; puts an empty
// inventory database into it when none is there (never overwriting one); and
// when the settings file names no catalogue, points it at the demo catalogue
// of the folder, writing that first when it is missing. Raises the engine's
// or the settings file's error when something cannot be written.
SetupResult PrepareProgramFolder(const QString& folder);

} // namespace setup
