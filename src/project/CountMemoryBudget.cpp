#include "project/CountMemoryBudget.h"

#include <sys/resource.h>

#include <algorithm>

#include "engine/Pattern.h"

namespace tw {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

/// The call stack a new thread gets: the stack limit, as the C library takes it.
std::uint64_t threadStackSize() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_STACK, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return 8 * kMiB;
    }
    return limit.rlim_cur;
}

}  // namespace

unsigned countingThreadLimit(std::uint64_t byteBudget) {
    rlimit limit{};
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kMostCountingThreads;
    }
    // The program, its libraries and the tree besides the counts: a generous allowance.
    const std::uint64_t fixed = byteBudget + 512 * kMiB;
    // The allocator reserves 64 MiB of address space for each thread's own arena.
    const std::uint64_t perThread = threadStackSize() + kPatternStackReserve + 64 * kMiB;
    if (limit.rlim_cur <= fixed + perThread) {
        return 1;
    }
    return static_cast<unsigned>(
        std::min<std::uint64_t>(kMostCountingThreads, (limit.rlim_cur - fixed) / perThread));
}

void CountMemoryBudget::enter(std::uint64_t bytes) {
    const std::uint64_t cost = bytes * bytesPerFileByte_;
    std::unique_lock lock(mutex_);
    roomMade_.wait(lock, [&] { return inUse_ == 0 || inUse_ + cost <= budget_; });
    inUse_ += cost;
}

void CountMemoryBudget::leave(std::uint64_t bytes) {
    {
        const std::lock_guard lock(mutex_);
        inUse_ -= bytes * bytesPerFileByte_;
    }
    roomMade_.notify_all();
}

std::uint64_t CountMemoryBudget::inUse() const {
    const std::lock_guard lock(mutex_);
    return inUse_;
}

}  // namespace tw
