#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tw {

/// The kinds of token the complexity count tells apart in a prepared text (comments, literals
/// and directives already blanked).
enum class TokenKind : std::uint8_t {
    End,
    Word,    ///< a name or keyword: letters, digits, '_', '$' and every unit above ASCII
    Number,  ///< a word that starts with a digit
    Punct,
};

/// The punctuators that matter to finding functions and decision points; all others are Other.
enum class Punct : std::uint8_t {
    None,
    Other,
    OpenParen,
    CloseParen,
    OpenBrace,
    CloseBrace,
    OpenBracket,
    CloseBracket,
    Less,
    Greater,
    Semicolon,
    Comma,
    Colon,
    Scope,  ///< ::
    Arrow,  ///< ->
    AndAnd,
    OrOr,
    Question,
    Assign,  ///< '=' alone, not part of ==, !=, <= or >=
    Tilde,
    Dot,
    Bang,
    Plus,
    Minus,
    Star,
    Amp,
};

struct CodeToken {
    TokenKind kind = TokenKind::End;
    Punct punct = Punct::None;
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

/// Whether `unit` belongs to a word.
inline bool isWordUnit(char16_t unit) {
    if (unit >= 0x80) {
        return unit != 0xFFFF;  // the end mark
    }
    return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
           (unit >= u'0' && unit <= u'9') || unit == u'_' || unit == u'$';
}

/// Reads the tokens of `text[from, to)` one by one, each in constant time per unit it covers.
class CodeTokenizer {
  public:
    CodeTokenizer(const std::u16string& text, std::size_t from, std::size_t to)
        : text_(text.data()), position_(from), end_(to) {}

    /// The next token; `End` once the range is used up.
    [[gnu::always_inline]] CodeToken next();

  private:
    const char16_t* text_;
    std::size_t position_;
    std::size_t end_;
};

/// The language of a text, as far as the complexity count tells them apart: C has C++'s
/// keywords as plain names (`class`, `new`, `operator`, ...).
enum class CodeLanguage : std::uint8_t { C, Cpp, Java };

// The tokenizer runs once per token of every file counted in the Cyclomatic Complexity mode:
// inline, so that the finder's loop keeps it in line.
namespace codeTokenDetail {

constexpr Punct punctOf(char16_t c) {
    switch (c) {
        case u'(':
            return Punct::OpenParen;
        case u')':
            return Punct::CloseParen;
        case u'{':
            return Punct::OpenBrace;
        case u'}':
            return Punct::CloseBrace;
        case u'[':
            return Punct::OpenBracket;
        case u']':
            return Punct::CloseBracket;
        case u'<':
            return Punct::Less;
        case u'>':
            return Punct::Greater;
        case u';':
            return Punct::Semicolon;
        case u',':
            return Punct::Comma;
        case u':':
            return Punct::Colon;
        case u'?':
            return Punct::Question;
        case u'=':
            return Punct::Assign;
        case u'~':
            return Punct::Tilde;
        case u'.':
            return Punct::Dot;
        case u'!':
            return Punct::Bang;
        case u'+':
            return Punct::Plus;
        case u'-':
            return Punct::Minus;
        case u'*':
            return Punct::Star;
        case u'&':
            return Punct::Amp;
        default:
            return Punct::Other;
    }
}

inline bool isSpaceUnit(char16_t unit) {
    return unit <= u' ' || unit == 0x7F;
}

/// Position of the first unit in `text[from, size)` that is not a space, or `size`. Blanked
/// comments and literals make long runs of spaces: eight units at a time where possible.
inline std::size_t skipSpaces(const char16_t* text, std::size_t from, std::size_t size) {
    std::size_t i = from;
    // Most runs are a single blank or none.
    for (int scalar = 0; scalar < 2; ++scalar, ++i) {
        if (i >= size || !isSpaceUnit(text[i])) {
            return i;
        }
    }
#if defined(__SSE2__)
    // Signed compares, both sides shifted by 0x8000: "unit > ' '" for every unit.
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i space = _mm_set1_epi16(static_cast<short>(u' ' ^ 0x8000));
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const int mask = _mm_movemask_epi8(_mm_cmpgt_epi16(_mm_xor_si128(units, bias), space));
        if (mask != 0) {
            i += static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
            break;
        }
    }
#endif
    while (i < size && isSpaceUnit(text[i])) {
        ++i;
    }
    return i;
}

/// Which ASCII units belong to a word.
inline constexpr std::array<bool, 128> kWordUnits = [] {
    std::array<bool, 128> units{};
    for (char16_t c = 0; c < 128; ++c) {
        units[c] = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                   (c >= u'0' && c <= u'9') || c == u'_' || c == u'$';
    }
    return units;
}();

/// The punctuator of each ASCII unit that is no word unit.
inline constexpr std::array<Punct, 128> kPuncts = [] {
    std::array<Punct, 128> puncts{};
    for (char16_t c = 0; c < 128; ++c) {
        puncts[c] = punctOf(c);
    }
    return puncts;
}();

/// The units that may begin a punctuator of two units.
inline constexpr std::array<bool, 128> kPairs = [] {
    std::array<bool, 128> pairs{};
    for (const char16_t c : std::u16string_view(u":-&|=!<>+*")) {
        pairs[c] = true;
    }
    return pairs;
}();

inline bool isWordUnitFast(char16_t unit) {
    return unit < 128 ? kWordUnits[unit] : unit != 0xFFFF;
}

/// Position of the first unit in `text[from, size)` that does not belong to a word, or
/// `size`; eight units at a time where possible, since names are long.
inline std::size_t skipWord(const char16_t* text, std::size_t from, std::size_t size) {
    std::size_t i = from;
    // Most words are short: a few units one by one first.
    for (const std::size_t stop = std::min(size, from + 6); i < stop; ++i) {
        if (!isWordUnitFast(text[i])) {
            return i;
        }
    }
#if defined(__SSE2__)
    // Unsigned "x - low < span" as signed compares with both sides shifted by 0x8000.
    const __m128i bias = _mm_set1_epi16(static_cast<short>(0x8000));
    const auto below = [&bias](__m128i units, char16_t low, int span) {
        const __m128i shifted =
            _mm_xor_si128(_mm_sub_epi16(units, _mm_set1_epi16(static_cast<short>(low))), bias);
        return _mm_cmplt_epi16(shifted, _mm_set1_epi16(static_cast<short>(span ^ 0x8000)));
    };
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        const __m128i letters = below(_mm_or_si128(units, _mm_set1_epi16(0x20)), u'a', 26);
        const __m128i digits = below(units, u'0', 10);
        const __m128i marks = _mm_or_si128(_mm_cmpeq_epi16(units, _mm_set1_epi16(u'_')),
                                           _mm_cmpeq_epi16(units, _mm_set1_epi16(u'$')));
        // Units from 0x80 on, the end mark excepted.
        const __m128i high = _mm_andnot_si128(
            _mm_cmpeq_epi16(units, _mm_set1_epi16(static_cast<short>(0xFFFF))),
            _mm_xor_si128(below(units, 0, 0x80), _mm_set1_epi16(static_cast<short>(0xFFFF))));
        const int word = _mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(letters, digits), _mm_or_si128(marks, high)));
        if (word != 0xFFFF) {
            return i +
                   static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(~word & 0xFFFF))) /
                       2;
        }
    }
