// The field-type ordinals are written into the clipboard format: each must keep its number.
#include "framework/data/DbTypes.h"

#include <gtest/gtest.h>

TEST(FieldTypeOrdinals, EveryTypeKeepsItsClipboardNumber)
{
    const TFieldType types[] = {
        ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
        ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
        ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString,
        ftLargeint, ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant,
        ftInterface, ftIDispatch, ftGuid};
    for (int i = 0; i < static_cast<int>(std::size(types)); ++i)
        EXPECT_EQ(static_cast<int>(types[i]), i);
    EXPECT_EQ(ftGuid, 35);
}

TEST(FieldTypeOrdinals, NamesAndBlobKinds)
{
    EXPECT_EQ(FieldTypeName(ftString), QStringLiteral("String"));
    EXPECT_EQ(FieldTypeName(ftMemo), QStringLiteral("Memo"));
    EXPECT_EQ(FieldTypeName(ftGuid), QStringLiteral("Guid"));
    EXPECT_EQ(FieldTypeName(static_cast<TFieldType>(99)), QStringLiteral("Unknown"));
    EXPECT_TRUE(IsBlobFieldType(ftMemo));
    EXPECT_TRUE(IsBlobFieldType(ftBlob));
    EXPECT_FALSE(IsBlobFieldType(ftBytes));
    EXPECT_FALSE(IsBlobFieldType(ftString));
}
