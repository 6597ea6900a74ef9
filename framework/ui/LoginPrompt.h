#pragma once
// The database login dialog, run through the application's interaction seam.
// Its header needs no widgets, so the data-access layer can ask for a login.
#include <QString>

struct LoginAnswer {
    bool accepted = false;
    QString userName;
    QString password;
    QString databasePassword;
};

// Shows "Database Login" for database, the user name prefilled when given,
// both passwords masked.
LoginAnswer RunLoginDialog(const QString& database, const QString& userName);
