// Settings files as another program, a bad disk or a user's editor may leave
// them — stray brackets and equals signs, zero bytes, byte-order marks, lone
// carriage returns, very long lines — are read without fault, and writing the
// catalogue path into them gives that path back and changes no other key.
// QUILLSTOCK_FUZZ_SECONDS=600 runs it for ten minutes.
#include "platform/ProfileFile.h"
#include "tests/support/FuzzBudget.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray randomSettings(QRandomGenerator& rng)
{
    static const QByteArray pieces[] = {
        "[GLOBAL]", "[global ]", " [Global]x", "[X]", "[", "]", "PATH=", "path = 'c:\\a b'", "PATH=\"q\"", "OTHER=1",
        "other=", ";PATH=c", "=", "\"", "'", "\r\n", "\n", "\r", QByteArray(1, '\0'), "\xFF\xFE", "\xEF\xBB\xBF",
        "\xE4\xF6\xFC", "\xC3\xA4", " ", "\t", "[Y]", "Y1=2",
    };
    QByteArray b;
    for (int n = int(rng.bounded(60)); n > 0; --n) {
        const quint32 kind = rng.bounded(40);
        if (kind < std::size(pieces))
            b += pieces[kind];
        else if (kind < 38)
            for (int i = int(rng.bounded(1, 12)); i > 0; --i)
                b += char(rng.bounded(256));
        else
            b += QByteArray(int(rng.bounded(1, 20000)), 'x');
    }
    return b;
}

// A value as a user's path may be: blanks, brackets, quotes and umlauts inside,
// none at its ends, no line break.
QString randomValue(QRandomGenerator& rng)
{
    static const QString inner = QStringLiteral("ab /\\[]=;'\"äöüß.:-_()");
    QString v = QStringLiteral("p");
    for (int n = int(rng.bounded(60)); n > 0; --n)
        v += inner[rng.bounded(int(inner.size()))];
    return v + QStringLiteral("z");
}

} // namespace

TEST(ProfileFuzz, AnySettingsFileIsReadAndTakesTheNewPathWithoutLosingOtherKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Quillstock.ini");
    const platform::ProfileFile file(path);
    QRandomGenerator rng(testsupport::FuzzBudget::seed(20261208));
    const testsupport::FuzzBudget budget(1000);
    int tried = 0, faults = 0;
    for (; budget.more(tried); ++tried) {
        const QByteArray content = randomSettings(rng);
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        SCOPED_TRACE("case " + std::to_string(tried) + ": " + content.left(200).toHex().toStdString());
        file.readString("GLOBAL", "PATH", "default");
        const QString other = file.readString("X", "OTHER", "none");
        const auto y = file.readSection("Y");

        const QString value = randomValue(rng);
        file.writeString("GLOBAL", "PATH", value);
        const bool ok = file.readString("GLOBAL", "PATH", "default") == value &&
                        file.readString("X", "OTHER", "none") == other && file.readSection("Y") == y;
        faults += !ok;
        EXPECT_TRUE(ok) << value.toStdString();
        if (::testing::Test::HasFailure())
            break;
    }
    std::printf("profile fuzz: %d files tried, %d faults\n", tried, faults);
}
