#pragma once
// The one seam through which the program asks and tells the user anything
// modal: message and confirmation boxes, file dialogs, modal dialog runs,
// popup menus, the beep and documents handed to other programs. The application object holds the active implementation; tests
// install a RecordingInteraction that answers from a script.
#include <QString>
#include <QStringList>
#include <optional>

class QAction;
class QDialog;
class QMenu;
class QPoint;

enum class MessageIcon { None, Stop, Question, Warning, Information };

// The sounds the program makes: the system's default message beep, an
// attention sound distinct from it for a scan that needs a second look, and
// a notice distinct from both for a scan that is fine but worth a remark.
enum class BeepKind { Default, Attention, Notice };

struct MessageRequest {
    QString caption;
    QString text;
    MessageIcon icon = MessageIcon::None;
    QStringList buttons{QStringLiteral("OK")};
    // When set, a number typed into the box (digits, then Enter, as a barcode
    // scanner types it) is a scan made while the box was up: its Enter closes
    // the box with the first button and its digits are written here. A box
    // closed otherwise leaves it empty.
    QString* scanMeanwhile = nullptr;
};

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString filter;      // "Description|*.ext|Other|*.*" pairs
    int filterIndex = 1; // 1-based, as the filter pairs are counted
    QString initialDir;
    QString fileName;
    QString defaultExt;  // without the dot
    bool overwritePrompt = false; // a save dialog asks before an existing file is chosen
};

struct FileDialogResult {
    QString fileName;
    int filterIndex = 1;
};

class Interaction {
public:
    virtual ~Interaction() = default;
    // Shows a modal message box; the index of the button chosen, -1 when the
    // box was closed in another way.
    virtual int message(const MessageRequest& request) = 0;
    // Runs an open or save dialog; nothing when the user cancelled.
    virtual std::optional<FileDialogResult> fileDialog(const FileDialogRequest& request) = 0;
    // Runs a modal dialog and returns its result code (QDialog::Accepted / Rejected).
    virtual int execDialog(QDialog& dialog) = 0;
    virtual void beep(BeepKind kind) = 0;
    // Hands a file to the program the desktop associates with its type; the
    // program does not wait for it.
    virtual void openDocument(const QString& file) = 0;
    // Pops a context menu up at a screen position. The entry chosen runs (as
    // QMenu::exec runs it) and is returned; null when the menu was closed
    // without a choice.
    virtual QAction* popupMenu(QMenu& menu, const QPoint& globalPos) = 0;
};
