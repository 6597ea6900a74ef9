// The sort dialog and the sort button over the sample catalogue, driven by
// clicks and keys.
#include "daoui/DatasetDialogs.h"
#include "daoui/TVoDaoSortByButton.h"
#include "daoui/TVoDaoSortByDialog.h"
#include "tests/daoui/DialogTestSupport.h"
#include "ui_TVoDaoSortByDialog.h"

#include <QComboBox>
#include <QPushButton>
#include <QToolButton>

using namespace daouitest;

namespace {

using Dialog = TVoDaoSortByDialog;

struct Sorting : Catalogue {
    TVoDaoSortByButton button;

    Sorting()
    {
        button.SetDataSource(&source);
        button.show();
    }

    QStringList numbersFromTop(int count)
    {
        QStringList out;
        table.First();
        for (int i = 0; i < count && !table.Eof(); ++i, table.Next())
            out << text("BUCHNR");
        return out;
    }
};

} // namespace

TEST_F(Sorting, TheOrderOpensNormalisedAndIsWrittenBackWithBrackets)
{
    openAllCopies();
    table.SetSortedBy(QStringList{"[TITEL]  DESC", "AUTOR"});
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(d.windowTitle(), "Sort By Editor");
        EXPECT_EQ(d.size(), QSize(553, 271));
        EXPECT_EQ(d.focusWidget(), d.ui->ListBox2);
        EXPECT_EQ(itemTexts(d.ui->ListBox1), (QStringList{"TITEL", "AUTOR"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox3), (QStringList{"Descending", "Ascending"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox2), QStringList{"BUCHNR"});
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "Ascending");

        // BUCHNR descending goes in and moves up above AUTOR.
        clickRow(d.ui->ListBox2, 0);
        d.ui->ComboBox1->setFocus();
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Down);
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "Descending");
        QTest::mouseClick(d.ui->AddBtn, Qt::LeftButton);
        EXPECT_TRUE(itemTexts(d.ui->ListBox2).isEmpty()) << "every field is in the sort order";
        EXPECT_EQ(d.ui->ListBox1->currentRow(), 2);
        EXPECT_EQ(d.ui->ListBox3->currentRow(), 2);
        QTest::mouseClick(d.ui->UpBtn, Qt::LeftButton);
        EXPECT_EQ(itemTexts(d.ui->ListBox1), (QStringList{"TITEL", "BUCHNR", "AUTOR"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox3), (QStringList{"Descending", "Descending", "Ascending"}));
        EXPECT_EQ(d.ui->ListBox3->currentRow(), 1);
        QTest::mouseClick(d.ui->OKButton, Qt::LeftButton);
    });
    QTest::mouseClick(&button, Qt::LeftButton);

    EXPECT_EQ(dialogsShown(), QStringList{"TVoDaoSortByDialog"});
    EXPECT_EQ(table.SortedBy(), (QStringList{"[TITEL] DESC", "[BUCHNR] DESC", "[AUTOR] ASC"}));
    EXPECT_TRUE(table.Active());
    // "x^2 und die Parabel" sorts last by its letter; the untitled copies
    // (null titles) come after every title.
    EXPECT_EQ(numbersFromTop(1), QStringList{"1001"});
    table.Last();
    EXPECT_TRUE(table.FieldByName("TITEL")->IsNull());
    EXPECT_TRUE(ui->messages().empty());
}

