#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {

// Searches over UTF-16 code units, eight at a time where the processor allows. The stages that
// walk every character of a file spend most of their time looking for the next character that
// matters to them; these make that look cheap.

/// Position of the first of four code units (repeat one to look for fewer) in
/// `text[from, size)`, or `size`.
inline std::size_t findAnyOf(const char16_t* text, std::size_t from, std::size_t size, char16_t a,
                             char16_t b, char16_t c, char16_t d) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi16(static_cast<short>(a));
    const __m128i vb = _mm_set1_epi16(static_cast<short>(b));
    const __m128i vc = _mm_set1_epi16(static_cast<short>(c));
    const __m128i vd = _mm_set1_epi16(static_cast<short>(d));
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(units, va), _mm_cmpeq_epi16(units, vb)),
                         _mm_or_si128(_mm_cmpeq_epi16(units, vc), _mm_cmpeq_epi16(units, vd)));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
        }
    }
#endif
    for (; i < size; ++i) {
        const char16_t unit = text[i];
        if (unit == a || unit == b || unit == c || unit == d) {
            return i;
        }
    }
    return size;
}

/// Position of the first of the code units `units` in `text[from, size)`, or `size`: for sets
/// of more than four.
template <std::size_t N>
inline std::size_t findAnyOfSet(const char16_t* text, std::size_t from, std::size_t size,
                                const char16_t (&units)[N]) {
    std::size_t i = from;
#if defined(__SSE2__)
    __m128i wanted[N];
    for (std::size_t k = 0; k < N; ++k) {
        wanted[k] = _mm_set1_epi16(static_cast<short>(units[k]));
    }
    for (; i + 8 <= size; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        __m128i hits = _mm_cmpeq_epi16(block, wanted[0]);
        for (std::size_t k = 1; k < N; ++k) {
            hits = _mm_or_si128(hits, _mm_cmpeq_epi16(block, wanted[k]));
        }
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
        }
    }
#endif
    for (; i < size; ++i) {
        for (const char16_t unit : units) {
            if (text[i] == unit) {
                return i;
            }
        }
    }
    return size;
}

/// Position of the first `unit` in `text[from, size)`, or `size`.
inline std::size_t findUnit(const char16_t* text, std::size_t from, std::size_t size,
                            char16_t unit) {
    return findAnyOf(text, from, size, unit, unit, unit, unit);
}

/// Position of the first decimal digit or '.' in `text[from, size)`, or `size`.
inline std::size_t findDigitOrDot(const char16_t* text, std::size_t from, std::size_t size) {
    std::size_t i = from;
#if defined(__SSE2__)
    // Unsigned "unit - '0' < 10" with signed compares: shift both sides by 0x8000.
    const __m128i zero = _mm_set1_epi16(static_cast<short>(u'0'));
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i ten = _mm_set1_epi16(static_cast<short>(10 ^ 0x8000));
    const __m128i dot = _mm_set1_epi16(static_cast<short>(u'.'));
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i shifted = _mm_xor_si128(_mm_sub_epi16(units, zero), bias);
        const __m128i hits =
            _mm_or_si128(_mm_cmplt_epi16(shifted, ten), _mm_cmpeq_epi16(units, dot));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
        }
    }
#endif
    for (; i < size; ++i) {
        if ((text[i] >= u'0' && text[i] <= u'9') || text[i] == u'.') {
            return i;
        }
    }
    return size;
}

/// Position of the first "*/" starting in `text[from, size)`, or `size`.
inline std::size_t findCommentClose(const char16_t* text, std::size_t from, std::size_t size) {
    for (std::size_t i = from;; ++i) {
        i = findUnit(text, i, size, u'*');
        if (i + 1 >= size) {
            return size;
        }
        if (text[i + 1] == u'/') {
            return i;
        }
    }
}

}  // namespace tw
