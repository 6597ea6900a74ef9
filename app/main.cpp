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

    auto main = std::make_unique<TfMain>(platform::programFolder());
    fMain = main.get();
    auto report = std::make_unique<TfFehlendeBuecher>();
    fFehlendeBuecher = report.get();
    auto copy = std::make_unique<TfCopyDlg>();
    fCopyDlg = copy.get();
    fFehlendeBuecher->Bind(&fMain->DS_Veltrano, fMain->ProgramFolder(), fCopyDlg);

    fMain->show();
    const int rc = qtApp.exec();

    fCopyDlg = nullptr;
    fFehlendeBuecher = nullptr;
    fMain = nullptr;
    return rc;
}
