#pragma once
// Import of a text file with one book number per line into the active list.
#include <QString>
#include <functional>

namespace import {

struct ImportView {
    std::function<void(const QString&)> progress; // the text of the progress label
    std::function<void(const QString&)> warn;     // beep and message box for a line that is no number
    std::function<void()> processEvents;          // keeps the window painted and responsive
    std::function<void(qint32)> store;            // stores one entry in the active list
    // Optional: entries are then stored in batches, each one transaction, so
    // that a large file does not wait for the disk once per entry. Everything
    // stored is committed before ImportNumbers returns or raises.
    std::function<void()> beginBatch;
    std::function<void()> commitBatch;
    std::function<void()> rollbackBatch;
};

// How often the window is brought up to date during an import: the label
// shows the line being imported at this pace, not for every line.
constexpr int kShowEveryMs = 50;

// Reads path twice: a checking pass that warns about each non-empty line that
// is no integer ("Fehler: <line> ist keine Zahl in Zeile:<n>", n counting the
// non-empty lines), then an import pass that stores one entry per non-empty
// line and stops with "'<line>' ist kein gültiger Integerwert" at the first
// line that is none (the entries before it stay stored, nothing is left
// pending). Lines may end in CR LF; a file with a byte-order mark may be
// UTF-16 or UTF-8. Past 20 warnings the rest are counted in one message, and
// a line longer than the label can show is cut there with "…". Raises when the
// file cannot be read or is no text file (it holds zero bytes); nothing is
// stored then.
// The label shows "Prüfe Datei..." during the check and the line at hand
// during the import, every kShowEveryMs, before each warning and on the line
// that stops the import.
// With batches, the entries stored before a failure are committed before the
// error passes on.
void ImportNumbers(const QString& path, const ImportView& view);

} // namespace import
