#pragma once
#include <QString>
#include <stdexcept>

// An operation that a window or control refuses in its present state.
class EInvalidOperation : public std::runtime_error {
public:
    explicit EInvalidOperation(const QString& message) : std::runtime_error(message.toStdString()) {}
};
