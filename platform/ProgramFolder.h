#pragma once
#include <QString>

namespace platform {

// The program folder: where the settings file, the backup copy, the inventory
// database and the folder REPORTS lie, with a trailing '/'. Run from a build
// it is the folder of the executable; installed (where nobody may write) it
// is the user's own folder userDataFolder().
QString programFolder();

// Whether the executable runs from where an installation put it.
bool runsInstalled();

// Whether an executable in folder is an installed one: the folder is
// /usr/bin, /usr/local/bin or the bin folder of the configured installation
// prefix (links resolved). A build folder is none of them.
bool isInstalledLocation(const QString& folder);

// The user's folder of the installed program under the XDG data directory:
// $XDG_DATA_HOME/quillstock/, by default ~/.local/share/quillstock/.
QString userDataFolder();

// folder with exactly one trailing '/'.
QString withTrailingSlash(const QString& folder);

} // namespace platform
