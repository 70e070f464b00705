#pragma once

#include <cstdint>

#include "engine/CodeToken.h"

namespace tw {

/// Tells, token after token through the code of a function, which tokens are its decision
/// points: `if`, `for`, `while`, `case`, `catch`, `&&`, `||`, C++'s `and` and `or`, and the
/// conditional `?`. Some need the token before or after them:
/// - `&&` is no decision where it takes the address of a label (GNU C: `&&done` after '(',
///   ',', '=', ...) or makes a reference after `auto`;
/// - `and` and `or` are operators only between two operands (C has them as plain names);
/// - a Java `?` after '<' or ',' is the wildcard of a type argument.
/// Such a token is settled by the one after it.
class DecisionPoints {
  public:
    explicit DecisionPoints(bool java) : java_(java) {}

    /// Takes the next token, `keyword` being its meaning when it is a word. Writes the
    /// positions of the decision points it settles (its own, one waiting for it) to `found`;
    /// returns how many.
    int take(const CodeToken& token, Keyword keyword, std::uint32_t (&found)[2]);

    /// Forgets the tokens before: what comes next is other code.
    void restart();

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    bool java_;
    TokenKind previousKind_ = TokenKind::End;
    Punct previousPunct_ = Punct::None;
    Keyword previousKeyword_ = Keyword::None;
    /// A `&&`, `and` or `or` waiting for the token after it.
    std::uint32_t waiting_ = kNone;
};

}  // namespace tw
