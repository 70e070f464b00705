#include "engine/SourceText.h"

#include <algorithm>

#include "engine/TextScan.h"

namespace tw {

SourceText SourceText::fromBody(std::u16string_view body) {
    SourceText text;
    text.chars.reserve(body.size() + 1);
    text.chars.assign(body);
    text.chars.push_back(kEndMark);
    text.indexLineFeeds();
    return text;
}

void SourceText::indexLineFeeds() {
    const char16_t* units = chars.data();
    const std::size_t size = chars.size();
    // Counted first, so the index takes exactly its room: a file of nothing but line feeds
    // would otherwise leave up to twice that behind as spare capacity.
    std::size_t count = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Eight units at a time; each line feed found is one bit of the comparison's mask.
    const __m128i lineFeed = _mm_set1_epi16(static_cast<short>(u'\n'));
    const auto maskAt = [&](std::size_t at) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + at));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(block, lineFeed))) & 0x5555u;
    };
    for (; i + 8 <= size; i += 8) {
        count += static_cast<std::size_t>(__builtin_popcount(maskAt(i)));
    }
#endif
    for (; i < size; ++i) {
        count += units[i] == u'\n' ? 1 : 0;
    }
    lineFeeds.clear();
    lineFeeds.resize(count);
    std::uint32_t* to = lineFeeds.data();
    i = 0;
#if defined(__SSE2__)
    for (; i + 8 <= size; i += 8) {
        for (unsigned mask = maskAt(i); mask != 0; mask &= mask - 1) {
            *to++ = static_cast<std::uint32_t>(i + __builtin_ctz(mask) / 2);
        }
    }
#endif
    for (; i < size; ++i) {
        if (units[i] == u'\n') {
            *to++ = static_cast<std::uint32_t>(i);
        }
    }
}

int lineOfPosition(const SourceText& text, std::int64_t position) {
    if (position < 0) {
        return 1;
    }
    const auto upTo = std::upper_bound(text.lineFeeds.begin(), text.lineFeeds.end(),
                                       static_cast<std::uint64_t>(position),
                                       [](std::uint64_t p, std::uint32_t lf) { return p < lf; });
    return 1 + static_cast<int>(upTo - text.lineFeeds.begin());
}

}  // namespace tw
