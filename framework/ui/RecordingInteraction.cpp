#include "framework/ui/RecordingInteraction.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

int RecordingInteraction::message(const MessageRequest& request)
{
    shown.push_back({Shown::Kind::Message, request, {}, {}, BeepKind::Default, {}});
    if (onMessage)
        onMessage(request);
    if (request.scanMeanwhile) {
        request.scanMeanwhile->clear();
        if (!scansMeanwhile.empty()) {
            *request.scanMeanwhile = scansMeanwhile.front();
            scansMeanwhile.pop_front();
            return 0; // the scan's Enter chose the first button
        }
    }
    if (messageAnswers.empty())
        return 0;
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<FileDialogResult> RecordingInteraction::fileDialog(const FileDialogRequest& request)
{
    shown.push_back({Shown::Kind::FileDialog, {}, request, {}, BeepKind::Default, {}});
    if (fileAnswers.empty())
        return std::nullopt;
    const bool chosen = fileAnswers.front().has_value();
    const FileDialogResult answer = chosen ? *fileAnswers.front() : FileDialogResult{};
    fileAnswers.pop_front();
    if (!chosen)
        return std::nullopt;
    return answer;
}

int RecordingInteraction::execDialog(QDialog& dialog)
{
    shown.push_back(
        {Shown::Kind::Dialog, {}, {}, QString::fromUtf8(dialog.metaObject()->className()), BeepKind::Default, {}});
    if (dialogAnswers.empty())
        return QDialog::Rejected;
    auto answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer(dialog);
}

void RecordingInteraction::beep(BeepKind kind) { shown.push_back({Shown::Kind::Beep, {}, {}, {}, kind, {}}); }

void RecordingInteraction::openDocument(const QString& file)
{
    shown.push_back({Shown::Kind::Document, {}, {}, file, BeepKind::Default, {}});
}

QStringList RecordingInteraction::documents() const
{
    QStringList files;
    for (const Shown& s : shown)
        if (s.kind == Shown::Kind::Document)
            files << s.dialogClass;
    return files;
}

std::vector<MessageRequest> RecordingInteraction::messages() const
{
    std::vector<MessageRequest> result;
    for (const Shown& s : shown)
        if (s.kind == Shown::Kind::Message)
            result.push_back(s.message);
    return result;
}

QStringList RecordingInteraction::messageTexts() const
{
    QStringList result;
    for (const MessageRequest& m : messages())
        result << m.text;
    return result;
}

int RecordingInteraction::beeps(BeepKind kind) const
{
    int n = 0;
    for (const Shown& s : shown)
        n += s.kind == Shown::Kind::Beep && s.beep == kind;
    return n;
}

QAction* RecordingInteraction::popupMenu(QMenu& menu, const QPoint&)
{
    Shown shownMenu{Shown::Kind::Menu, {}, {}, {}, BeepKind::Default, {}};
    for (const QAction* action : menu.actions())
        shownMenu.menu.push_back(
            {action->text(), action->isSeparator(), action->isEnabled(), action->isVisible(), action->isChecked()});
    shown.push_back(shownMenu);
    if (menuAnswers.empty())
        return nullptr;
    const int answer = menuAnswers.front();
    menuAnswers.pop_front();
    if (answer < 0 || answer >= menu.actions().size())
        return nullptr;
    QAction* chosen = menu.actions()[answer];
    if (chosen->isSeparator() || !chosen->isEnabled() || !chosen->isVisible())
        return nullptr;
    chosen->trigger();
    return chosen;
}

std::vector<std::vector<RecordingInteraction::MenuEntry>> RecordingInteraction::menus() const
{
    std::vector<std::vector<MenuEntry>> result;
    for (const Shown& s : shown)
        if (s.kind == Shown::Kind::Menu)
            result.push_back(s.menu);
    return result;
}
