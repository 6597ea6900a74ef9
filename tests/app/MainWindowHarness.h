#pragma once
// Starts the main window the way main() does, on a temporary program folder,
// with every question to the user answered by a RecordingInteraction.
#include "app/TCopyAnimation.h"
#include "app/TfCopyDlg.h"
#include "app/InventoryDatabase.h"
#include "app/TfMain.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "stocktaking/TfFehlendeBuecher.h"
#include "tests/support/TempFolder.h"

#include <QAbstractButton>
#include <QDialog>

#include <memory>

struct MainWindowHarness {
    testsupport::TempFolder dir;
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    std::unique_ptr<TfCopyDlg> copyDlg = std::make_unique<TfCopyDlg>();
    std::unique_ptr<TfMain> main;
    std::unique_ptr<TfFehlendeBuecher> report;

    MainWindowHarness()
    {
        app.Title = QStringLiteral("Quillstock -Toolbox for Veltrano");
        fCopyDlg = copyDlg.get();
    }
    ~MainWindowHarness()
    {
        stop();
        fCopyDlg = nullptr;
    }

    // Writes a settings file naming the catalogue.
    void setCatalogue(const QString& path) const
    {
        dir.write("Quillstock.ini", "[GLOBAL]\r\nPATH=" + path.toUtf8() + "\r\n");
    }

    // Puts an empty inventory database into the program folder.
    void addInventory() const { inventory::CreateEmptyInventory(dir.file("db_inv.mdb")); }

    TfMain& create(const QString& folder = {})
    {
        main = std::make_unique<TfMain>(folder.isEmpty() ? dir.path() : folder);
        fMain = main.get();
        report = std::make_unique<TfFehlendeBuecher>();
        fFehlendeBuecher = report.get();
        report->Bind(&main->DS_Veltrano, main->ProgramFolder(), copyDlg.get(),
                     main->ProgramFolder() + TfMain::SettingsFileName);
        return *main;
    }
    TfMain& start(const QString& folder = {})
    {
        create(folder);
        main->show();
        return *main;
    }
    // The usual start: the sample catalogue, an empty inventory, the window shown.
    TfMain& startOnSampleCatalogue()
    {
        setCatalogue(dir.copyFixture("catalogue/veltrano.mdb"));
        addInventory();
        return start();
    }
    // Clicks a button that shows the report window modally and gives the
    // caption the window showed (empty when it did not show).
    QString reportCaptionAfter(QAbstractButton& button)
    {
        // Shared, so that an answer left unused never points at a gone local.
        auto caption = std::make_shared<QString>();
        ui->dialogAnswers.push_back([caption](QDialog& dialog) {
            dialog.show();
            *caption = dialog.windowTitle();
            dialog.hide();
            return int(QDialog::Rejected);
        });
        button.click();
        return *caption;
    }
    void stop()
    {
        if (report)
            report->hide();
        if (main)
            main->close();
        main.reset();
        fMain = nullptr;
        report.reset();
        fFehlendeBuecher = nullptr;
    }
};
