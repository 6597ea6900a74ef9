#include "DaoErrorTexts.h"

namespace dao::sql {

std::string errorText(long number)
{
    switch (number) {
    case 3129: return "Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or 'UPDATE'.";
    case 3131: return "Syntax error in FROM clause.";
    case 3132: return "Syntax error in PARAMETER clause.";
    case 3134: return "Syntax error in INSERT INTO statement.";
    case 3135: return "Syntax error in JOIN operation.";
    case 3138: return "Syntax error in ORDER BY clause.";
    case 3141: return "The SELECT statement includes a reserved word or an argument name that is misspelled or "
                      "missing, or the punctuation is incorrect.";
    case 3142: return "Characters found after end of SQL statement.";
    case 3144: return "Syntax error in UPDATE statement.";
    case 3251: return "Operation is not supported for this type of object.";
    case 3259: return "Invalid field data type.";
    case 3289: return "Syntax error in CONSTRAINT clause.";
    case 3290: return "Syntax error in CREATE TABLE statement.";
    case 3291: return "Syntax error in CREATE INDEX statement.";
    case 3295: return "Syntax error in DROP TABLE or DROP INDEX.";
    case 3318: return "Values specified in a TOP clause are not allowed in delete queries or reports.";
    case 3346: return "Number of query values and destination fields are not the same.";
    default: return "Syntax error.";
    }
}

} // namespace dao::sql
