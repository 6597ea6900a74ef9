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
    struct Shown {
        enum class Kind { Message, FileDialog, Dialog, Beep, Document };
        Kind kind;
        MessageRequest message;
        FileDialogRequest file;
        QString dialogClass; // for a Document: the file handed on
        BeepKind beep = BeepKind::Default;
    };

    int message(const MessageRequest& request) override;
    std::optional<FileDialogResult> fileDialog(const FileDialogRequest& request) override;
    int execDialog(QDialog& dialog) override;
    void beep(BeepKind kind) override;
    void openDocument(const QString& file) override;

    std::deque<int> messageAnswers;
    std::deque<std::optional<FileDialogResult>> fileAnswers;
    std::deque<std::function<int(QDialog&)>> dialogAnswers;
    // Called for every message box before it is answered.
    std::function<void(const MessageRequest&)> onMessage;

    std::vector<Shown> shown;
    std::vector<MessageRequest> messages() const;
    QStringList messageTexts() const;
    int beeps(BeepKind kind = BeepKind::Default) const;
    QStringList documents() const;
    void clear() { shown.clear(); }
};
