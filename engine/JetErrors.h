#pragma once
// Jet 4.0's errors: the one catalogue of error numbers and message texts the
// engine raises, and a factory per error. A text's "|" (or "|1", "|2" …) is
// filled with the error's parameters in order, as Jet fills its templates.
// The catalogue is a constant table in this header so that the translator
// (engine/sql, below the engine's library) raises its errors through it too.
#include "engine/DaoError.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace dao::jet {

struct ErrorText {
    long number;
    std::string_view text;
};

inline constexpr ErrorText kErrorTexts[] = {
    // Errors of the expression service (VBA), raised by the functions of queries.
    {5, "Invalid procedure call or argument."},
    {6, "Overflow."},
    {11, "Division by zero."},
    {13, "Type mismatch."},
    {94, "Invalid use of Null."},
    {429, "ActiveX component can't create object"},
    // Jet.
    {3000, "Reserved error (|1); |2"},
    {3001, "Invalid argument."},
    {3003, "Could not start transaction; too many transactions already nested."},
    {3010, "Table '|' already exists."},
    {3011, "The Microsoft Jet database engine could not find the object '|'.  Make sure the object exists and that "
           "you spell its name and the path name correctly."},
    {3012, "Object '|' already exists."},
    {3015, "'|' isn't an index in this table.  Look in the Indexes collection of the TableDef object to determine "
           "the valid index names."},
    {3019, "Operation invalid without a current index."},
    {3020, "Update or CancelUpdate without AddNew or Edit."},
    {3021, "No current record."},
    {3022, "The changes you requested to the table were not successful because they would create duplicate values "
           "in the index, primary key, or relationship.  Change the data in the field or fields that contain "
           "duplicate data, remove the index, or redefine the index to permit duplicate entries and try again."},
    {3023, "AddNew or Edit already used."},
    {3024, "Could not find file '|'."},
    {3026, "Not enough space on disk."},
    {3027, "Cannot update.  Database or object is read-only."},
    {3034, "You tried to commit or rollback a transaction without first beginning a transaction."},
    {3043, "Disk or network error."},
    {3044, "'|' is not a valid path.  Make sure that the path name is spelled correctly and that you are connected "
           "to the server on which the file resides."},
    {3049, "Cannot open database '|'.  It may not be a database that your application recognizes, or the file may "
           "be corrupt."},
    {3051, "The Microsoft Jet database engine cannot open the file '|'.  It is already opened exclusively by another "
           "user, or you need permission to view its data."},
    {3061, "Too few parameters. Expected |."},
    {3064, "Cannot open action query '|'."},
    {3065, "Cannot execute a select query."},
    {3075, "|1 in query expression '|2'."},
    {3078, "The Microsoft Jet database engine cannot find the input table or query '|'.  Make sure it exists and "
           "that its name is spelled correctly."},
    {3085, "Undefined function '|' in expression."},
    {3126, "Invalid bracketing of name '|'."},
    {3129, "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'."},
    {3131, "Syntax error in FROM clause."},
    {3132, "Syntax error in PARAMETER clause."},
    {3134, "Syntax error in INSERT INTO statement."},
    {3135, "Syntax error in JOIN operation."},
    {3138, "Syntax error in ORDER BY clause."},
    {3141, "The SELECT statement includes a reserved word or an argument name that is misspelled or missing, or the "
           "punctuation is incorrect."},
    {3142, "Characters found after end of SQL statement."},
    {3144, "Syntax error in UPDATE statement."},
    {3146, "ODBC--call failed."},
    {3159, "Not a valid bookmark."},
    {3163, "The field is too small to accept the amount of data you attempted to add.  Try inserting or pasting "
           "less data."},
    {3164, "Field cannot be updated."},
    {3167, "Record is deleted."},
    // Jet names no format here; this engine installs only some of Jet's, so it says which one is missing.
    {3170, "Could not find installable ISAM.  The format '|' is not installed."},
    {3190, "Too many fields defined."},
    {3188, "Could not update; currently locked by another session on this machine."},
    {3197, "The Microsoft Jet database engine stopped the process because you and another user are attempting to "
           "change the same data at the same time."},
    {3204, "Database already exists."},
    {3218, "Could not update; currently locked."},
    {3219, "Invalid operation."},
    {3251, "Operation is not supported for this type of object."},
    {3259, "Invalid field data type."},
    {3265, "Item not found in this collection."},
    {3270, "Property not found."},
    {3289, "Syntax error in CONSTRAINT clause."},
    {3290, "Syntax error in CREATE TABLE statement."},
    {3291, "Syntax error in CREATE INDEX statement."},
    {3295, "Syntax error in DROP TABLE or DROP INDEX."},
    {3314, "The field '|' cannot contain a Null value because the Required property for this field is set to True.  "
           "Enter a value in this field."},
    {3315, "Field '|' cannot be a zero-length string."},
    {3318, "Values specified in a TOP clause are not allowed in delete queries or reports."},
    {3343, "Unrecognized database format '|'."},
    {3346, "Number of query values and destination fields are not the same."},
    {3349, "Numeric field overflow."},
    {3360, "Query is too complex."},
    {3371, "Cannot find table or constraint."},
    {3375, "Table '|1' already has an index named '|2'."},
    {3376, "Table '|' does not exist."},
    {3420, "Object invalid or no longer set."},
    {3421, "Data type conversion error."},
    {3424, "Cannot create database; Invalid locale."},
    {3437, "Spreadsheet is full."},
    {3442, "In the text file description '|1', the |2 option is invalid."},
    {3464, "Data type mismatch in criteria expression."},
};

