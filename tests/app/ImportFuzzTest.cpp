// Number files damaged or of another kind — bytes changed, cut short, lines
// doubled, zero bytes, byte-order marks, very long lines — are imported or
// refused through the window without fault: the import ends, shows at most
// its twenty warnings, the count and the error, never leaves an entry pending,
// and a file it reports as done is stored line by line.
// QUILLSTOCK_FUZZ_SECONDS=600 runs it for ten minutes.
#include "tests/app/MainWindowHarness.h"
#include "ui_TfMain.h"

#include "tests/support/EngineRows.h"
#include "tests/support/FuzzBudget.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

QByteArray numberFile(QRandomGenerator& rng)
{
    QByteArray b;
    for (int n = int(rng.bounded(1, 200)); n > 0; --n)
        b += QByteArray::number(rng.bounded(-2147483647, 2147483647)) + (rng.bounded(2) ? "\r\n" : "\n");
    return b;
}

QByteArray damaged(QByteArray b, QRandomGenerator& rng)
{
    static const QByteArray inserts[] = {QByteArray(1, '\0'), "\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF", "\r", " ", "x",
                                         "0x", "$", "-", "\xE4", QByteArray(30000, '9'), "\n\n\n"};
    for (int n = int(rng.bounded(1, 6)); n > 0; --n) {
        const qsizetype at = b.isEmpty() ? 0 : qsizetype(rng.bounded(int(b.size())));
        switch (rng.bounded(4)) {
        case 0:
            if (!b.isEmpty())
                b[at] = char(rng.bounded(256));
            break;
        case 1:
            b.truncate(at);
            break;
        case 2:
            b.insert(at, inserts[rng.bounded(int(std::size(inserts)))]);
            break;
        default:
            b.insert(at, b.mid(at, rng.bounded(200)));
            break;
        }
    }
    return b;
}

// The non-empty lines of a file of ASCII text, as a reader of text files sees them.
int nonEmptyLines(const QByteArray& b)
{
    int n = 0;
    for (QByteArray line : b.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        n += !line.isEmpty();
    }
    return n;
}

} // namespace

TEST(ImportFuzz, DamagedNumberFilesAreImportedOrRefusedWithoutFault)
{
    MainWindowHarness h;
    TfMain& w = h.startOnSampleCatalogue();
    w.ui->Button1->click();
    QRandomGenerator rng(testsupport::FuzzBudget::seed(20261209));
    const testsupport::FuzzBudget budget(300);
    int tried = 0, done = 0, refused = 0, faults = 0;
    int before = 0;
    for (; budget.more(tried); ++tried) {
        const QByteArray file = rng.bounded(5) ? damaged(numberFile(rng), rng) : numberFile(rng);
        h.dir.write("nummern.txt", file);
        h.ui->clear();
        h.ui->fileAnswers.push_back(FileDialogResult{h.dir.file("nummern.txt"), 3});
        w.ui->Button3->click();
        SCOPED_TRACE("case " + std::to_string(tried) + ": " + file.left(300).toStdString());

        const int after = testsupport::queryRows(h.dir.file("db_inv.mdb"), "SELECT COUNT(*) FROM inventur")[0]
                              .toArray()[0]
                              .toInt();
        const QStringList shown = h.ui->messageTexts();
        bool ok = shown.size() <= 22 && w.ui->Label5->text().size() <= 81 && w.TB_INV.State() == dsBrowse &&
                  after >= before;
        for (const QString& text : shown)
            ok = ok && text.size() < 400;
        if (w.ui->Label5->text() == QStringLiteral("fertig.")) {
            ++done;
            bool ascii = !file.contains('\0') && !file.startsWith("\xFF\xFE") && !file.startsWith("\xFE\xFF") &&
                         !file.startsWith("\xEF\xBB\xBF");
            for (char c : file)
                ascii = ascii && uchar(c) < 128;
            if (ascii)
                ok = ok && after - before == nonEmptyLines(file);
        } else {
            ++refused;
            ok = ok && !shown.isEmpty();
        }
        faults += !ok;
        EXPECT_TRUE(ok) << shown.size() << " messages, " << after - before << " stored";
        before = after;
        if (::testing::Test::HasFailure())
            break;
    }
    std::printf("import fuzz: %d files tried, %d imported, %d refused or stopped, %d faults\n", tried, done, refused,
                faults);
}
