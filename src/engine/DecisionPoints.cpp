#include "engine/DecisionPoints.h"

namespace tw {

namespace {

/// Whether a token can begin the operand after a binary operator.
bool beginsOperand(const CodeToken& token) {
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

}  // namespace

int DecisionPoints::take(const CodeToken& token, Keyword keyword, std::uint32_t (&found)[2]) {
    int count = 0;
    if (waiting_ != kNone) {
        if (beginsOperand(token)) {
            found[count++] = waiting_;
        }
        waiting_ = kNone;
    }
    const bool afterOperand =
        (previousKind_ == TokenKind::Word && previousKeyword_ == Keyword::None) ||
        previousKind_ == TokenKind::Number ||
        (previousKind_ == TokenKind::Punct &&
         (previousPunct_ == Punct::CloseParen || previousPunct_ == Punct::CloseBracket));
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
                if (afterOperand) {
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

void DecisionPoints::restart() {
    previousKind_ = TokenKind::End;
    previousPunct_ = Punct::None;
    previousKeyword_ = Keyword::None;
    waiting_ = kNone;
}

}  // namespace tw