TEST_F(Sorting, CancelLeavesSortedByExactlyAsItWas)
{
    openAllCopies();
    const QStringList odd{"[TITEL]  DESC", " AUTOR"};
    table.SetSortedBy(odd);
    const QStringList before = numbersFromTop(5);
    int reopened = 0;
    table.AfterScroll = [&](TDataSet*) { ++reopened; };
    answer<Dialog>([](Dialog& d) {
        clickRow(d.ui->ListBox1, 0);
        QTest::mouseClick(d.ui->RemoveBtn, Qt::LeftButton);
        doubleClickRow(d.ui->ListBox2, 0);
        EXPECT_EQ(itemTexts(d.ui->ListBox1), (QStringList{"AUTOR", "BUCHNR"}));
        QTest::mouseClick(d.ui->CancelButton, Qt::LeftButton);
    });
    EXPECT_FALSE(ExecuteSortDialog(table));
    EXPECT_EQ(table.SortedBy(), odd);
    EXPECT_EQ(reopened, 0) << "Cancel does not re-sort";

    answer<Dialog>([](Dialog& d) {
        clickRow(d.ui->ListBox1, 1);
        QTest::mouseClick(d.ui->RemoveBtn, Qt::LeftButton);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_FALSE(ExecuteSortDialog(table));
    EXPECT_EQ(table.SortedBy(), odd);
    table.AfterScroll = nullptr;
    EXPECT_EQ(numbersFromTop(5), before);
}

TEST_F(Sorting, ARemovedFieldReappearsAtTheEndAndAnEmptyOrderClearsSortedBy)
{
    openAllCopies();
    table.SetSortedBy("[BUCHNR] DESC");
    ASSERT_EQ(numbersFromTop(1), QStringList{"2147483647"});
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(itemTexts(d.ui->ListBox2), (QStringList{"TITEL", "AUTOR"}));
        // Nothing selected: the buttons do nothing.
        for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{d.ui->AddBtn, d.ui->RemoveBtn,
                                                                        d.ui->UpBtn, d.ui->DownBtn})
            QTest::mouseClick(b, Qt::LeftButton);
        EXPECT_EQ(itemTexts(d.ui->ListBox1), QStringList{"BUCHNR"});
        EXPECT_EQ(itemTexts(d.ui->ListBox2), (QStringList{"TITEL", "AUTOR"}));

        clickRow(d.ui->ListBox1, 0);
        EXPECT_EQ(d.ui->ComboBox1->currentText(), "Descending") << "the row's direction shows";
        QTest::mouseClick(d.ui->RemoveBtn, Qt::LeftButton);
        EXPECT_EQ(itemTexts(d.ui->ListBox2), (QStringList{"TITEL", "AUTOR", "BUCHNR"}));
        EXPECT_EQ(d.ui->ListBox1->count(), 0);
        EXPECT_EQ(d.ui->ListBox3->count(), 0);
        QTest::keyClick(d.ui->OKButton, Qt::Key_Return);
    });
    EXPECT_TRUE(ExecuteSortDialog(table));
    EXPECT_TRUE(table.SortedBy().isEmpty());
    EXPECT_EQ(numbersFromTop(3), (QStringList{"1", "2", "3"})) << "the query's own order again";
}

TEST_F(Sorting, DirectionsFollowTheListsAndWithoutBracketsNamesStayBare)
{
    openAllCopies();
    table.UseBrackets = false;
    answer<Dialog>([](Dialog& d) {
        EXPECT_TRUE(d.ui->ListBox1->count() == 0);
        // Keyboard only: Alt+F to the fields, down to AUTOR, Alt+A adds it.
        d.ui->OKButton->setFocus();
        QTest::keyClick(&d, Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(d.focusWidget(), d.ui->ListBox2);
        QTest::keyClick(d.ui->ListBox2, Qt::Key_Down);
        QTest::keyClick(d.ui->ListBox2, Qt::Key_Down);
        QTest::keyClick(d.ui->ListBox2, Qt::Key_Down);
        QTest::keyClick(&d, Qt::Key_A, Qt::AltModifier);
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.ui->ListBox1->count() == 1; })) << "the button is pressed";

        clickRow(d.ui->ListBox2, 0);
        QTest::mouseClick(d.ui->AddBtn, Qt::LeftButton);
        EXPECT_EQ(itemTexts(d.ui->ListBox1), (QStringList{"AUTOR", "BUCHNR"}));
        // A click in the direction list selects the same row of the sort
        // order; the combo box then changes that row only.
        clickRow(d.ui->ListBox3, 0);
        EXPECT_EQ(d.ui->ListBox1->currentRow(), 0);
        d.ui->ComboBox1->setFocus();
        QTest::keyClick(d.ui->ComboBox1, Qt::Key_Down);
        EXPECT_EQ(itemTexts(d.ui->ListBox3), (QStringList{"Descending", "Ascending"}));
        clickRow(d.ui->ListBox1, 0);
        QTest::mouseClick(d.ui->DownBtn, Qt::LeftButton);
        QTest::mouseClick(d.ui->DownBtn, Qt::LeftButton); // already last: nothing
        EXPECT_EQ(itemTexts(d.ui->ListBox1), (QStringList{"BUCHNR", "AUTOR"}));
        EXPECT_EQ(itemTexts(d.ui->ListBox3), (QStringList{"Ascending", "Descending"}));
        QTest::mouseClick(d.ui->OKButton, Qt::LeftButton);
    });
    EXPECT_TRUE(ExecuteSortDialog(table));
    EXPECT_EQ(table.SortedBy(), (QStringList{"BUCHNR ASC", "AUTOR DESC"}));
}

