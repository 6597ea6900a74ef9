// The all-copies check on the 100,000-copy catalogue gives the documented rows.
#include "EngineTestSupport.h"

#include "tests/support/TempFolder.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>

using namespace enginetest;

TEST(LargeCatalogue, AllCopiesMatchTheDocumentedCountAndDigest)
{
    testsupport::TempFolder folder;
    dao::DBEngine engine;
    auto db = engine.openDatabase(folder.copyFixture("catalogue/veltrano-100k.mdb").toStdString());
    auto rs = db->openRecordset(baseQuery() + " ORDER BY EXEMPLAR.EXEMPLARNUMMER", dao::dbOpenForwardOnly);
    QCryptographicHash sha(QCryptographicHash::Sha256);
    long rows = 0;
    while (!rs->eof()) {
        std::string line;
        for (int i = 0; i < 3; ++i) {
            const dao::Variant& v = rs->value(i);
            line += (i ? "\t" : "") + (v.isNull() ? std::string("\\N") : v.toText());
        }
        line += "\n";
        sha.addData(QByteArrayView(line.data(), static_cast<qsizetype>(line.size())));
        ++rows;
        rs->moveNext();
    }
    EXPECT_EQ(rows, 99677);
    EXPECT_EQ(sha.result().toHex().toStdString(), "8b07631ba9a6d61a45ae618cd9a9037feafc923fc309aedfc782811316c92b20");
}
