#include "tests/support/ChildRun.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

int ChildOutcome::outputLines() const { return static_cast<int>(std::count(output.begin(), output.end(), '\n')); }

ChildOutcome runInChild(const std::function<int()>& body, std::chrono::milliseconds limit,
                        std::chrono::microseconds killAfter)
{
    using Clock = std::chrono::steady_clock;
    ChildOutcome outcome;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return outcome;
    std::fflush(stdout);
    std::fflush(stderr);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        dup2(pipeFds[1], STDERR_FILENO);
        int code = 99;
        try {
            code = body();
        } catch (...) {
            code = 98;
        }
        std::fflush(stdout);
        std::fflush(stderr);
        _exit(code);
    }
    close(pipeFds[1]);
    const auto deadline = start + (killAfter.count() >= 0 ? std::chrono::duration_cast<Clock::duration>(killAfter)
                                                          : std::chrono::duration_cast<Clock::duration>(limit));
    bool killed = false;
    bool open = true;
    char buffer[65536];
    while (open) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 && !killed) {
            kill(child, SIGKILL);
            killed = true;
        }
        pollfd p{pipeFds[0], POLLIN, 0};
        const int ready = poll(&p, 1, killed ? 1000 : static_cast<int>(std::min<long long>(left, 1000)) + 1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0) {
            open = false;
            break;
        }
        outcome.outputBytes += static_cast<size_t>(got);
        if (outcome.output.size() < sizeof buffer)
            outcome.output.append(buffer, std::min<size_t>(static_cast<size_t>(got), sizeof buffer - outcome.output.size()));
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR)
        ;
    outcome.took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    outcome.exited = WIFEXITED(status);
    outcome.code = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    outcome.timedOut = killed && killAfter.count() < 0;
    return outcome;
}

} // namespace testsupport
