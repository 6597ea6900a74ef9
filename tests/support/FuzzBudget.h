#pragma once
// How long a fuzz test runs: its own number of cases in CI; with
// QUILLSTOCK_FUZZ_SECONDS set (a run by hand), cases go on until that many
// seconds have passed. Each test prints what it tried.
#include <QElapsedTimer>
#include <cstdlib>

namespace testsupport {

class FuzzBudget {
public:
    explicit FuzzBudget(int defaultCases) : cases_(defaultCases)
    {
        if (const char* s = std::getenv("QUILLSTOCK_FUZZ_SECONDS"))
            seconds_ = std::atoll(s);
        clock_.start();
    }
    // True while another case is to be tried.
    bool more(int done) const { return seconds_ > 0 ? clock_.elapsed() < seconds_ * 1000 : done < cases_; }
    // The seed of a run: QUILLSTOCK_FUZZ_SEED, else the test's own.
    static unsigned seed(unsigned fallback)
    {
        const char* s = std::getenv("QUILLSTOCK_FUZZ_SEED");
        return s && *s ? static_cast<unsigned>(std::strtoul(s, nullptr, 10)) : fallback;
    }

private:
    int cases_;
    long long seconds_ = 0;
    QElapsedTimer clock_;
};

} // namespace testsupport