// The message of an error number with its parameters filled in; numbers the
// catalogue lacks give Jet's reserved-error text.
inline std::string text(long number, std::initializer_list<std::string_view> args = {})
{
    const ErrorText* entry = nullptr;
    for (const ErrorText& e : kErrorTexts)
        if (e.number == number)
            entry = &e;
    if (!entry)
        return "Reserved error (" + std::to_string(number) + "); there is no message for this error.";
    const std::string_view pattern = entry->text;
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '|') {
            out += pattern[i];
            continue;
        }
        size_t which = next++;
        if (i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9')
            which = static_cast<size_t>(pattern[++i] - '1');
        if (which < args.size())
            out += args.begin()[which];
    }
    return out;
}

// The exception for an error number, as the engine raises it.
inline DaoError error(long number, std::initializer_list<std::string_view> args = {},
                      std::string source = "DAO.Database")
{
    return DaoError(number, text(number, args), std::move(source));
}

// The errors the engine raises most, by name.
inline DaoError invalidArgument() { return error(3001); }
inline DaoError tooManyTransactions() { return error(3003); }
inline DaoError tableExists(const std::string& name) { return error(3010, {name}); }
inline DaoError objectNotFound(const std::string& name) { return error(3011, {name}); }
inline DaoError objectExists(const std::string& name) { return error(3012, {name}); }
inline DaoError notAnIndex(const std::string& name) { return error(3015, {name}); }
inline DaoError noCurrentIndex() { return error(3019); }
inline DaoError noCurrentRecord() { return error(3021); }
inline DaoError noEditPending() { return error(3020); }
inline DaoError keyDuplicate() { return error(3022); }
inline DaoError editAlreadyUsed() { return error(3023); }
inline DaoError fileNotFound(const std::string& path) { return error(3024, {path}); }
inline DaoError readOnly() { return error(3027); }
inline DaoError noTransaction() { return error(3034); }
inline DaoError invalidPath(const std::string& path) { return error(3044, {path}); }
inline DaoError fileAccessDenied(const std::string& path) { return error(3051, {path}); }
inline DaoError tooFewParameters(int n) { return error(3061, {std::to_string(n)}); }
inline DaoError cannotExecuteSelect() { return error(3065); }
inline DaoError inputTableNotFound(const std::string& name) { return error(3078, {name}); }
inline DaoError undefinedFunction(const std::string& name) { return error(3085, {name}); }
inline DaoError odbcCallFailed() { return error(3146, {}, "ODBC"); }
inline DaoError invalidBookmark() { return error(3159); }
inline DaoError fieldTooSmall() { return error(3163); }
inline DaoError fieldNotUpdatable() { return error(3164); }
inline DaoError recordDeleted() { return error(3167); }
inline DaoError tooManyFields() { return error(3190); }
inline DaoError isamNotFound(const std::string& format)
{
    return error(3170, {format}, "DAO.Database (" + format + ")");
}
inline DaoError lockedBySession() { return error(3188); }
inline DaoError dataChanged() { return error(3197); }
inline DaoError databaseExists() { return error(3204); }
inline DaoError illegalOperation() { return error(3219); }
inline DaoError notSupported() { return error(3251); }
inline DaoError itemNotFound() { return error(3265); }
inline DaoError propertyNotFound() { return error(3270); }
inline DaoError requiredNull(const std::string& field) { return error(3314, {field}); }
inline DaoError zeroLength(const std::string& field) { return error(3315, {field}); }
inline DaoError tableDoesNotExist(const std::string& name) { return error(3376, {name}); }
inline DaoError unrecognizedFormat(const std::string& path) { return error(3343, {path}); }
inline DaoError spreadsheetFull() { return error(3437); }
inline DaoError conversionError() { return error(3421); }
inline DaoError numericOverflow() { return error(3349); }
inline DaoError queryTooComplex() { return error(3360); }
inline DaoError objectInvalid() { return error(3420); }
inline DaoError typeMismatch() { return error(3464); }
inline DaoError invalidLocale() { return error(3424); }

} // namespace dao::jet
