#include "app/ProgramFolderSetup.h"

#include "app/DemoCatalogue.h"
#include "app/InventoryDatabase.h"
#include "app/TfMain.h"
#include "platform/ProfileFile.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>

namespace setup {

SetupResult PrepareProgramFolder(const QString& folder)
{
    SetupResult result;
    const QString base = platform::withTrailingSlash(folder);
    result.folderMade = !QFileInfo(base).isDir();
    if (!QDir().mkpath(base + QStringLiteral("REPORTS")))
        throw std::runtime_error(
            QStringLiteral("Der Ordner \"%1\" kann nicht angelegt werden").arg(base).toStdString());

    const QString inventoryPath = base + TfMain::InventoryFileName;
    if (!QFileInfo::exists(inventoryPath)) {
        inventory::CreateEmptyInventory(inventoryPath);
        result.inventoryMade = true;
    }

    const platform::ProfileFile settings(base + TfMain::SettingsFileName);
    if (settings.readString(QStringLiteral("GLOBAL"), QStringLiteral("PATH"), QString()).isEmpty()) {
        const QString demo = base + demo::DemoCatalogueFileName();
        if (!QFileInfo::exists(demo)) {
            demo::CreateDemoCatalogue(demo);
            result.demoCatalogueMade = true;
        }
        settings.writeString(QStringLiteral("GLOBAL"), QStringLiteral("PATH"), demo);
    }
    return result;
}

} // namespace setup
