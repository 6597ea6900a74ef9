#pragma once
// The framework's exception classes.
#include <QString>
#include <exception>
#include <stdexcept>

// A refusal of the dataset framework (and of the components built on it).
// what() holds the UTF-8 text; message() the same as QString.
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

// The silent exception: ends an operation without an error display
// (raised for the daAbort answer of an error event).
class EAbort : public std::exception {
public:
    const char* what() const noexcept override { return "Operation aborted"; }
};

// Raises EDatabaseError; with a component name the text becomes "Name: message".
[[noreturn]] void DatabaseError(const QString& message, const QString& componentName = QString());
// Builds a text from one of the DbConsts texts.
QString DbText(const char* text);
