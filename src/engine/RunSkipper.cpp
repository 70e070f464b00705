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
      next_(static_cast<std::uint32_t*>(std::calloc(size_ + 1, sizeof(std::uint32_t)))) {
    if (next_ == nullptr) {
        throw std::bad_alloc();
    }
}

std::uint32_t RunSkipper::stored(std::int64_t target) const {
    return static_cast<std::uint32_t>(target + 2);
}

std::int64_t RunSkipper::target(std::size_t x) const {
    const std::uint32_t value = next_[x];
    if (value == 0) {
        return forward_ ? static_cast<std::int64_t>(x) + 1 : static_cast<std::int64_t>(x) - 1;
    }
    return static_cast<std::int64_t>(value) - 2;
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
    const std::uint32_t result = stored(beyond);
    for (std::size_t y = x; y != last;) {
        const auto following = static_cast<std::size_t>(target(y));
        next_[y] = result;
        y = following;
    }
    return beyond;
}

void RunSkipper::entered(std::size_t x) {
    // Most positions never point anywhere but next door; not writing those leaves untouched
    // memory untouched.
    if (x < size_ && next_[x] != 0) {
        next_[x] = 0;
    }
}

void RunSkipper::link(std::size_t x, std::int64_t target) {
    if (!forward_ && x < size_) {
        next_[x] = stored(target);
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
