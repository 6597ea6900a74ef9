// The search panel over the sample catalogue and over an engine table with
// indexes, typed into as a user would.
#include "daoui/TVoDaoSearch.h"
#include "tests/daoui/DialogTestSupport.h"
#include "tests/daoui/ReadersTable.h"
#include "tests/support/EngineRows.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace daouitest;

namespace {

struct SearchPanel : Catalogue {
    TVoDaoSearch panel;

    SearchPanel()
    {
        panel.SetDataSource(&source);
        panel.show();
    }

    void choose(const QString& field)
    {
        panel.FieldList->setCurrentIndex(panel.FieldList->findText(field));
        ASSERT_EQ(panel.FieldList->currentText(), field);
    }
    void type(const QString& text)
    {
        panel.SearchEdit->clear();
        typeText(panel.SearchEdit, text);
    }

    // Where the panel must land for text in column (1 title, 2 author) of
    // the documented rows: the first row holding the text itself (any case),
    // else the first starting with it; 0 for none.
    static int expectedNumber(int column, const QString& text)
    {
        const QJsonArray rows = testsupport::expectedCatalogueQueries()["alle"].toObject()["rows"].toArray();
        for (const bool whole : {true, false})
            for (const QJsonValue& row : rows) {
                const QString value = row.toArray()[column].toString();
                if (whole ? value.compare(text, Qt::CaseInsensitive) == 0
                          : value.startsWith(text, Qt::CaseInsensitive))
                    return row.toArray()[0].toInt();
            }
        return 0;
    }
};

} // namespace

TEST_F(SearchPanel, AnIncrementalSearchFollowsEachTypedCharacter)
{
    openAllCopies();
    panel.SetIncrementalSearch(true);
    choose("TITEL");
    const QString title = "Der Zauberberg";
    for (int i = 0; i < title.size(); ++i) {
        typeText(panel.SearchEdit, title.mid(i, 1));
        const QString typed = title.left(i + 1);
        SCOPED_TRACE(typed.toStdString());
        EXPECT_EQ(number(), expectedNumber(1, typed));
    }
    EXPECT_EQ(text("TITEL"), "Der Zauberberg");
    EXPECT_NE(expectedNumber(1, "D"), expectedNumber(1, "Der")) << "the record moved on the way";

    // Goethe is a whole title of its own and wins over an earlier "Goethe, ..." author: search titles.
    type("goethe");
    EXPECT_EQ(number(), expectedNumber(1, "goethe"));
    EXPECT_EQ(text("TITEL"), "Goethe");
}

TEST_F(SearchPanel, FindsTheFirstMuellerAndNothingFoundLeavesTheRecordWithoutAMessage)
{
    openAllCopies();
    EXPECT_FALSE(panel.IncrementalSearch());
    choose("AUTOR");
    type("Mül");
    EXPECT_EQ(number(), 1) << "without incremental search typing does not search";
    QTest::mouseClick(panel.SearchButton, Qt::LeftButton);
    EXPECT_EQ(text("AUTOR"), "Müller, Hans");
    EXPECT_EQ(number(), expectedNumber(2, "Mül"));

    table.MoveBy(5);
    const int here = number();
    type("Zzz");
    QTest::mouseClick(panel.SearchButton, Qt::LeftButton);
    EXPECT_EQ(number(), here);
    choose("BUCHNR");
    type("kein Wert"); // no number: the dataset's error is passed over
    QTest::mouseClick(panel.SearchButton, Qt::LeftButton);
    EXPECT_EQ(number(), here);
    EXPECT_TRUE(ui->messages().empty());

    type("4711");
    QTest::mouseClick(panel.SearchButton, Qt::LeftButton);
    EXPECT_EQ(number(), 4711);
}

TEST_F(SearchPanel, EnablesAndFillsItselfFromItsDataSource)
{
    EXPECT_FALSE(panel.isEnabled()) << "closed dataset";
    EXPECT_EQ(panel.FieldLabel->text(), "Field :");
    EXPECT_EQ(panel.SearchButton->text(), "Search");
    EXPECT_TRUE(panel.rect().contains(panel.SearchButton->geometry())) << "the panel holds its controls";
    openAllCopies();
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_FALSE(panel.SeekMode());
    EXPECT_EQ(panel.FieldList->count(), 3);
    EXPECT_EQ(panel.FieldList->currentText(), "BUCHNR");

    // Moving through the records keeps the user's choice.
    choose("AUTOR");
    table.Next();
    table.Last();
    EXPECT_EQ(panel.FieldList->currentText(), "AUTOR");

    table.Close();
    EXPECT_FALSE(panel.isEnabled());
    table.Open();
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_EQ(panel.FieldList->currentText(), "BUCHNR") << "filled anew when the dataset opens";

    TVoDaoSearch other;
    {
        TDataSource passing;
        passing.SetDataSet(&table);
        other.SetDataSource(&passing);
        EXPECT_TRUE(other.isEnabled());
    }
    EXPECT_EQ(other.DataSource(), nullptr);
    QTest::mouseClick(other.SearchButton, Qt::LeftButton); // no dataset: nothing happens
}

TEST_F(ReadersTable, TheSearchPanelSeeksOnATableTypeRecordsetsIndex)
{
    TDataSource source;
    source.SetDataSet(&table);
    TVoDaoSearch panel;
    panel.SetDataSource(&source);
    openTable("Notiz", "");
    EXPECT_FALSE(panel.isEnabled()) << "a table without indexes";
    table.Close();

    openTable("Leser", "OrtName");
    ASSERT_TRUE(panel.isEnabled());
    EXPECT_TRUE(panel.SeekMode());
    QStringList listed;
    for (int i = 0; i < panel.FieldList->count(); ++i)
        listed << panel.FieldList->itemText(i);
    EXPECT_EQ(listed, (QStringList{"Ort", "Name"})) << "the index's fields in index order";

    table.AutoFindIndex = false;
    typeText(panel.SearchEdit, "ber");
    QTest::mouseClick(panel.SearchButton, Qt::LeftButton);
    EXPECT_EQ(table.FieldByName("Ort")->AsString(), "Berlin");
    EXPECT_FALSE(table.AutoFindIndex) << "put back after the search";
}
