#pragma once
#include "framework/ui/Interaction.h"

#include <deque>
#include <functional>
#include <vector>

// An interaction that shows nothing: it records every request and answers
// from scripted queues (tests, unattended runs). Unscripted questions get the
// first button of a message box, a cancelled file dialog and a rejected dialog.
class RecordingInteraction : public Interaction {
public:
    // One entry of a popup menu as it was shown.
    struct MenuEntry {
        QString text;
        bool separator = false;
        bool enabled = true;
        bool visible = true;
        bool checked = false;
    };
    struct Shown {
        enum class Kind { Message, FileDialog, Dialog, Beep, Document, Menu };
        Kind kind;
        MessageRequest message;
        FileDialogRequest file;
        QString dialogClass; // for a Document: the file handed on
        BeepKind beep = BeepKind::Default;
        std::vector<MenuEntry> menu;
    };

    int message(const MessageRequest& request) override;
    std::optional<FileDialogResult> fileDialog(const FileDialogRequest& request) override;
    int execDialog(QDialog& dialog) override;
    void beep(BeepKind kind) override;
    void openDocument(const QString& file) override;
    // Chooses the entry at the next index of menuAnswers (among the menu's
    // actions) when it can be chosen; none without an answer or for -1.
    QAction* popupMenu(QMenu& menu, const QPoint& globalPos) override;

    std::deque<int> messageAnswers;
    std::deque<std::optional<FileDialogResult>> fileAnswers;
    std::deque<std::function<int(QDialog&)>> dialogAnswers;
    std::deque<int> menuAnswers;
    // Numbers scanned into the next message boxes that take a scan meanwhile, in turn.
    std::deque<QString> scansMeanwhile;
    // Called for every message box before it is answered.
    std::function<void(const MessageRequest&)> onMessage;

    std::vector<Shown> shown;
    std::vector<MessageRequest> messages() const;
    QStringList messageTexts() const;
    int beeps(BeepKind kind = BeepKind::Default) const;
    QStringList documents() const;
    // The popup menus shown, each as its entries were then.
    std::vector<std::vector<MenuEntry>> menus() const;
    void clear() { shown.clear(); }
};
