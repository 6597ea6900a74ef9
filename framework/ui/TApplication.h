#pragma once
// The application object: title, default error display, the program's message
// and confirmation boxes, beep, and the interaction seam they all go through.
#include "framework/ui/Interaction.h"

#include <QString>
#include <exception>
#include <functional>
#include <memory>

class TApplication {
public:
    explicit TApplication(std::unique_ptr<Interaction> interaction = nullptr);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    QString Title;

    Interaction& interaction() { return *interaction_; }
    // Replaces the seam; returns the previous one.
    std::unique_ptr<Interaction> setInteraction(std::unique_ptr<Interaction> interaction);

    // Default error display: stop icon, the title as caption, the error text
    // with a full stop added by the rule of errorText().
    void ShowException(const std::exception& error);
    void ShowException(const QString& text);
    // Runs a handler the way the event loop does: an exception that leaves it
    // is shown by the default error display and goes no further.
    void Run(const std::function<void()>& handler);
    // The same, where the error box takes a number scanned into it meanwhile
    // (see MessageRequest): the number, or empty.
    QString RunTakingScan(const std::function<void()>& handler);

    // Plain message box: the title as caption, no icon, one "OK".
    void MessageBox(const QString& text);
    // The same box, taking a number scanned into it meanwhile (see MessageRequest):
    // the number, or empty when the box was closed otherwise.
    QString MessageBoxTakingScan(const QString& text);
    // Confirmation box: "Bestätigung", question icon, "&Ja" / "&Nein";
    // only "&Ja" counts as yes.
    bool Confirm(const QString& text);
    void Beep(BeepKind kind = BeepKind::Default);

    // A full stop is added when the last character comes after '.' in
    // character order (letters, digits); not after "!", ")" or '.'.
    static QString errorText(const QString& text);

private:
    // Runs handler; an error that leaves it is shown, its box taking a scan into scan when given.
    void RunShowing(const std::function<void()>& handler, QString* scan);
    std::unique_ptr<Interaction> interaction_;
};

// The one application object of the process (null before main creates it).
extern TApplication* Application;
