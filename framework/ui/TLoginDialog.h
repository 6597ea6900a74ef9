#pragma once
#include <QDialog>

class QLineEdit;
class QLabel;

// "Database Login": the database path, user name, password and database
// password (both masked), OK and Cancel.
class TLoginDialog : public QDialog {
    Q_OBJECT
public:
    explicit TLoginDialog(QWidget* parent = nullptr);

    QLabel* DatabaseLabel;
    QLineEdit* UserNameEdit;
    QLineEdit* PasswordEdit;
    QLineEdit* DatabasePasswordEdit;
};
