#include "framework/data/FieldFactory.h"

#include "framework/data/BinaryFields.h"
#include "framework/data/BlobFields.h"
#include "framework/data/DateTimeFields.h"
#include "framework/data/FloatFields.h"
#include "framework/data/IntegerFields.h"
#include "framework/data/TBooleanField.h"
#include "framework/data/TGuidField.h"
#include "framework/data/TStringField.h"

TField* CreateFieldForType(TFieldType type, int size)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
        return new TStringField(type, size);
    case ftSmallint: return new TSmallintField();
    case ftInteger: return new TIntegerField();
    case ftWord: return new TWordField();
    case ftAutoInc: return new TAutoIncField();
    case ftLargeint: return new TLargeintField();
    case ftBoolean: return new TBooleanField();
    case ftFloat: return new TFloatField();
    case ftCurrency: return new TCurrencyField();
    case ftBCD: return new TBCDField();
    case ftDate: return new TDateField();
    case ftTime: return new TTimeField();
    case ftDateTime: return new TDateTimeField();
    case ftBytes: return new TBytesField(size);
    case ftVarBytes: return new TVarBytesField(size);
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
        return new TMemoField(type);
    case ftGraphic: return new TGraphicField();
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
        return new TBlobField(type);
    case ftGuid: return new TGuidField();
    default:
        return new TField(type, size);
    }
}
