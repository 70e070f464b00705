#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tw {

/// What a counted thing adds to the figures of the line it stands on.
enum class TraceKind : std::uint8_t {
    Statement,
    Declaration,
    Directive,
    /// Operators in the condition of a logic statement: statements unless logic counts as a
    /// single statement.
    ConditionOperators,
};

/// Where a count found what it counted, for a look at a file line by line: the stages note
/// each thing they count at its position in the text. Only the count of a text that a trace
/// watches, on the thread that made the trace, keeps notes; any other count pays one test of a
/// thread-local pointer per note. Stages that count inside a copy of a piece of the text (an
/// argument list, a condition) note nothing there; they note the copy's count at the position
/// of the construct it belongs to.
class CountTrace {
  public:
    struct Note {
        std::uint32_t position;
        TraceKind kind;
        std::int32_t count;
    };

    /// Watches the counts of `text` on this thread while alive.
    explicit CountTrace(const std::u16string& text) : text_(&text), previous_(active_) {
        active_ = this;
    }
    ~CountTrace() { active_ = previous_; }
    CountTrace(const CountTrace&) = delete;
    CountTrace& operator=(const CountTrace&) = delete;

    /// Notes `count` things of `kind` at `position` of `text`, when a trace watches `text`.
    static void note(const std::u16string& text, std::size_t position, TraceKind kind,
                     std::int32_t count = 1) {
        CountTrace* const trace = active_;
        if (trace != nullptr && trace->text_ == &text && count != 0) {
            trace->notes_.push_back({static_cast<std::uint32_t>(position), kind, count});
        }
    }

    /// Whether a trace watches `text`: for a stage that would find positions only to note them.
    static bool watches(const std::u16string& text) {
        return active_ != nullptr && active_->text_ == &text;
    }

    const std::vector<Note>& notes() const { return notes_; }

  private:
    static inline thread_local CountTrace* active_ = nullptr;
    const std::u16string* text_;
    CountTrace* previous_;
    std::vector<Note> notes_;
};

}  // namespace tw
