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

    /// Whether a token is waiting to be settled by the next one.
    bool waiting() const { return waiting_ != kNone; }

    /// Takes a token that can be no decision point, while none is waiting: most tokens of a
    /// function, at the cost of remembering them.
    void passOver(const CodeToken& token, Keyword keyword) {
        previousKind_ = token.kind;
        previousPunct_ = token.punct;
        previousKeyword_ = token.kind == TokenKind::Word ? keyword : Keyword::None;
    }

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFF;
    bool java_;
    TokenKind previousKind_ = TokenKind::End;
    Punct previousPunct_ = Punct::None;
    Keyword previousKeyword_ = Keyword::None;
    /// A `&&`, `and` or `or` waiting for the token after it.
    std::uint32_t waiting_ = kNone;
};

namespace decisionDetail {

/// Whether a token can begin the operand after a binary operator.
inline bool beginsOperand(const CodeToken& token) {
    switch (token.kind) {
        case TokenKind::Word:
        case TokenKind::Number:
            return true;
        case TokenKind::Punct:
            switch (token.punct) {
                case Punct::OpenParen:
                case Punct::Bang:
                case Punct::Tilde:
                case Punct::Minus:
                case Punct::Plus:
                case Punct::Star:
                case Punct::Amp:
                case Punct::Scope:
                    return true;
                default:
                    return false;
            }
        case TokenKind::End:
            break;
    }
    return false;
}

}  // namespace decisionDetail

// Inline: it runs once per token of every function body.
inline int DecisionPoints::take(const CodeToken& token, Keyword keyword,
                                std::uint32_t (&found)[2]) {
    int count = 0;
    if (waiting_ != kNone) {
        if (decisionDetail::beginsOperand(token)) {
            found[count++] = waiting_;
        }
        waiting_ = kNone;
    }
    const auto afterOperand = [this] {
        return (previousKind_ == TokenKind::Word && previousKeyword_ == Keyword::None) ||
               previousKind_ == TokenKind::Number ||
               (previousKind_ == TokenKind::Punct &&
                (previousPunct_ == Punct::CloseParen || previousPunct_ == Punct::CloseBracket));
    };
    if (token.kind == TokenKind::Word) {
        switch (keyword) {
            case Keyword::If:
            case Keyword::For:
            case Keyword::While:
            case Keyword::Case:
            case Keyword::Catch:
                found[count++] = token.begin;
                break;
            case Keyword::And:
            case Keyword::Or:
                if (afterOperand()) {
                    waiting_ = token.begin;
                }
                break;
            default:
                break;
        }
    } else if (token.kind == TokenKind::Punct) {
        switch (token.punct) {
            case Punct::OrOr:
                found[count++] = token.begin;
                break;
            case Punct::AndAnd: {
                // Unary after what cannot end an operand; a reference after `auto`.
                bool unary = previousKind_ == TokenKind::End;
                if (previousKind_ == TokenKind::Punct) {
                    switch (previousPunct_) {
                        case Punct::OpenParen:
                        case Punct::OpenBrace:
                        case Punct::OpenBracket:
                        case Punct::Comma:
                        case Punct::Assign:
                        case Punct::Semicolon:
                        case Punct::Question:
                        case Punct::Colon:
                        case Punct::Bang:
                        case Punct::AndAnd:
                        case Punct::OrOr:
                            unary = true;
                            break;
                        default:
                            break;
                    }
                } else if (previousKind_ == TokenKind::Word) {
                    unary = previousKeyword_ == Keyword::Auto ||
                            previousKeyword_ == Keyword::Trailing ||
                            previousKeyword_ == Keyword::Reserved;
                }
                if (!unary) {
                    waiting_ = token.begin;
                }
                break;
            }
            case Punct::Question:
                if (!(java_ && previousKind_ == TokenKind::Punct &&
                      (previousPunct_ == Punct::Less || previousPunct_ == Punct::Comma))) {
                    found[count++] = token.begin;
                }
                break;
            default:
                break;
        }
    }
    previousKind_ = token.kind;
    previousPunct_ = token.punct;
    previousKeyword_ = token.kind == TokenKind::Word ? keyword : Keyword::None;
    return count;
}

inline void DecisionPoints::restart() {
    previousKind_ = TokenKind::End;
    previousPunct_ = Punct::None;
    previousKeyword_ = Keyword::None;
    waiting_ = kNone;
}

}  // namespace tw
