#include "framework/ui/LoginPrompt.h"
#include "framework/ui/TApplication.h"
#include "framework/ui/TLoginDialog.h"

#include <QLabel>
#include <QLineEdit>

LoginAnswer RunLoginDialog(const QString& database, const QString& userName)
{
    TLoginDialog dialog;
    dialog.DatabaseLabel->setText(database);
    dialog.UserNameEdit->setText(userName);
    if (!userName.isEmpty())
        dialog.PasswordEdit->setFocus();
    LoginAnswer answer;
    if (Application->interaction().execDialog(dialog) != QDialog::Accepted)
        return answer;
    answer.accepted = true;
    answer.userName = dialog.UserNameEdit->text();
    answer.password = dialog.PasswordEdit->text();
    answer.databasePassword = dialog.DatabasePasswordEdit->text();
    return answer;
}
