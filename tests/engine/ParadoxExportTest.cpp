// Paradox tables written by SELECT … INTO … IN "<folder>"[Paradox n.X;],
// read back through pxlib and checked in their header bytes.
#include "engine/Database.h"
#include "tests/engine/ExportFixture.h"
#include "tests/support/ParadoxReader.h"

#include <QFile>
#include <gtest/gtest.h>

extern "C" {
#include <paradox.h>
}

using exporttest::CatalogueExport;

namespace {

QByteArray headerBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.read(0x80) : QByteArray();
}

struct Version {
    const char* connect;
    int versionByte;  // offset 0x39
    int pxlibVersion; // how pxlib reads the layout
};
const Version kVersions[] = {
    {"Paradox 3.X", 0x03, 30}, {"Paradox 4.X", 0x09, 40}, {"Paradox 5.X", 0x0B, 50}, {"Paradox 7.X", 0x0C, 70}};

} // namespace

TEST(ParadoxExport, EveryVersionHasItsHeaderAndIsReadBackByPxlib)
{
    CatalogueExport source;
    const auto expected = source.expectedRows();
    for (const Version& v : kVersions) {
        SCOPED_TRACE(v.connect);
        const QString name = QString::fromLatin1(v.connect).remove(' ').remove('.');
        EXPECT_EQ(source.exportTo("[" + name.toStdString() + ".db] IN \"" + source.dir.path().toStdString() + "\"["
                                  + v.connect + ";]"),
                  67);
        const bool modern = v.pxlibVersion >= 50;
        const bool memos = v.pxlibVersion >= 40;
        const QString mb = source.dir.file(name + ".mb");
        EXPECT_EQ(QFile::exists(mb), memos) << "Paradox 3 has no memo fields";

        const QByteArray head = headerBytes(source.dir.file(name + ".db"));
        EXPECT_EQ(int(quint8(head[0x39])), v.versionByte);
        // Not encrypted: 0 in a table without a data header; the marker
        // 0xFF00FF00 ("see the data header") only where there is one.
        EXPECT_EQ(head.mid(0x25, 4), memos ? QByteArray("\x00\xFF\x00\xFF", 4) : QByteArray(4, '\0'));
        if (memos) {
            EXPECT_EQ(int(quint8(head[0x6A])) | int(quint8(head[0x6B])) << 8, 1252) << "code page in the data header";
        }

        const testsupport::ParadoxTable table = testsupport::readParadox(source.dir.file(name + ".db"), memos ? mb : QString());
        EXPECT_EQ(table.fileVersion, v.pxlibVersion);
        EXPECT_EQ(table.fields, exporttest::CatalogueExport::fieldNames());
        EXPECT_EQ(table.types, (QList<int>{modern ? pxfLong : pxfNumber, pxfAlpha, pxfAlpha, pxfCurrency,
                                           modern ? pxfLogical : pxfShort, modern ? pxfTimestamp : pxfDate, pxfShort,
                                           memos ? pxfMemoBLOb : pxfAlpha}));
        exporttest::Reading reading;
        reading.emptyTextIsNull = true; // Paradox stores "" and null alike
        reading.booleansAsNumbers = !modern;
        reading.datesWithTime = modern;
        reading.memoLimit = memos ? -1 : 255;
        EXPECT_EQ(table.rows, exporttest::expectedJson(expected, reading));
    }
}
