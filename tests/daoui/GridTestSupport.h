#pragma once
// Shared set-up of the DAO grid tests: a visible grid (offscreen) over a copy
// of the fixture catalogue or over a small engine database, the recording
// interaction, and dialog entry points that record their calls.
#include "daodata/TVoDaoDatabase.h"
#include "daodata/TVoDaoTable.h"
#include "engine/DBEngine.h"
#include "engine/Database.h"
#include "daoui/TVoDaoDBGrid.h"
#include "framework/data/TDataSource.h"
#include "framework/data/TField.h"
#include "framework/ui/RecordingInteraction.h"
#include "framework/ui/TApplication.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

struct GridTest : ::testing::Test {
    testsupport::TempFolder dir;
    RecordingInteraction* ui = new RecordingInteraction;
    TApplication app{std::unique_ptr<Interaction>(ui)};
    TVoDaoDatabase db{QStringLiteral("DB_Test")};
    TVoDaoTable table{QStringLiteral("TB_Test")};
    TDataSource source;
    TVoDaoDBGrid grid;
    QStringList dialogCalls; // what the recording dialogs were asked, in order

    GridTest()
    {
        db.SetVersion(QStringLiteral("3.6"));
        table.SetDatabase(&db);
        source.SetDataSet(&table);
        grid.SetDataSource(&source);
        grid.resize(640, 400);
    }

    // The fixture catalogue (read-only, as the program reads it).
    void OpenCatalogue()
    {
        db.SetDatabase(dir.copyFixture(QStringLiteral("catalogue/veltrano.mdb")));
        db.SetConnected(true);
    }

    // An engine database with BOOKS: ID (counter, primary key), TITLE (text),
    // LENT (Yes/No), PRICE (currency); a descending index on TITLE; rows 1..count.
    void OpenBooks(int count = 12)
    {
        const QString path = dir.file(QStringLiteral("books.mdb"));
        {
            TVoDaoDatabase maker;
            auto made = maker.CoreDBEngine()->createDatabase(path.toStdString(), ";LANGID=0x0409;CP=1252;COUNTRY=0");
            made->execute("CREATE TABLE BOOKS (ID COUNTER PRIMARY KEY, TITLE TEXT(40), LENT YESNO, PRICE CURRENCY)");
            made->execute("CREATE INDEX ByTitle ON BOOKS (TITLE DESC)");
            for (int i = 1; i <= count; ++i)
                made->execute("INSERT INTO BOOKS (TITLE, LENT, PRICE) VALUES ('Book " + std::to_string(i) + "', "
                              + (i % 3 == 0 ? "True" : "False") + ", " + std::to_string(i) + ".5)");
            made->close();
        }
        db.SetDatabase(path);
        db.SetConnected(true);
    }

    // A table-type recordset on one of its indexes.
    void OpenTableType(const QString& name, const QString& index)
    {
        table.SetTableType(1);
        table.SetTableName(name);
        table.SetIndexName(index);
        table.Open();
    }

    void Show()
    {
        grid.show();
        QApplication::processEvents();
    }

    // Entry points for every dialog that record their calls.
    void RecordDialogs()
    {
        TVoDaoGridDialogs d;
        d.selectIndex = [this](TVoDaoTable&, const QString& name) {
            dialogCalls << QStringLiteral("index:") + name;
            return name;
        };
        d.sort = [this](TVoDaoTable&) { dialogCalls << QStringLiteral("sort"); return true; };
        d.filter = [this](TVoDaoTable&, QString& filter, QStringList&) {
            dialogCalls << QStringLiteral("filter:") + filter;
            return false;
        };
        d.findSeek = [this](TVoDaoTable&, bool seek) {
            dialogCalls << (seek ? QStringLiteral("seek") : QStringLiteral("find"));
            return true;
        };
        d.quickFindSeek = [this](TVoDaoTable&, bool seek, const QString& field) {
            dialogCalls << (seek ? QStringLiteral("quickseek:") : QStringLiteral("quickfind:")) + field;
            return true;
        };
        d.chooseVisibleColumns = [this](TVoDaoDBGrid&) { dialogCalls << QStringLiteral("columns"); };
        d.exportForGrid = [this](TVoDaoTable&, TVoDaoDBGrid&, const QString& folder) {
            dialogCalls << QStringLiteral("export:") + folder;
        };
        d.cut = [this](TVoDaoDBGrid&) { dialogCalls << QStringLiteral("cut"); };
        d.copy = [this](TVoDaoDBGrid&) { dialogCalls << QStringLiteral("copy"); };
        d.paste = [this](TVoDaoDBGrid&) { dialogCalls << QStringLiteral("paste"); };
        grid.SetDialogs(d);
    }

    QWidget* MenuCell() { return grid.findChild<QWidget*>(QStringLiteral("MenuCell")); }

    // Opens the menu with the mouse on the menu cell; the entries as shown.
    std::vector<RecordingInteraction::MenuEntry> ClickMenuCell(int answer = -1)
    {
        ui->menuAnswers.push_back(answer);
        const size_t before = ui->menus().size();
        QTest::mouseClick(MenuCell(), Qt::LeftButton, {}, MenuCell()->rect().center());
        const auto menus = ui->menus();
        if (menus.size() != before + 1) {
            ui->menuAnswers.clear();
            return {};
        }
        return menus.back();
    }

    // Indexes of the entries shown disabled (separators left out).
    static std::vector<int> Disabled(const std::vector<RecordingInteraction::MenuEntry>& menu)
    {
        std::vector<int> result;
        for (size_t i = 0; i < menu.size(); ++i)
            if (!menu[i].separator && !menu[i].enabled)
                result.push_back(int(i));
        return result;
    }
};
