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
    lineFeeds.clear();
    const char16_t* units = chars.data();
    const std::size_t size = chars.size();
    for (std::size_t i = findUnit(units, 0, size, u'\n'); i < size;
         i = findUnit(units, i + 1, size, u'\n')) {
        lineFeeds.push_back(static_cast<std::uint32_t>(i));
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
