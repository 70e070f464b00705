#include "engine/Pattern.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace tw {
namespace {

constexpr std::uint32_t kMaxGroups = 32;
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;

/// Match data, match context and JIT stack of the calling thread, made on its first match.
/// Where the memory for them cannot be had (an address-space limit), nothing aborts: without a
/// JIT stack of its own a match uses the small one PCRE2 keeps on the call stack, and a match
/// that needs more fails as a match over the limit does; without match data every match of the
/// thread fails. Either way the file fails with a message and the run goes on.
struct ThreadMatchState {
    pcre2_match_data_16* data = nullptr;
    pcre2_match_context_16* context = nullptr;
    pcre2_jit_stack_16* stack = nullptr;

    ThreadMatchState() {
        data = pcre2_match_data_create_16(kMaxGroups, nullptr);
        context = pcre2_match_context_create_16(nullptr);
        stack = pcre2_jit_stack_create_16(kJitStackStart, kPatternStackReserve, nullptr);
        if (context != nullptr && stack != nullptr) {
            pcre2_jit_stack_assign_16(context, nullptr, stack);
        }
    }
    bool ready() const { return data != nullptr && context != nullptr; }
    ~ThreadMatchState() {
        pcre2_jit_stack_free_16(stack);
        pcre2_match_context_free_16(context);
        pcre2_match_data_free_16(data);
    }
};

ThreadMatchState& threadState() {
    thread_local ThreadMatchState state;
    return state;
}

pcre2_code_16* asCode(void* code) {
    return static_cast<pcre2_code_16*>(code);
}

pcre2_code_16* compile(std::u16string_view source, std::uint32_t options) {
    pcre2_compile_context_16* context = pcre2_compile_context_create_16(nullptr);
    pcre2_set_newline_16(context, PCRE2_NEWLINE_LF);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_16* code = pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(source.data()),
                                           source.size(), options, &error, &offset, context);
    pcre2_compile_context_free_16(context);
    if (code == nullptr) {
        PCRE2_UCHAR16 message[256];
        pcre2_get_error_message_16(error, message, 256);
        std::string narrow;
        for (const PCRE2_UCHAR16* p = message; *p != 0; ++p) {
            narrow.push_back(static_cast<char>(*p < 0x80 ? *p : '?'));
        }
        std::fprintf(stderr, "tallyweaver: bad pattern at offset %zu: %s\n",
                     static_cast<std::size_t>(offset), narrow.c_str());
        std::abort();
    }
    // Without JIT (an unsupported processor) matching still works, only slower.
    pcre2_jit_compile_16(code, PCRE2_JIT_COMPLETE);
    return code;
}

/// What a result of pcre2_match says: no match, a failure of the engine, or a match.
MatchStatus statusOf(int rc) {
    if (rc == PCRE2_ERROR_NOMATCH) {
        return MatchStatus::NotFound;
    }
    return rc < 0 ? MatchStatus::Error : MatchStatus::Found;
}

}  // namespace

Pattern::Pattern(std::u16string_view source) {
    pcre2_code_16* code = compile(source, 0);
    std::uint32_t captures = 0;
    pcre2_pattern_info_16(code, PCRE2_INFO_CAPTURECOUNT, &captures);
    if (captures + 1 > kMaxGroups) {
        std::fputs("tallyweaver: pattern has too many groups\n", stderr);
        std::abort();
    }
    code_ = code;
    wholeCode_ = compile(source, PCRE2_ANCHORED | PCRE2_ENDANCHORED);
    groupCount_ = static_cast<int>(captures);
}

Pattern::~Pattern() {
    pcre2_code_free_16(asCode(code_));
    pcre2_code_free_16(asCode(wholeCode_));
}

int Pattern::run(std::u16string_view subject, bool whole) const {
    ThreadMatchState& state = threadState();
    if (!state.ready()) {
        return PCRE2_ERROR_NOMEMORY;
    }
    // An empty view may have no data pointer; PCRE2 wants a valid one.
    static const char16_t kEmpty[1] = {0};
    const char16_t* data = subject.empty() ? kEmpty : subject.data();
    return pcre2_match_16(asCode(whole ? wholeCode_ : code_), reinterpret_cast<PCRE2_SPTR16>(data),
                          subject.size(), 0, 0, state.data, state.context);
}

MatchStatus Pattern::search(std::u16string_view subject, PatternMatch& match) const {
    const int rc = run(subject, false);
    if (const MatchStatus status = statusOf(rc); status != MatchStatus::Found) {
        return status;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(threadState().data);
    match.begin = ovector[0];
    match.end = ovector[1];
    match.group = 0;
    // rc is one more than the highest group that took part.
    for (int group = 1; group < rc; ++group) {
        if (ovector[2 * group] != PCRE2_UNSET) {
            match.group = group;
            match.groupBegin = ovector[2 * group];
            match.groupEnd = ovector[2 * group + 1];
            break;
        }
    }
    return MatchStatus::Found;
}

MatchStatus Pattern::fullMatch(std::u16string_view subject) const {
    return statusOf(run(subject, true));
}

MatchStatus Pattern::searchGroups(
    std::u16string_view subject,
    std::vector<std::optional<std::pair<std::size_t, std::size_t>>>& groups) const {
    groups.clear();
    const int rc = run(subject, false);
    if (const MatchStatus status = statusOf(rc); status != MatchStatus::Found) {
        return status;
    }
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer_16(threadState().data);
    for (int group = 0; group <= groupCount_; ++group) {
        if (group < rc && ovector[2 * group] != PCRE2_UNSET) {
            groups.emplace_back(std::make_pair(ovector[2 * group], ovector[2 * group + 1]));
        } else {
            groups.emplace_back(std::nullopt);
        }
    }
    return MatchStatus::Found;
}

}  // namespace tw
