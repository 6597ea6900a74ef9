#include "app/ProgramFolderSetup.h"
#include "app/ProgramIcon.h"
#include "app/TfCopyDlg.h"
#include "app/TfMain.h"
#include "framework/ui/GuardedApplication.h"
#include "framework/ui/TApplication.h"
#include "platform/ProgramFolder.h"
#include "stocktaking/TfFehlendeBuecher.h"

#include <memory>

int main(int argc, char** argv)
{
    GuardedApplication qtApp(argc, argv);
    TApplication application;
    application.Title = QStringLiteral("Quillstock -Toolbox for Veltrano");
    QCoreApplication::setApplicationName(application.Title);
    // The desktop entry quillstock.desktop: task bars find its name and icon
    // through it; the icon is also set for every window.
    QGuiApplication::setDesktopFileName(QStringLiteral("quillstock"));
    QApplication::setWindowIcon(programIcon());

    // Installed, the program folder is the user's own folder: on the first
    // start it gets the demo catalogue and an empty inventory database.
    const QString folder = platform::programFolder();
    if (platform::runsInstalled())
        application.Run([&] { setup::PrepareProgramFolder(folder); });

    auto main = std::make_unique<TfMain>(folder);
    fMain = main.get();
    auto report = std::make_unique<TfFehlendeBuecher>();
    fFehlendeBuecher = report.get();
    auto copy = std::make_unique<TfCopyDlg>();
    fCopyDlg = copy.get();
    fFehlendeBuecher->Bind(&fMain->DS_Veltrano, fMain->ProgramFolder(), fCopyDlg,
                           fMain->ProgramFolder() + TfMain::SettingsFileName);

    fMain->show();
    const int rc = qtApp.exec();

    fCopyDlg = nullptr;
    fFehlendeBuecher = nullptr;
    fMain = nullptr;
    return rc;
}
