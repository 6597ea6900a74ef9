#pragma once
#include "framework/ui/Interaction.h"

// The interaction of the running program: real Qt dialogs.
class QtInteraction : public Interaction {
public:
    int message(const MessageRequest& request) override;
    std::optional<FileDialogResult> fileDialog(const FileDialogRequest& request) override;
    int execDialog(QDialog& dialog) override;
    // The attention sound is the default beep twice, a moment apart.
    void beep(BeepKind kind) override;
    void openDocument(const QString& file) override;
    QAction* popupMenu(QMenu& menu, const QPoint& globalPos) override;

    // "Text|*.txt;*.csv|All|*.*" -> {"Text (*.txt *.csv)", "All (*)"}
    static QStringList qtFilters(const QString& filter);
};
