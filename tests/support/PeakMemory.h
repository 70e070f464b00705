#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace tw::test {

/// Runs `work` in a child process of its own and returns the child's peak resident memory in
/// bytes, or -1 when it did not end normally. The child starts with this process's memory, so
/// the figure includes the test program itself.
inline long peakMemoryOf(const std::function<void()>& work) {
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    if (child < 0) {
        return -1;
    }
    int status = 0;
    struct rusage usage {};
    if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    return usage.ru_maxrss * 1024L;
}

/// Memory bounds mean nothing under the sanitizers, which keep shadow memory of their own.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryIsMeasurable = false;
#else
inline constexpr bool kMemoryIsMeasurable = true;
#endif

inline constexpr long kMiB = 1024L * 1024L;

}  // namespace tw::test
