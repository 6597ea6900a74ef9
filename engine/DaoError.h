#pragma once
// The one exception type of the engine: Jet's error number and message text.
#include <stdexcept>
#include <string>

namespace dao {

class DaoError : public std::runtime_error {
public:
    DaoError(long number, const std::string& description, std::string source = "DAO.Database")
        : std::runtime_error(description), number_(number), source_(std::move(source))
    {
    }

    long number() const noexcept { return number_; }
    std::string description() const { return what(); }
    const std::string& source() const noexcept { return source_; }

private:
    long number_;
    std::string source_;
};

} // namespace dao
