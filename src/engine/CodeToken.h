#pragma once

#include <cstdint>
#include <string>
#include <string_view>

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
    CodeToken next();

  private:
    const char16_t* text_;
    std::size_t position_;
    std::size_t end_;
};

/// The language of a text, as far as the complexity count tells them apart: C has C++'s
/// keywords as plain names (`class`, `new`, `operator`, ...).
enum class CodeLanguage : std::uint8_t { C, Cpp, Java };

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
