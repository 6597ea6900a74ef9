#pragma once
// Jet 4.0's error numbers and message texts, one factory per error.
#include "engine/DaoError.h"

#include <string>

namespace dao::jet {

inline DaoError invalidArgument() { return {3001, "Invalid argument."}; }
inline DaoError tableExists(const std::string& name) { return {3010, "Table '" + name + "' already exists."}; }
inline DaoError objectNotFound(const std::string& name)
{
    return {3011, "The Microsoft Jet database engine could not find the object '" + name
                      + "'.  Make sure the object exists and that you spell its name and the path name correctly."};
}
inline DaoError objectExists(const std::string& name) { return {3012, "Object '" + name + "' already exists."}; }
inline DaoError noCurrentRecord() { return {3021, "No current record."}; }
inline DaoError noEditPending() { return {3020, "Update or CancelUpdate without AddNew or Edit."}; }
inline DaoError keyDuplicate()
{
    return {3022, "The changes you requested to the table were not successful because they would create duplicate "
                  "values in the index, primary key, or relationship.  Change the data in the field or fields that "
                  "contain duplicate data, remove the index, or redefine the index to permit duplicate entries and "
                  "try again."};
}
inline DaoError editAlreadyUsed() { return {3023, "AddNew or Edit already used."}; }
inline DaoError fileNotFound(const std::string& path) { return {3024, "Could not find file '" + path + "'."}; }
inline DaoError readOnly() { return {3027, "Cannot update.  Database or object is read-only."}; }
inline DaoError invalidPath(const std::string& path)
{
    return {3044, "'" + path + "' is not a valid path.  Make sure that the path name is spelled correctly and that "
                               "you are connected to the server on which the file resides."};
}
inline DaoError fileAccessDenied(const std::string& path)
{
    return {3051, "The Microsoft Jet database engine cannot open the file '" + path
                      + "'.  It is already opened exclusively by another user, or you need permission to view its "
                        "data."};
}
inline DaoError tooFewParameters(int n) { return {3061, "Too few parameters. Expected " + std::to_string(n) + "."}; }
inline DaoError cannotExecuteSelect() { return {3065, "Cannot execute a select query."}; }
inline DaoError inputTableNotFound(const std::string& name)
{
    return {3078, "The Microsoft Jet database engine cannot find the input table or query '" + name
                      + "'.  Make sure it exists and that its name is spelled correctly."};
}
inline DaoError invalidBookmark() { return {3159, "Not a valid bookmark."}; }
inline DaoError fieldTooSmall()
{
    return {3163, "The field is too small to accept the amount of data you attempted to add.  Try inserting or "
                  "pasting less data."};
}
inline DaoError fieldNotUpdatable() { return {3164, "Field cannot be updated."}; }
inline DaoError recordDeleted() { return {3167, "Record is deleted."}; }
inline DaoError tooManyFields() { return {3190, "Too many fields defined."}; }
inline DaoError isamNotFound(const std::string& format)
{
    return {3170, "Could not find installable ISAM.", "DAO.Database (" + format + ")"};
}
inline DaoError lockedBySession()
{
    return {3188, "Could not update; currently locked by another session on this machine."};
}
inline DaoError dataChanged()
{
    return {3197, "The Microsoft Jet database engine stopped the process because you and another user are attempting "
                  "to change the same data at the same time."};
}
inline DaoError databaseExists() { return {3204, "Database already exists."}; }
inline DaoError illegalOperation() { return {3219, "Invalid operation."}; }
inline DaoError notSupported() { return {3251, "Operation is not supported for this type of object."}; }
inline DaoError itemNotFound() { return {3265, "Item not found in this collection."}; }
inline DaoError requiredNull(const std::string& field)
{
    return {3314, "The field '" + field + "' cannot contain a Null value because the Required property for this "
                                          "field is set to True.  Enter a value in this field."};
}
inline DaoError tableDoesNotExist(const std::string& name) { return {3376, "Table '" + name + "' does not exist."}; }
inline DaoError unrecognizedFormat(const std::string& path)
{
    return {3343, "Unrecognized database format '" + path + "'."};
}
inline DaoError spreadsheetFull() { return {3437, "Spreadsheet is full."}; }
inline DaoError conversionError() { return {3421, "Data type conversion error."}; }
inline DaoError numericOverflow() { return {3349, "Numeric field overflow."}; }
inline DaoError objectInvalid() { return {3420, "Object invalid or no longer set."}; }
inline DaoError typeMismatch() { return {3464, "Data type mismatch in criteria expression."}; }
inline DaoError invalidLocale() { return {3424, "Cannot create database; Invalid locale."}; }

} // namespace dao::jet
