#pragma once
#include <QString>
#include <QStringList>

namespace platform {

// Whether the desktop's mail hand-off (xdg-email) is installed.
bool mailProgramAvailable();

// Opens a new message with a subject and file attachments in the user's
// mail program for editing, through xdg-email; the program does not wait for
// the mail program. False (and nothing sent) when xdg-email is not installed
// or could not be started. The mail program may read the attachments after
// this returns: they must stay in place for it.
bool composeMail(const QString& subject, const QStringList& attachments);

} // namespace platform
