#pragma once
// DAO's published constants, with the values DAO 3.6 gives them.

namespace dao {

enum RecordsetTypeEnum : int {
    dbOpenTable = 1,
    dbOpenDynaset = 2,
    dbOpenSnapshot = 4,
    dbOpenForwardOnly = 8,
    dbOpenDynamic = 16,
};

enum RecordsetOptionEnum : int {
    dbDenyWrite = 1,
    dbDenyRead = 2,
    dbReadOnly = 4,
    dbAppendOnly = 8,
    dbInconsistent = 16,
    dbConsistent = 32,
    dbSQLPassThrough = 64,
    dbFailOnError = 128,
    dbForwardOnly = 256,
    dbSeeChanges = 512,
    dbRunAsync = 1024,
    dbExecDirect = 2048,
};

enum LockTypeEnum : int {
    dbOptimisticValue = 1,
    dbPessimistic = 2,
    dbOptimistic = 3,
    dbOptimisticBatch = 5,
};

enum DataTypeEnum : int {
    dbBoolean = 1,
    dbByte = 2,
    dbInteger = 3,
    dbLong = 4,
    dbCurrency = 5,
    dbSingle = 6,
    dbDouble = 7,
    dbDate = 8,
    dbBinary = 9,
    dbText = 10,
    dbLongBinary = 11,
    dbMemo = 12,
    dbGUID = 15,
    dbBigInt = 16,
    dbVarBinary = 17,
    dbChar = 18,
    dbNumeric = 19,
    dbDecimal = 20,
    dbFloat = 21,
    dbTime = 22,
    dbTimeStamp = 23,
};

enum FieldAttributeEnum : int {
    dbFixedField = 1,
    dbVariableField = 2,
    dbAutoIncrField = 16,
    dbUpdatableField = 32,
    dbSystemField = 8192,
    dbHyperlinkField = 32768,
    dbDescending = 1, // on an index's fields
};

enum TableDefAttributeEnum : long {
    dbAttachExclusive = 65536,
    dbAttachSavePWD = 131072,
    dbSystemObject = -2147483646, // 0x80000002
    dbAttachedTable = 1073741824,
    dbAttachedODBC = 536870912,
    dbHiddenObject = 1,
};

enum WorkspaceTypeEnum : int {
    dbUseODBC = 1,
    dbUseJet = 2,
};

// DefaultCursorDriver of an ODBCDirect workspace.
enum CursorDriverEnum : int {
    dbUseDefaultCursor = -1,
    dbUseODBCCursor = 1,
    dbUseServerCursor = 2,
    dbUseClientBatchCursor = 3,
    dbUseNoCursor = 4,
};

// Options of OpenDatabase/OpenConnection for ODBC data sources.
enum DriverPromptEnum : int {
    dbDriverPrompt = 2,
    dbDriverNoPrompt = 1,
    dbDriverComplete = 0,
    dbDriverCompleteRequired = 3,
};

enum DatabaseTypeEnum : int {
    dbVersion10 = 1,
    dbEncrypt = 2,
    dbDecrypt = 4,
    dbVersion11 = 8,
    dbVersion20 = 16,
    dbVersion30 = 32,
    dbVersion40 = 64,
};

enum CollatingOrderEnum : int {
    dbSortUndefined = -1,
    dbSortNeutral = 1024,
    dbSortGeneral = 1033,
};

enum EditModeEnum : int {
    dbEditNone = 0,
    dbEditInProgress = 1,
    dbEditAdd = 2,
};

enum QueryDefTypeEnum : int {
    dbQSelect = 0,
    dbQProcedure = 224,
    dbQAction = 240,
    dbQCrosstab = 16,
    dbQDelete = 32,
    dbQUpdate = 48,
    dbQAppend = 64,
    dbQMakeTable = 80,
    dbQDDL = 96,
    dbQSQLPassThrough = 112,
    dbQSetOperation = 128,
    dbQSPTBulk = 144,
    dbQCompound = 160,
};

enum ParameterDirectionEnum : int {
    dbParamInput = 1,
    dbParamOutput = 2,
    dbParamInputOutput = 3,
    dbParamReturnValue = 4,
};

enum IdleEnum : int {
    dbFreeLocks = 1,
    dbRefreshCache = 8,
};

// Locale strings of CreateDatabase.
inline constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

} // namespace dao
