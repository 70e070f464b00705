#include "engine/RunSkipper.h"

#include <algorithm>
#include <new>

#include "engine/WideChar.h"

namespace tw {

RunSkipper::RunSkipper(const std::u16string& text, Classifier classOf, Direction direction)
    : text_(text),
      classOf_(classOf),
      forward_(direction == Direction::Forward),
      size_(std::min(text.size(), kMaxText)),
      near_(static_cast<std::uint8_t*>(std::calloc(size_ + 1, 1))) {
    if (near_ == nullptr) {
        throw std::bad_alloc();
    }
}

void RunSkipper::point(std::size_t x, std::int64_t target) {
    const std::int64_t distance =
        forward_ ? target - static_cast<std::int64_t>(x) : static_cast<std::int64_t>(x) - target;
    if (distance > 0 && distance < kFar) {
        near_[x] = static_cast<std::uint8_t>(distance);
        return;
    }
    if (far_ == nullptr) {
        far_.reset(static_cast<std::uint32_t*>(std::calloc(size_ + 1, sizeof(std::uint32_t))));
        if (far_ == nullptr) {
            throw std::bad_alloc();
        }
    }
    far_[x] = static_cast<std::uint32_t>(target + 2);
    near_[x] = kFar;
}

std::int64_t RunSkipper::target(std::size_t x) const {
    const std::uint8_t value = near_[x];
    if (value == kFar) {
        return static_cast<std::int64_t>(far_[x]) - 2;
    }
    const std::int64_t distance = value == 0 ? 1 : value;
    return forward_ ? static_cast<std::int64_t>(x) + distance
                    : static_cast<std::int64_t>(x) - distance;
}

std::int64_t RunSkipper::beyondRun(std::size_t x) {
    const std::uint8_t runClass = classOf_(text_[x]);
    const auto n = static_cast<std::int64_t>(size_);
    const auto inRun = [&](std::int64_t position) {
        return position >= 0 && position < n &&
               classOf_(text_[static_cast<std::size_t>(position)]) == runClass;
    };
    std::size_t last = x;
    std::int64_t beyond = target(x);
    while (inRun(beyond)) {
        last = static_cast<std::size_t>(beyond);
        beyond = target(last);
    }
    // Every position visited lies in the run: point them all past it. (The last one already
    // does; a run of one position is left as it was.)
    for (std::size_t y = x; y != last;) {
        const auto following = static_cast<std::size_t>(target(y));
        point(y, beyond);
        y = following;
    }
    return beyond;
}

void RunSkipper::entered(std::size_t x) {
    // Most positions never point anywhere but next door; not writing those leaves untouched
    // memory untouched.
    if (x < size_ && near_[x] != 0) {
        near_[x] = 0;
    }
}

void RunSkipper::link(std::size_t x, std::int64_t target) {
    if (!forward_ && x < size_) {
        point(x, target);
    }
}

std::uint8_t forwardRunClass(char16_t unit) {
    if (unit == u'_') {
        return 1;
    }
    return (unit == u' ' || unit == u'\n') ? 2 : 0;
}

std::uint8_t backwardRunClass(char16_t unit) {
    if (isBlankChar(unit)) {
        return kBlankRun;
    }
    return isIdentifierChar(unit) ? kIdentifierRun : 0;
}

void appendShortened(std::u16string& out, const std::u16string& text, RunSkipper& forward,
                     std::size_t from, std::size_t to) {
    std::size_t x = from;
    while (x <= to) {
        const char16_t c = text[x];
        out.push_back(c);
        if (forward.classOf(c) != 0) {
            x = std::min(static_cast<std::size_t>(forward.beyondRun(x)), to + 1);
        } else {
            ++x;
        }
    }
}

}  // namespace tw
