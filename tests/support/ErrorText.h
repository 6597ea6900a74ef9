#pragma once
#include <QString>
#include <exception>
#include <functional>

namespace testsupport {

// The message of the exception an action raises; empty when it raises none.
inline QString errorText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace testsupport
