#include "project/CountMemoryBudget.h"

namespace tw {

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
