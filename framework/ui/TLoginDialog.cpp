#include "framework/ui/TLoginDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

TLoginDialog::TLoginDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName("LoginDialog");
    setWindowTitle(QStringLiteral("Database Login"));
    auto* form = new QFormLayout(this);
    DatabaseLabel = new QLabel(this);
    DatabaseLabel->setObjectName("DatabaseLabel");
    UserNameEdit = new QLineEdit(this);
    UserNameEdit->setObjectName("UserNameEdit");
    PasswordEdit = new QLineEdit(this);
    PasswordEdit->setObjectName("PasswordEdit");
    PasswordEdit->setEchoMode(QLineEdit::Password);
    DatabasePasswordEdit = new QLineEdit(this);
    DatabasePasswordEdit->setObjectName("DatabasePasswordEdit");
    DatabasePasswordEdit->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Database:"), DatabaseLabel);
    form->addRow(QStringLiteral("User Name:"), UserNameEdit);
    form->addRow(QStringLiteral("Password:"), PasswordEdit);
    form->addRow(QStringLiteral("Database Password:"), DatabasePasswordEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}
