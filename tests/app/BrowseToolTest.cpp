// The data viewer quillstock-browse, run as built (offscreen).
#include "tests/support/TempFolder.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

struct Browse {
    QProcess process;
    explicit Browse(const QStringList& args)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUILLSTOCK_BIN_DIR "/quillstock-browse"), args);
    }
    ~Browse()
    {
        process.kill();
        process.waitForFinished();
    }
    // Still showing its window after a while, or the exit code and message it left with.
    bool StillRunning() { return !process.waitForFinished(1500); }
    QString Error() { return QString::fromUtf8(process.readAllStandardError()); }
};

} // namespace

TEST(BrowseTool, ShowsATableOrAQueryAndRefusesWhatItCannotShow)
{
    testsupport::TempFolder dir;
    const QString catalogue = dir.copyFixture(QStringLiteral("catalogue/veltrano.mdb"));
    EXPECT_TRUE(Browse({catalogue, QStringLiteral("EXEMPLAR")}).StillRunning());
    EXPECT_TRUE(Browse({catalogue, QStringLiteral("select * from TITEL where JAHR > 1990")}).StillRunning());

    Browse usage({});
    ASSERT_FALSE(usage.StillRunning());
    EXPECT_EQ(usage.process.exitCode(), 2);
    EXPECT_TRUE(usage.Error().contains(QStringLiteral("usage: quillstock-browse DATABASE")));

    Browse missing({dir.file(QStringLiteral("fehlt.mdb")), QStringLiteral("EXEMPLAR")});
    ASSERT_FALSE(missing.StillRunning());
    EXPECT_EQ(missing.process.exitCode(), 1);
    EXPECT_TRUE(missing.Error().contains(QStringLiteral("no such file")));

    Browse unknown({catalogue, QStringLiteral("NIRGENDS")});
    ASSERT_FALSE(unknown.StillRunning());
    EXPECT_EQ(unknown.process.exitCode(), 1);
    EXPECT_TRUE(unknown.Error().contains(QStringLiteral("NIRGENDS"))) << unknown.Error().toStdString();
}