TEST_F(Sorting, TheButtonFollowsItsDataSource)
{
    EXPECT_EQ(button.text(), "Sort by");
    EXPECT_FALSE(button.isEnabled()) << "closed dataset";
    openAllCopies();
    EXPECT_TRUE(button.isEnabled());
    table.Close();
    EXPECT_FALSE(button.isEnabled());

    table.SetSQL(QStringList{});
    table.SetTableName("EXEMPLAR");
    table.SetTableType(1);
    table.Open();
    EXPECT_FALSE(button.isEnabled()) << "table-type recordset";
    table.Close();
    table.SetTableType(2);
    table.Open();
    EXPECT_TRUE(button.isEnabled()) << "dynaset of a table";

    TVoDaoSortByButton other;
    EXPECT_FALSE(other.isEnabled()) << "no data source";
    {
        TDataSource passing;
        passing.SetDataSet(&table);
        other.SetDataSource(&passing);
        EXPECT_TRUE(other.isEnabled());
    }
    EXPECT_EQ(other.DataSource(), nullptr) << "the data source went away";
    QTest::mouseClick(&other, Qt::LeftButton);
    EXPECT_TRUE(dialogsShown().isEmpty());
}

TEST_F(Sorting, CallBeforeDecidesWhetherTheHandlerRunsBeforeOrAfterTheDialog)
{
    openAllCopies();
    QStringList order;
    button.OnClick = [&](QObject* sender) {
        EXPECT_EQ(sender, &button);
        order << "handler";
    };
    answer<Dialog>([&](Dialog&) { order << "dialog"; });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(order, (QStringList{"handler", "dialog"}));

    order.clear();
    button.setProperty("CallBefore", false);
    answer<Dialog>([&](Dialog&) { order << "dialog"; });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(order, (QStringList{"dialog", "handler"}));
}

TEST_F(Sorting, AnOrderTheEngineRefusesIsShownAndTheFormerOrderKept)
{
    openAllCopies();
    table.UseBrackets = false;
    table.SetSortedBy("[BUCHNR] DESC");
    // A made-up sort line naming no field of the result.
    answer<Dialog>([](Dialog& d) {
        d.ui->ListBox1->addItem("KEIN FELD");
        d.ui->ListBox3->addItem("Ascending");
        QTest::mouseClick(d.ui->OKButton, Qt::LeftButton);
    });
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(ui->messages().size(), 1u);
    EXPECT_EQ(table.SortedBy(), QStringList{"[BUCHNR] DESC"});
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(numbersFromTop(1), QStringList{"2147483647"});
}

TEST_F(Sorting, TheDialogTakesAndGivesPlainLists)
{
    // A blank line names no field: it is not shown, and OK drops it.
    QStringList sortedBy{"[AUTOR] DESC", "", "TITEL"};
    answer<Dialog>([](Dialog& d) {
        EXPECT_EQ(itemTexts(d.ui->ListBox1), (QStringList{"AUTOR", "TITEL"}));
        QTest::mouseClick(d.ui->OKButton, Qt::LeftButton);
    });
    Dialog dialog;
    EXPECT_TRUE(dialog.Execute({"BUCHNR", "TITEL", "AUTOR"}, sortedBy, false));
    EXPECT_EQ(sortedBy, (QStringList{"AUTOR DESC", "TITEL ASC"}));
}
