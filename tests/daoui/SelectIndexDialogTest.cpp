// The index dialog opened from the grid on the catalogue's titles copied
// into an engine database with a two-field index whose second field is
// descending: the fields and their sort orders, the table-type recordset
// following the choice live, Cancel and OK.
#include "daoui/TVoDaoSelectIndex.h"
#include "tests/daoui/DialogTestSupport.h"
#include "ui_TVoDaoSelectIndex.h"

#include "engine/DBEngine.h"
#include "engine/Database.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>

using namespace daouitest;

namespace {

using Dialog = TVoDaoSelectIndex;

const QString kNoIndex = "Don't use an Index";

struct IndexedTitles : WithUser {
    testsupport::TempFolder dir;
    QString path = dir.file("titel.mdb");
    TVoDaoDatabase db{"DB_Titel"};
    TVoDaoTable table{"TB_Titel"};
    TDataSource source;
    TVoDaoDBGrid grid;

    IndexedTitles()
    {
        {
            dao::DBEngine engine;
            auto catalogue = engine.openDatabase(dir.copyFixture("catalogue/veltrano.mdb").toStdString());
            catalogue->execute("SELECT * INTO [" + path.toStdString() + "].[TITEL] FROM TITEL");
            auto titles = engine.openDatabase(path.toStdString());
            titles->execute("CREATE UNIQUE INDEX PrimaryKey ON TITEL (Buchungsnummer) WITH PRIMARY");
            titles->execute("CREATE INDEX JahrTitel ON TITEL (JAHR, HAUPTTITEL DESC)");
        }
        db.SetDatabase(path);
        db.SetConnected(true);
        table.SetDatabase(&db);
        table.SetTableType(1);
        table.SetTableName("TITEL");
        table.Open();
        source.SetDataSet(&table);
        grid.SetDataSource(&source);
        grid.resize(640, 400);
        grid.show();
        QApplication::processEvents();
    }

    void openIndexDialog() { chooseFromGridMenu(ui, grid, TVoDaoDBGrid::miSelectIndex); }

    // The titles in the dataset's order.
    QList<int> titleOrder()
    {
        QList<int> numbers;
        for (table.First(); !table.Eof(); table.Next())
            numbers << table.FieldByName("Buchungsnummer")->AsInteger();
        table.First();
        return numbers;
    }
    QList<int> orderedBy(const QString& order)
    {
        return numbersFromSqlTool(path, "SELECT Buchungsnummer FROM TITEL ORDER BY " + order);
    }

    // The field grid's rows: name and sort order, blank cells as empty texts.
    static QList<QStringList> fieldRows(const Dialog& d)
    {
        const QTableWidget* grid = d.ui->StringGrid1;
        QList<QStringList> rows;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList row;
            for (int c = 0; c < 2; ++c)
                row << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
            rows << row;
        }
        return rows;
    }
};

} // namespace

TEST_F(IndexedTitles, FieldsShowTheirSortOrderAndTheDatasetFollowsTheChoiceUntilCancel)
{
    ASSERT_TRUE(table.IndexName().isEmpty());
    const QList<int> tableOrder = titleOrder();
    const QList<int> byYearAndTitleDown = orderedBy("JAHR, HAUPTTITEL DESC");
    ASSERT_NE(tableOrder, byYearAndTitleDown);

    answer<Dialog>([&](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "Select Index");
        EXPECT_EQ(d.size(), QSize(352, 290));
        QComboBox* names = d.ui->ComboBox1;
        ASSERT_EQ(names->count(), 3);
        EXPECT_EQ(names->itemText(0), kNoIndex);
        EXPECT_EQ(names->currentText(), kNoIndex);
        EXPECT_EQ(d.ui->StringGrid1->horizontalHeaderItem(0)->text(), "Field Name");
        EXPECT_EQ(d.ui->StringGrid1->horizontalHeaderItem(1)->text(), "Sort Order");
        EXPECT_EQ(fieldRows(d), (QList<QStringList>{{"", ""}}));

        chooseByKeys(names, "JahrTitel");
        EXPECT_EQ(fieldRows(d), (QList<QStringList>{{"JAHR", "Ascending"}, {"HAUPTTITEL", "Descending"}}));
        EXPECT_EQ(table.IndexName(), "JahrTitel") << "live view";
        EXPECT_EQ(titleOrder(), byYearAndTitleDown);

        chooseByKeys(names, "PrimaryKey");
        EXPECT_EQ(fieldRows(d), (QList<QStringList>{{"Buchungsnummer", "Ascending"}}));
        EXPECT_EQ(titleOrder(), orderedBy("Buchungsnummer"));
        QTest::mouseClick(d.ui->Button2, Qt::LeftButton);
    });
    openIndexDialog();
    EXPECT_TRUE(table.IndexName().isEmpty()) << "Cancel puts the name it opened with back";
    EXPECT_EQ(titleOrder(), tableOrder);

    answer<Dialog>([](Dialog& d) {
        chooseByKeys(d.ui->ComboBox1, "JahrTitel");
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Return); // "OK" is the default button
    });
    openIndexDialog();
    EXPECT_EQ(table.IndexName(), "JahrTitel");
    EXPECT_EQ(titleOrder(), byYearAndTitleDown);
    EXPECT_EQ(table.IndexFieldCount(), 2);
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(IndexedTitles, ReopensOnTheIndexInUseAndWithoutLiveViewChangesOnOkOnly)
{
    table.SetIndexName("JahrTitel");
    table.MoveBy(10);
    const int current = table.FieldByName("Buchungsnummer")->AsInteger();
    answer<Dialog>([](Dialog& d) { QTest::mouseClick(d.ui->Button1, Qt::LeftButton); });
    openIndexDialog();
    EXPECT_EQ(table.FieldByName("Buchungsnummer")->AsInteger(), current) << "the same index keeps the row";

    answer<Dialog>([this](Dialog& d) {
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "JahrTitel");
        EXPECT_EQ(fieldRows(d).size(), 2);
        QTest::mouseClick(d.ui->CheckBox1, Qt::LeftButton);
        chooseByKeys(d.ui->ComboBox1, kNoIndex);
        EXPECT_EQ(fieldRows(d), (QList<QStringList>{{"", ""}}));
        EXPECT_EQ(table.IndexName(), "JahrTitel") << "no live view";
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    openIndexDialog();
    EXPECT_TRUE(table.IndexName().isEmpty());

    // Ctrl+I opens it as well.
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.ui->ComboBox1->currentText(), kNoIndex);
        QTest::mouseClick(d.ui->Button1, Qt::LeftButton);
    });
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(dialogsShown().size(), 3);
    EXPECT_TRUE(table.IndexName().isEmpty());
    EXPECT_TRUE(ui->messages().empty());
}
