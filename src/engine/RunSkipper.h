#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include "engine/SourceText.h"

namespace tw {

/// Jumps over runs of characters of one class (a run of '_', a run of blanks, an identifier) in a
/// text that a stage rewrites in place while it walks it, so that backward scans, copies and
/// rewrites of long stretches that a stage has already overwritten cost no more than their
/// first character.
///
/// A union-find over positions: each position in a run points towards the run's far end, and
/// lookups compress the paths they follow. A pointer to a position up to 254 away takes one
/// byte; a longer one is kept in a second table whose memory is only touched where such
/// pointers are, so ordinary code costs one byte per character. The owner reports every position
/// whose character it changes into a run class (`entered`). Changes out of a class must take out a
/// whole run, or the near end of a run (the first position of a forward run, the last of a backward
/// run); the stages keep to that because they only ever overwrite bracketed spans whose ends are
/// not run characters. `link` covers the one exception of the function stage (see there).
class RunSkipper {
  public:
    /// Class of a character: 0 when it belongs to no run; equal non-zero values run together.
    using Classifier = std::uint8_t (*)(char16_t);
    enum class Direction { Forward, Backward };

    /// Texts up to this length can be indexed.
    static constexpr std::size_t kMaxText = std::numeric_limits<std::uint32_t>::max() - 2;

    RunSkipper(const std::u16string& text, Classifier classOf, Direction direction);

    /// The run class of `unit`.
    std::uint8_t classOf(char16_t unit) const { return classOf_(unit); }

    /// Forward: the first position after `x` outside the run holding `x` (at most the text's
    /// length). Backward: the last position before `x` outside that run, or -1. `x` must hold a
    /// character of a run class.
    std::int64_t beyondRun(std::size_t x);

    /// The character at `x` now belongs to a run class.
    void entered(std::size_t x);

    /// Backward only: every position after `target` up to `x` belongs to the run class of `x`,
    /// and `target` (or the start of the text, for -1) does not.
    void link(std::size_t x, std::int64_t target);

  private:
    struct Free {
        void operator()(void* p) const { std::free(p); }
    };

    /// Points `x` at `target`.
    void point(std::size_t x, std::int64_t target);
    std::int64_t target(std::size_t x) const;

    const std::u16string& text_;
    Classifier classOf_;
    bool forward_;
    std::size_t size_;
    /// How far each position jumps: 0 for the neighbouring position, 1 to 254 for that
    /// distance, `kFar` when the target is in `far_`. Zeroed memory from the system needs no
    /// filling, so the parts of a long text that no stage ever jumps through cost nothing.
    std::unique_ptr<std::uint8_t[], Free> near_;
    /// Targets further away, plus two (so that -1, before the start, is 1); made on the first
    /// far pointer.
    std::unique_ptr<std::uint32_t[], Free> far_;
    static constexpr std::uint8_t kFar = 255;
};

/// Run classes for forward skipping: runs of '_' and runs of spaces and line feeds.
std::uint8_t forwardRunClass(char16_t unit);

/// Run classes for backward scanning: blanks (space, tab, carriage return, line feed) and
/// identifier characters.
inline constexpr std::uint8_t kBlankRun = 1;
inline constexpr std::uint8_t kIdentifierRun = 2;
std::uint8_t backwardRunClass(char16_t unit);

/// Appends `text[from, to]` (both included) to `out` with every run of '_' and every run of
/// spaces and line feeds shortened to its first character. The patterns that run on such a
/// copy read '_' only as a word character inside runs of word characters and blanks only inside
/// runs of white space, and no operator or bracket is dropped, so they match the shortened copy
/// exactly as the full one.
void appendShortened(std::u16string& out, const std::u16string& text, RunSkipper& forward,
                     std::size_t from, std::size_t to);

/// Overwrites `text[from, to]` (both included) with '_', each line feed with `kNewlineMarker`,
/// jumping over the runs of '_' already there. `forward` (a forward skipper over `text`) and
/// then `entered` are told of every position changed.
template <typename Entered>
void overwriteWithUnderscores(std::u16string& text, RunSkipper& forward, std::size_t from,
                              std::size_t to, Entered&& entered) {
    std::size_t x = from;
    while (x <= to) {
        const char16_t c = text[x];
        if (c == u'_') {
            x = std::min(static_cast<std::size_t>(forward.beyondRun(x)), to + 1);
            continue;
        }
        text[x] = c == u'\n' ? kNewlineMarker : u'_';
        forward.entered(x);
        entered(x);
        ++x;
    }
}

}  // namespace tw
