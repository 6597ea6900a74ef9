#pragma once
// Shared enumerations and small types of the dataset framework.
#include <QByteArray>
#include <QString>
#include <cstdint>

// Field types. The ordinal numbers are written into the "HEX Recordset"
// clipboard format and read back from it: never reorder or insert.
enum TFieldType : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
    ftCursor = 22,
    ftFixedChar = 23,
    ftWideString = 24,
    ftLargeint = 25,
    ftADT = 26,
    ftArray = 27,
    ftReference = 28,
    ftDataSet = 29,
    ftOraBlob = 30,
    ftOraClob = 31,
    ftVariant = 32,
    ftInterface = 33,
    ftIDispatch = 34,
    ftGuid = 35,
};

// Name of a field type as the framework spells it ("String", "Integer", ...).
QString FieldTypeName(TFieldType type);
// True for the types whose values live in blobs (read through blob streams).
bool IsBlobFieldType(TFieldType type);
// True for the integer, float, currency and BCD types.
bool IsNumericFieldType(TFieldType type);

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc };

// Whether the database fills a field itself when a record is inserted: an
// auto-increment or engine-generated key (arAutoInc) or a default (arDefault).
enum TAutoRefreshFlag { arNone, arAutoInc, arDefault };

enum TDataSetState {
    dsInactive,
    dsBrowse,
    dsEdit,
    dsInsert,
    dsSetKey,
    dsCalcFields,
    dsFilter,
    dsNewValue,
    dsOldValue,
    dsCurValue,
    dsBlockRead,
    dsInternalCalc,
    dsOpening,
};

// Notifications a dataset sends to its data sources and their links.
enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl,
    deNone,
};

enum TGetMode { gmCurrent, gmNext, gmPrior };
enum TGetResult { grOK, grBOF, grEOF, grError };

// Where a record buffer stands: on a record, a new record, or a crack.
enum TBookmarkFlag { bfCurrent, bfBOF, bfEOF, bfInserted };

enum TDataAction { daFail, daAbort, daRetry };

enum TResyncModeFlag { rmExact = 1, rmCenter = 2 };
using TResyncMode = unsigned;

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = unsigned;

enum TFilterOption { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using TFilterOptions = unsigned;

enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

// An opaque bookmark: the bytes a dataset hands out for a record (4 bytes for
// the DAO dataset). An empty array means "no bookmark".
using TBookmark = QByteArray;
