#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "engine/FileCount.h"

namespace tw {

inline constexpr unsigned kMostCountingThreads = 256;

/// The most threads a count runs on: `kMostCountingThreads`, fewer where the process's
/// address-space limit (RLIMIT_AS) leaves no room for more. Each counting thread reserves address
/// space in full whether it uses it or not (its call stack, its pattern-matching stack, its
/// allocator arena), beside what the counts in progress may take together (`byteBudget`).
unsigned countingThreadLimit(std::uint64_t byteBudget);

/// The memory that counts in progress may take together: a count of a file of S bytes is
/// reckoned at `bytesPerFileByte` × S, and waits until that fits beside the counts already in
/// progress. A file too large for the whole budget counts alone, once nothing else counts.
class CountMemoryBudget : public CountMemoryGate {
  public:
    CountMemoryBudget(std::uint64_t budget, std::uint64_t bytesPerFileByte)
        : budget_(budget), bytesPerFileByte_(bytesPerFileByte) {}

    void enter(std::uint64_t bytes) override;
    void leave(std::uint64_t bytes) override;

    /// The reckoned memory of the counts in progress now.
    std::uint64_t inUse() const;

  private:
    const std::uint64_t budget_;
    const std::uint64_t bytesPerFileByte_;
    std::uint64_t inUse_ = 0;
    mutable std::mutex mutex_;
    std::condition_variable roomMade_;
};

}  // namespace tw