#endif
    while (i < size && isWordUnitFast(text[i])) {
        ++i;
    }
    return i;
}

}  // namespace codeTokenDetail

[[gnu::always_inline]] inline CodeToken CodeTokenizer::next() {
    using namespace codeTokenDetail;
    std::size_t i = skipSpaces(text_, position_, end_);
    // A backslash that ends a line joins the next one to it: a blank between tokens.
    while (i + 1 < end_ && text_[i] == u'\\' && text_[i + 1] == u'\n') {
        i = skipSpaces(text_, i + 2, end_);
    }
    CodeToken token;
    token.begin = static_cast<std::uint32_t>(i);
    if (i >= end_) {
        position_ = end_;
        token.end = token.begin;
        return token;
    }
    const char16_t c = text_[i];
    if (isWordUnitFast(c)) {
        token.kind = c >= u'0' && c <= u'9' ? TokenKind::Number : TokenKind::Word;
        i = skipWord(text_, i + 1, end_);
    } else {
        token.kind = TokenKind::Punct;
        token.punct = c < 128 ? kPuncts[c] : Punct::Other;
        ++i;
        if (c >= 128 || !kPairs[c]) {
            token.end = static_cast<std::uint32_t>(i);
            position_ = i;
            return token;
        }
        const char16_t d = i < end_ ? text_[i] : u'\0';
        // Two-unit punctuators that would otherwise read as two tokens that matter.
        if (c == u':' && d == u':') {
            token.punct = Punct::Scope;
            ++i;
        } else if (c == u'-' && d == u'>') {
            token.punct = Punct::Arrow;
            ++i;
        } else if (c == u'&' && d == u'&') {
            token.punct = Punct::AndAnd;
            ++i;
        } else if (c == u'|' && d == u'|') {
            token.punct = Punct::OrOr;
            ++i;
        } else if (d == u'=' && (c == u'=' || c == u'!' || c == u'<' || c == u'>' || c == u'&' ||
                                 c == u'|' || c == u'+' || c == u'-' || c == u'*')) {
            token.punct = Punct::Other;
            ++i;
        }
    }
    token.end = static_cast<std::uint32_t>(i);
    position_ = i;
    return token;
}

/// The words the complexity count gives a meaning to. Those of one language only are plain
/// words in the others.
enum class Keyword : std::uint8_t {
    None,
    // Decision points.
    If,
    For,
    While,
    Case,
    Catch,
    And,  ///< C++ alternative token
    Or,   ///< C++ alternative token
    // What a declaration is.
    ClassKey,   ///< struct, class, union, enum, Java interface
    Enum,       ///< enum, which is also a class key
    Record,     ///< Java, where it is a class key only before a name
    Namespace,  ///< C++
    Extern,     ///< C++
    Operator,   ///< C++
    New,        ///< Java
    Access,     ///< public, private, protected, and Qt's signals and slots, before a ':'
    /// Words after a parameter list that leave it the function's own: const, volatile,
    /// override, final, noexcept-less qualifiers.
    Trailing,
    /// Before '&&' in a declaration: a reference, not a decision.
    Auto,
    /// Keywords that end no operand and name no function (return, sizeof, int, ...).
    Reserved,
};

/// The meaning of `word` in `language`.
Keyword keywordOf(std::u16string_view word, CodeLanguage language);

/// Whether a function can bear `keyword` as its name: a plain word, or one of the contextual
/// words.
inline bool canNameFunction(Keyword keyword) {
    return keyword == Keyword::None || keyword == Keyword::Record || keyword == Keyword::Access ||
           keyword == Keyword::And || keyword == Keyword::Or || keyword == Keyword::Operator;
}

}  // namespace tw
