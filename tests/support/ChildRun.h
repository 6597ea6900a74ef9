#pragma once
// Runs a piece of a test in a forked child process, so that a crash, a hang
// or a flood of messages is seen and counted instead of ending the test
// program. The child's standard output and error are collected.
#include <chrono>
#include <functional>
#include <string>

namespace testsupport {

struct ChildOutcome {
    bool exited = false;   // ended by itself (with code)
    int code = -1;
    int signal = 0;        // the signal that ended it, when it did not exit
    bool timedOut = false; // killed by runInChild after the limit
    std::string output;    // the first 64 KiB of what it wrote
    size_t outputBytes = 0;
    std::chrono::milliseconds took{0};
    int outputLines() const;
};

// Runs body in a child (its return value is the exit code); kills it with
// SIGKILL once limit has passed. killAfter, when set, kills it at that time
// instead and counts as no time-out.
ChildOutcome runInChild(const std::function<int()>& body, std::chrono::milliseconds limit,
                        std::chrono::microseconds killAfter = std::chrono::microseconds(-1));

} // namespace testsupport
