#pragma once
// Open and save dialog components: their settings are kept between runs, so
// the dialog preselects the filter entry and file last chosen in it.
#include "framework/ui/Interaction.h"

class TFileDialog {
public:
    explicit TFileDialog(FileDialogRequest::Kind kind) { request_.kind = kind; }

    QString Filter;
    int FilterIndex = 1;
    QString FileName;
    QString InitialDir;
    QString Title;
    QString DefaultExt;
    bool OverwritePrompt = false;

    // Runs the dialog through the application's interaction; true when the
    // user chose a file (FileName and FilterIndex then hold the choice).
    bool Execute();

private:
    FileDialogRequest request_;
};

class TOpenDialog : public TFileDialog {
public:
    TOpenDialog() : TFileDialog(FileDialogRequest::Kind::Open) {}
};

class TSaveDialog : public TFileDialog {
public:
    TSaveDialog() : TFileDialog(FileDialogRequest::Kind::Save) {}
};
