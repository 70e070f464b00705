#include "engine/FunctionFinder.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "engine/CodeToken.h"
#include "engine/CountTrace.h"
#include "engine/DecisionPoints.h"

namespace tw {

namespace {

constexpr std::uint32_t kNoPosition = 0xFFFFFFFF;
/// Longest name kept for a function or a class that qualifies one, in code units.
constexpr std::size_t kNameLimit = 256;
/// Namespace, class and function scopes deeper than this are read as plain blocks, so that
/// hostile nesting cannot take memory out of proportion to the text.
constexpr std::size_t kMaxScopes = 1024;
/// Conditionals nested deeper than this are read as plain text.
constexpr std::size_t kMaxConditionals = 64;

/// What a scope holds: declarations (file, namespace, class) or code (a function's body, an
/// initialiser or any other block outside functions).
enum class ScopeKind : std::uint8_t {
    Namespace,
    Class,
    Body,   ///< a function's body
    Other,  ///< code that belongs to no function: initialisers, Java initialiser blocks
    Block,  ///< only as a level of nesting put aside while the branches of an #if are read
};

/// What is known of the declaration in progress at namespace or class scope, token by token.
struct Head {
    bool started = false;
    std::uint32_t start = 0;

    // The run of tokens that make a name and end at the last token: "a::b<T>::c", "~X",
    // "operator<<".
    bool run = false;
    std::uint32_t runBegin = 0;
    std::uint32_t runEnd = 0;
    int runAngles = 0;
    int runParens = 0;
    bool runAfterScope = false;  ///< the run ends in "::", '~' or '.': a name follows
    bool runAnnotation = false;  ///< the run follows a Java '@': an annotation's name
    Keyword runKeyword = Keyword::None;
    bool operatorName = false;    ///< the run holds C++'s `operator`
    bool operatorSymbol = false;  ///< ... and its symbol or type
    bool operatorCall = false;    ///< ... which is "()", its '(' read

    // Parenthesised groups at the head's top level, and the braces inside them.
    int parens = 0;
    int braces = 0;
    bool groupNamed = false;
    std::uint32_t groupNameBegin = 0;
    std::uint32_t groupNameEnd = 0;
    Keyword groupKeyword = Keyword::None;
    int wordsBeforeGroup = 0;
    std::uint32_t lastGroupNameBegin = kNoPosition;
    std::uint32_t lastGroupNameEnd = 0;
    /// Words at top level since the last group closed; qualifiers such as `const` left out.
    int wordsSinceGroup = 0;
    std::uint32_t firstWordAfterGroup = kNoPosition;

    // The function it may define.
    bool candidate = false;
    std::uint32_t nameBegin = 0;
    std::uint32_t nameEnd = 0;
    bool initList = false;
    std::uint32_t initListStart = 0;
    bool arrow = false;
    bool assigned = false;
    /// Words at top level since the last '=' and the first of them.
    int wordsSinceAssign = 0;
    std::uint32_t firstWordAfterAssign = kNoPosition;

    // What else it may be.
    bool classKey = false;
    bool enumKey = false;
    bool namespaceKey = false;
    bool externKey = false;
    bool classNameFrozen = false;
    std::uint32_t classNameBegin = kNoPosition;
    std::uint32_t classNameEnd = 0;

    // An old-style C definition, "f(a, b) int a; char *b; {": the function its parameter
    // declarations follow, kept across their ';'.
    bool oldStyle = false;
    std::uint32_t oldStyleStart = 0;
    std::uint32_t oldStyleNameBegin = 0;
    std::uint32_t oldStyleNameEnd = 0;

    // The last token.
    TokenKind lastKind = TokenKind::End;
    Punct lastPunct = Punct::None;
    Keyword lastKeyword = Keyword::None;
    std::uint32_t lastBegin = 0;
    std::uint32_t lastEnd = 0;
};

struct Scope {
    ScopeKind kind = ScopeKind::Namespace;
    /// The function whose decision points the code of this scope adds to; -1 for none.
    std::int32_t function = -1;
    /// Plain blocks open inside this scope (Body and Other).
    std::uint32_t blocks = 0;
    /// A Java enum's body before its first ';': its constants, which may have class bodies.
    bool enumConstants = false;
    /// What qualifies the name of a function defined in this scope ("Outer::", "Outer.Inner.").
    std::u16string qualifier;
    /// Where in the scope stack the qualifier that applies here is kept: a class scope keeps
    /// its own, any other scope points to its class's (or the file's), so that opening a
    /// function's body copies no string.
    std::size_t qualifierScope = 0;
    /// The simple name of a class scope.
    std::u16string name;
    Head head;
};

/// The branches of one #if being read.
struct Conditional {
    std::size_t depthAtIf = 0;
    /// Nesting when the first branch ended; -1 while it is being read.
    std::ptrdiff_t depthAfterFirst = -1;
    bool headAtIfKept = false;
    Head headAtIf;
    Head headAfterFirst;
    /// What the first branch left open above the #if's level, put aside, innermost first.
    std::vector<Scope> openedInFirst;
    /// What the branch being read closed below the #if's level, innermost first.
    std::vector<Scope> closedInBranch;
};

struct Found {
    FunctionComplexity function;
    std::uint32_t namePosition = 0;
    bool closed = false;
    bool dropped = false;
};

/// Whether a word that begins with `first` and is `length` units long may be a keyword that
/// matters inside code (the decision points, `new`, class keys, `auto`, `return`, ...): they
/// are lower case and at most 9 units long. Most names are not, and skip the look-up.
bool mayMatterInCode(char16_t first, std::size_t length) {
    return length <= 9 && ((first >= u'a' && first <= u'z') || first == u'_');
}

/// Whether `unit` separates tokens.
bool isSpace(char16_t unit) {
    return unit <= u' ' || unit == 0x7F;
}

/// The text of `chars[begin, end)` as a name: blanks dropped, but one space kept between two
/// words ("operator new", "operator const char*"). At most `limit` units.
std::u16string nameText(const std::u16string& chars, std::uint32_t begin, std::uint32_t end,
                        std::size_t limit) {
    std::u16string name;
    bool blank = false;
    for (std::uint32_t i = begin; i < end && name.size() < limit; ++i) {
        const char16_t c = chars[i];
        if (isSpace(c)) {
            blank = true;
            continue;
        }
        if (blank && !name.empty() && isWordUnit(name.back()) && isWordUnit(c)) {
            name.push_back(u' ');
        }
        blank = false;
        name.push_back(c);
    }
    return name;
}

class FunctionFinder {
  public:
    FunctionFinder(const SourceText& text, CodeLanguage language)
        : text_(text),
          chars_(text.chars),
          language_(language),
          java_(language == CodeLanguage::Java),
          decisions_(java_) {
        watching_ = CountTrace::watches(text.chars);
        scopes_.emplace_back();
    }

    std::vector<FunctionComplexity> run();

  private:
    Scope& top() { return scopes_.back(); }
    /// What qualifies the name of a function defined in the innermost scope.
    const std::u16string& qualifier() const {
        return scopes_[scopes_.back().qualifierScope].qualifier;
    }
    static bool holdsDeclarations(const Scope& scope) {
        return scope.kind == ScopeKind::Namespace || scope.kind == ScopeKind::Class;
    }
    std::u16string_view textOf(std::uint32_t begin, std::uint32_t end) const {
        return std::u16string_view(chars_).substr(begin, end - begin);
    }
    std::uint32_t lineOf(std::uint32_t position) const {
        return static_cast<std::uint32_t>(lineOfPosition(text_, position));
    }

    /// Takes a token of code that is neither a decision point nor anything else that needs
    /// more than remembering it (most of them); false for any other.
    bool passesOver(const CodeToken& token, Keyword keyword);
    void javaNewGroups(const CodeToken& token, Keyword keyword);
    void headToken(const CodeToken& token, Keyword keyword);
    void headWord(Head& head, const CodeToken& token, Keyword keyword);
    void headGroupClosed(Head& head);
    void headOpenBrace(const CodeToken& token);
    void bodyToken(const CodeToken& token, Keyword keyword);
    void closeBrace(const CodeToken& token);

    void openFunction(const Head& head, std::uint32_t namePosition, std::uint32_t nameEnd,
                      std::uint32_t brace);
    void openClass(std::u16string name, bool enumConstants);
    void openScope(ScopeKind kind, std::int32_t function);
    void addDecision(std::uint32_t position, std::int32_t function);

    /// Takes one level of nesting away (a block, or the innermost scope), closing a function
    /// at `closeAt` unless it is kNoPosition.
    Scope popLevel(std::uint32_t closeAt);
    void pushLevel(Scope level);

    void directivesBefore(std::uint32_t position);
    void onIf();
    void onElse();
    void onEndif();
    /// Back to the nesting at the #if, before another branch or after the last one.
    void backToIf(Conditional& conditional, bool firstBranch);

    const SourceText& text_;
    const std::u16string& chars_;
    const CodeLanguage language_;
    const bool java_;
    bool watching_ = false;

    std::vector<Scope> scopes_;
    /// Levels of nesting: scopes below the file's plus blocks.
    std::size_t depth_ = 0;
    std::vector<Found> found_;
    /// Decision points by function, kept only when a trace watches.
    std::vector<std::pair<std::uint32_t, std::int32_t>> notes_;
    DecisionPoints decisions_;

    std::vector<Conditional> conditionals_;
    std::size_t untracked_ = 0;
    std::size_t nextDirective_ = 0;

    // Java's `new T(...)`, whose class body may follow.
    struct NewGroup {
        std::size_t depth;
        std::uint32_t typeBegin;
        std::uint32_t typeEnd;
    };
    std::vector<NewGroup> newGroups_;
    std::size_t parenDepth_ = 0;
    bool newPending_ = false;
    bool newTypeClosed_ = false;
    std::uint32_t newTypeBegin_ = kNoPosition;
    std::uint32_t newTypeEnd_ = 0;
    bool afterNewGroup_ = false;  ///< the last token closed a `new T(...)`
    bool afterNew_ = false;       ///< ... as seen by the current token
    std::uint32_t lastNewBegin_ = kNoPosition;
    std::uint32_t lastNewEnd_ = 0;

    // A Java class declared inside code.
    bool localClass_ = false;
    bool localEnum_ = false;
    bool localNameExpected_ = false;
    std::uint32_t localNameBegin_ = kNoPosition;
    std::uint32_t localNameEnd_ = 0;
    Keyword bodyLastKeyword_ = Keyword::None;
    Punct bodyLastPunct_ = Punct::None;
};

std::vector<FunctionComplexity> FunctionFinder::run() {
    const std::size_t end = chars_.empty() ? 0 : chars_.size() - 1;  // before the end mark
    CodeTokenizer tokens(chars_, 0, end);
    for (;;) {
        const CodeToken token = tokens.next();
        if (nextDirective_ < text_.conditionals.size()) {
            directivesBefore(token.kind == TokenKind::End ? kNoPosition : token.begin);
        }
        if (token.kind == TokenKind::End) {
            break;
        }
        const bool declarations = holdsDeclarations(top());
        Keyword keyword = Keyword::None;
        if (token.kind == TokenKind::Word &&
            (declarations || mayMatterInCode(chars_[token.begin], token.end - token.begin))) {
            keyword = keywordOf(textOf(token.begin, token.end), language_);
        }
        if (!declarations && passesOver(token, keyword)) {
            continue;
        }
        if (java_) {
            javaNewGroups(token, keyword);
        }
        if (declarations) {
            headToken(token, keyword);
        } else {
            bodyToken(token, keyword);
        }
    }

    // The file's last line: a final line feed begins none.
    const bool endsInLineFeed = end > 0 && chars_[end - 1] == u'\n';
    const auto lastLine = static_cast<std::uint32_t>(
        std::max<std::size_t>(1, text_.lineFeeds.size() + (endsInLineFeed ? 0 : 1)));
    std::vector<FunctionComplexity> functions;
    for (std::size_t i = 0; i < found_.size(); ++i) {
        Found& found = found_[i];
        if (found.dropped) {
            continue;
        }
        if (!found.closed) {
            found.function.lastLine = lastLine;
        }
        if (watching_) {
            CountTrace::note(chars_, found.namePosition, TraceKind::Statement);
        }
        functions.push_back(std::move(found.function));
    }
    for (const auto& [position, function] : notes_) {
        if (!found_[static_cast<std::size_t>(function)].dropped) {
            CountTrace::note(chars_, position, TraceKind::Statement);
        }
    }
    return functions;
}

bool FunctionFinder::passesOver(const CodeToken& token, Keyword keyword) {
    if (decisions_.waiting() ||
        (java_ && (newPending_ || localNameExpected_ || bodyLastKeyword_ == Keyword::Record))) {
        return false;
    }
    switch (token.kind) {
        case TokenKind::Number:
            break;
        case TokenKind::Word:
            if (keyword != Keyword::None && keyword != Keyword::Reserved &&
                keyword != Keyword::Trailing && keyword != Keyword::Auto) {
                return false;
            }
            break;
        case TokenKind::Punct:
            switch (token.punct) {
                case Punct::OpenBrace:
                case Punct::CloseBrace:
                case Punct::Semicolon:
                case Punct::AndAnd:
                case Punct::OrOr:
                case Punct::Question:
                    return false;
                case Punct::OpenParen:
                case Punct::CloseParen:
                    if (java_) {
                        return false;
                    }
                    break;
                default:
                    break;
            }
            break;
        case TokenKind::End:
            return false;
    }
    decisions_.passOver(token, keyword);
    afterNewGroup_ = false;
    bodyLastKeyword_ = token.kind == TokenKind::Word ? keyword : Keyword::None;
    bodyLastPunct_ = token.kind == TokenKind::Punct ? token.punct : Punct::None;
    return true;
}

void FunctionFinder::javaNewGroups(const CodeToken& token, Keyword keyword) {
    afterNew_ = afterNewGroup_;
    afterNewGroup_ = false;
    if (token.kind == TokenKind::Word) {
        if (keyword == Keyword::New) {
            newPending_ = true;
            newTypeClosed_ = false;
            newTypeBegin_ = kNoPosition;
        } else if (newPending_ && !newTypeClosed_) {
            if (newTypeBegin_ == kNoPosition) {
                newTypeBegin_ = token.begin;
            }
            newTypeEnd_ = token.end;
        }
        return;
    }
    switch (token.punct) {
        case Punct::Less:
            newTypeClosed_ = true;
            break;
        case Punct::OpenParen:
            ++parenDepth_;
            if (newPending_ && newTypeBegin_ != kNoPosition) {
                newGroups_.push_back({parenDepth_, newTypeBegin_, newTypeEnd_});
            }
            newPending_ = false;
            break;
        case Punct::CloseParen:
            if (!newGroups_.empty() && newGroups_.back().depth == parenDepth_) {
                afterNewGroup_ = true;
                lastNewBegin_ = newGroups_.back().typeBegin;
                lastNewEnd_ = newGroups_.back().typeEnd;
                newGroups_.pop_back();
            }
            parenDepth_ -= parenDepth_ > 0 ? 1 : 0;
            break;
        case Punct::Dot:
        case Punct::Greater:
        case Punct::Comma:
            break;
        default:
            newPending_ = false;
            break;
    }
}

void FunctionFinder::headToken(const CodeToken& token, Keyword keyword) {
    Head& head = top().head;
    if (!head.started) {
        head.started = true;
        head.start = token.begin;
    }
    const Punct punct = token.kind == TokenKind::Punct ? token.punct : Punct::None;
    const auto remember = [&head, &token, keyword] {
        head.lastKind = token.kind;
        head.lastPunct = token.punct;
        head.lastKeyword = token.kind == TokenKind::Word ? keyword : Keyword::None;
        head.lastBegin = token.begin;
        head.lastEnd = token.end;
    };

    // Inside a group or braces of the head: only their nesting matters.
    if (head.parens > 0 || head.braces > 0) {
        switch (punct) {
            case Punct::OpenParen:
                ++head.parens;
                break;
            case Punct::CloseParen:
                if (head.parens > 0 && --head.parens == 0 && head.braces == 0) {
                    headGroupClosed(head);
                }
                break;
            case Punct::OpenBrace:
                if (java_ && afterNew_) {
                    remember();
                    headOpenBrace(token);
                    return;
                }
                ++head.braces;
                break;
            case Punct::CloseBrace:
                if (head.braces == 0) {
                    closeBrace(token);  // what the group holds is broken: end the scope
                    return;
                }
                --head.braces;
                break;
            case Punct::Semicolon:
                if (head.braces == 0) {
                    head = Head{};  // a group does not hold ';': start again after it
                    return;
                }
                break;
            default:
                break;
        }
        remember();
        return;
    }

    // The C++ operator's name runs up to the '(' of its parameters.
    if (head.operatorName && punct != Punct::Semicolon && punct != Punct::OpenBrace &&
        punct != Punct::CloseBrace &&
        !(punct == Punct::OpenParen && (head.operatorSymbol || head.operatorCall))) {
        if (punct == Punct::OpenParen) {
            head.operatorCall = true;  // operator()
        } else if (head.operatorCall && punct == Punct::CloseParen) {
            head.operatorCall = false;
            head.operatorSymbol = true;
        } else {
            head.operatorSymbol = true;
        }
        head.runEnd = token.end;
        head.run = true;
        head.runAfterScope = false;
        remember();
        return;
    }

    const bool inAngles = head.run && head.runAngles > 0;
    if (token.kind == TokenKind::Word) {
        headWord(head, token, keyword);
        remember();
        return;
    }
    if (token.kind == TokenKind::Number) {
        if (inAngles) {
            head.runEnd = token.end;
        } else {
            head.run = false;
        }
        remember();
        return;
    }
    switch (punct) {
        case Punct::OpenParen:
            if (inAngles) {
                ++head.runParens;
                head.runEnd = token.end;
                break;
            }
            head.groupNamed = head.run && !head.runAfterScope && !head.runAnnotation;
            head.groupNameBegin = head.runBegin;
            head.groupNameEnd = head.runEnd;
            head.groupKeyword = head.runKeyword;
            head.wordsBeforeGroup = head.wordsSinceGroup;
            head.run = false;
            head.operatorName = false;
            head.parens = 1;
            break;
        case Punct::CloseParen:
            if (inAngles && head.runParens > 0) {
                --head.runParens;
                head.runEnd = token.end;
            } else {
                head.run = false;
            }
            break;
        case Punct::Less:
            if (head.run && !head.runAfterScope && head.runParens == 0 &&
                (head.lastKind == TokenKind::Word || inAngles)) {
                ++head.runAngles;
                head.runEnd = token.end;
            } else if (inAngles) {
                head.runEnd = token.end;
            } else {
                head.run = false;
            }
            break;
        case Punct::Greater:
            if (inAngles) {
                if (head.runParens == 0) {
                    --head.runAngles;
                }
                head.runEnd = token.end;
            } else {
                head.run = false;
            }
            break;
        case Punct::Scope:
        case Punct::Tilde:
        case Punct::Dot:
            if (inAngles) {
                head.runEnd = token.end;
            } else if (head.run && (punct != Punct::Tilde || head.runAfterScope)) {
                head.runEnd = token.end;
                head.runAfterScope = true;
            } else if (punct != Punct::Dot) {
                head.run = true;
                head.runBegin = token.begin;
                head.runEnd = token.end;
                head.runAngles = 0;
                head.runParens = 0;
                head.runAfterScope = true;
                head.runKeyword = Keyword::None;
            } else {
                head.run = false;
            }
            break;
        case Punct::Comma:
            if (inAngles) {
                head.runEnd = token.end;
            } else if (top().enumConstants) {
                head = Head{};  // the next constant
                return;
            } else {
                head.run = false;
            }
            break;
        case Punct::Assign:
            if (inAngles) {
                head.runEnd = token.end;
            } else {
                head.assigned = true;
                head.candidate = false;
                head.run = false;
                head.wordsSinceAssign = 0;
                head.firstWordAfterAssign = kNoPosition;
            }
            break;
        case Punct::Colon:
            if (inAngles) {
                head.runEnd = token.end;
                break;
            }
            if (head.lastKind == TokenKind::Word && head.lastKeyword == Keyword::Access) {
                head = Head{};  // "public:"
                return;
            }
            if (head.classKey && !head.classNameFrozen) {
                head.classNameFrozen = true;  // a base clause follows
            } else if (head.candidate && !head.initList) {
                head.initList = true;
                head.initListStart = token.end;
            }
            head.run = false;
            break;
        case Punct::Arrow:
            head.arrow = true;
            head.run = false;
            break;
        case Punct::Semicolon: {
            // In C, words after a function's parameter list and before a ';' declare its
            // parameters the old way; so do further declarations without groups or '='.
            const bool oldStyle =
                language_ == CodeLanguage::C && scopes_.size() == 1 && !head.assigned &&
                !head.classKey &&
                ((head.candidate && !head.initList && !head.arrow && head.wordsSinceGroup >= 2) ||
                 (head.oldStyle && !head.candidate && head.lastGroupNameBegin == kNoPosition));
            Head next;
            if (oldStyle) {
                next.oldStyle = true;
                const bool carried = !head.candidate;
                next.oldStyleStart = carried ? head.oldStyleStart : head.start;
                next.oldStyleNameBegin = carried ? head.oldStyleNameBegin : head.nameBegin;
                next.oldStyleNameEnd = carried ? head.oldStyleNameEnd : head.nameEnd;
            }
            head = next;
            top().enumConstants = false;
            return;
        }
        case Punct::OpenBrace:
            if (inAngles) {
                head.run = false;
                head.runAngles = 0;
            }
            headOpenBrace(token);
            return;
        case Punct::CloseBrace:
            closeBrace(token);
            return;
        default:
            if (inAngles) {
                head.runEnd = token.end;
            } else {
                head.run = false;
            }
            break;
    }
    remember();
}

void FunctionFinder::headWord(Head& head, const CodeToken& token, Keyword keyword) {
    const bool inAngles = head.run && head.runAngles > 0;
    if (!inAngles) {
        if (keyword == Keyword::ClassKey || keyword == Keyword::Enum) {
            head.classKey = true;
            head.enumKey = head.enumKey || keyword == Keyword::Enum;
            head.candidate = false;  // a group before it belongs to something else
            if (java_) {
                head.classNameBegin = kNoPosition;
            }
        } else if (java_ && head.lastKind == TokenKind::Word &&
                   head.lastKeyword == Keyword::Record && keyword == Keyword::None) {
            head.classKey = true;  // "record Point(...)"
            head.candidate = false;
        } else if (keyword == Keyword::Namespace) {
            head.namespaceKey = true;
        } else if (keyword == Keyword::Extern) {
            head.externKey = true;
        }
        // A class's name: in Java the word after its key; in C++ the last plain word before its
        // base clause or body, past attributes and macros.
        if (head.classKey && !head.classNameFrozen &&
            (keyword == Keyword::None || keyword == Keyword::Access)) {
            head.classNameBegin = token.begin;
            head.classNameEnd = token.end;
            head.classNameFrozen = java_;
        }
        if (keyword != Keyword::Trailing) {
            ++head.wordsSinceGroup;
            if (head.firstWordAfterGroup == kNoPosition) {
                head.firstWordAfterGroup = token.begin;
            }
            ++head.wordsSinceAssign;
            if (head.firstWordAfterAssign == kNoPosition) {
                head.firstWordAfterAssign = token.begin;
            }
        }
    }
    if (head.run && (head.runAfterScope || inAngles)) {
        head.runEnd = token.end;
    } else {
        head.run = true;
        head.runBegin = token.begin;
        head.runEnd = token.end;
        head.runAngles = 0;
        head.runParens = 0;
        head.runAnnotation = java_ && head.lastKind == TokenKind::Punct &&
                             head.lastEnd == head.lastBegin + 1 && chars_[head.lastBegin] == u'@';
    }
    if (!inAngles) {
        head.runAfterScope = false;
        head.runKeyword = keyword;
        if (keyword == Keyword::Operator) {
            head.operatorName = true;
            head.operatorSymbol = false;
            head.operatorCall = false;
        }
    }
}

void FunctionFinder::headGroupClosed(Head& head) {
    if (head.groupNamed) {
        head.lastGroupNameBegin = head.groupNameBegin;
        head.lastGroupNameEnd = head.groupNameEnd;
    } else {
        head.lastGroupNameBegin = kNoPosition;
    }
    // An initialiser ends in a ';', but one that a macro closes has none: three words after
    // its last '=' and then a group ("MACHINE_END static void f(") begin a declaration.
    if (head.assigned && head.wordsSinceAssign >= 3 && !java_) {
        head.assigned = false;
        head.start = head.firstWordAfterAssign;
    }
    // In Java a group after a class key is a record's header.
    if (head.groupNamed && canNameFunction(head.groupKeyword) && !head.assigned &&
        !(java_ && (afterNewGroup_ || head.classKey))) {
        if (!head.candidate) {
            head.candidate = true;
            head.nameBegin = head.groupNameBegin;
            head.nameEnd = head.groupNameEnd;
        } else if (!head.initList && !head.arrow && head.wordsBeforeGroup >= 2) {
            // The group before was a macro or attribute before the declaration: "FOO(x) int f(".
            head.candidate = true;
            head.nameBegin = head.groupNameBegin;
            head.nameEnd = head.groupNameEnd;
            if (head.firstWordAfterGroup != kNoPosition) {
                head.start = head.firstWordAfterGroup;
            }
        }
    }
    head.wordsSinceGroup = 0;
    head.firstWordAfterGroup = kNoPosition;
}

void FunctionFinder::headOpenBrace(const CodeToken& token) {
    Scope& scope = top();
    Head head = scope.head;
    if (java_ && afterNew_) {
        openClass(u"new " + nameText(chars_, lastNewBegin_, lastNewEnd_, kNameLimit), false);
        return;
    }
    if (scopes_.size() >= kMaxScopes) {
        ++scope.head.braces;
        return;
    }
    if (head.parens > 0 || head.braces > 0 ||
        (head.initList && (head.lastKind == TokenKind::Word || head.lastPunct == Punct::Greater))) {
        ++scope.head.braces;  // braces inside a group, or a member's initialiser
        return;
    }
    if (java_ && scope.enumConstants) {
        // A constant with a class body of its own.
        const bool afterGroup =
            head.lastPunct == Punct::CloseParen && head.lastGroupNameBegin != kNoPosition;
        const std::uint32_t begin = afterGroup ? head.lastGroupNameBegin : head.lastBegin;
        const std::uint32_t end = afterGroup ? head.lastGroupNameEnd : head.lastEnd;
        openClass(nameText(chars_, begin, end, kNameLimit), false);
        return;
    }
    scope.head = Head{};
    if (head.candidate) {
        openFunction(head, head.nameBegin, head.nameEnd, token.begin);
        return;
    }
    if (head.oldStyle && head.start == token.begin) {
        Head definition = head;
        definition.start = head.oldStyleStart;
        openFunction(definition, head.oldStyleNameBegin, head.oldStyleNameEnd, token.begin);
        return;
    }
    // A Java record's compact constructor: "Point {".
    if (java_ && scope.kind == ScopeKind::Class && !head.assigned && !head.classKey &&
        head.lastKind == TokenKind::Word && !scope.name.empty() &&
        textOf(head.lastBegin, head.lastEnd) == scope.name) {
        openFunction(head, head.lastBegin, head.lastEnd, token.begin);
        return;
    }
    if (head.classKey) {
        std::u16string name;
        if (head.classNameBegin != kNoPosition) {
            name = nameText(chars_, head.classNameBegin, head.classNameEnd, kNameLimit);
        }
        openClass(std::move(name), java_ && head.enumKey);
        return;
    }
    if (head.namespaceKey || head.externKey) {
        openScope(ScopeKind::Namespace, -1);
        return;
    }
    openScope(ScopeKind::Other, -1);
}

void FunctionFinder::openFunction(const Head& head, std::uint32_t nameBegin, std::uint32_t nameEnd,
                                  std::uint32_t brace) {
    Found found;
    found.function.name = qualifier() + nameText(chars_, nameBegin, nameEnd, kNameLimit);
    found.function.line = lineOf(nameBegin);
    found.function.firstLine = lineOf(head.start < nameBegin ? head.start : nameBegin);
    found.namePosition = nameBegin;
    const auto function = static_cast<std::int32_t>(found_.size());
    found_.push_back(std::move(found));
    openScope(ScopeKind::Body, function);
    decisions_.restart();
    if (head.initList) {
        // The member initialisers run as part of the constructor.
        DecisionPoints initialisers(java_);
        CodeTokenizer tokens(chars_, head.initListStart, brace);
        for (CodeToken token = tokens.next(); token.kind != TokenKind::End; token = tokens.next()) {
            const Keyword keyword = token.kind == TokenKind::Word
                                        ? keywordOf(textOf(token.begin, token.end), language_)
                                        : Keyword::None;
            std::uint32_t points[2];
            const int count = initialisers.take(token, keyword, points);
            for (int i = 0; i < count; ++i) {
                addDecision(points[i], function);
            }
        }
    }
}

void FunctionFinder::openClass(std::u16string name, bool enumConstants) {
    const std::u16string& outer = qualifier();
    std::u16string qualified = outer;
    if (!name.empty() && outer.size() + name.size() + 2 <= kNameLimit) {
        qualified += name;
        qualified += java_ ? u"." : u"::";
    }
    openScope(ScopeKind::Class, -1);
    top().qualifier = std::move(qualified);
    top().qualifierScope = scopes_.size() - 1;
    top().name = std::move(name);
    top().enumConstants = enumConstants;
}

void FunctionFinder::openScope(ScopeKind kind, std::int32_t function) {
    Scope scope;
    scope.kind = kind;
    scope.function = function;
    scope.qualifierScope = top().qualifierScope;
    scopes_.push_back(std::move(scope));
    ++depth_;
}

void FunctionFinder::bodyToken(const CodeToken& token, Keyword keyword) {
    std::uint32_t points[2];
    const int count = decisions_.take(token, keyword, points);
    for (int i = 0; i < count; ++i) {
        addDecision(points[i], top().function);
    }
    const Punct punct = token.kind == TokenKind::Punct ? token.punct : Punct::None;
    if (java_ && token.kind == TokenKind::Word) {
        // A class declared in code: "class Local {", "enum E {", "record R(...) {".
        if (localNameExpected_ && keyword == Keyword::None) {
            localNameBegin_ = token.begin;
            localNameEnd_ = token.end;
            localNameExpected_ = false;
        } else if ((keyword == Keyword::ClassKey || keyword == Keyword::Enum) &&
                   bodyLastPunct_ != Punct::Dot) {
            localClass_ = true;
            localEnum_ = keyword == Keyword::Enum;
            localNameExpected_ = true;
            localNameBegin_ = kNoPosition;
        } else if (bodyLastKeyword_ == Keyword::Record && keyword == Keyword::None &&
                   bodyLastPunct_ == Punct::None) {
            localClass_ = true;
            localEnum_ = false;
            localNameBegin_ = token.begin;
            localNameEnd_ = token.end;
        }
    }
    bodyLastKeyword_ = token.kind == TokenKind::Word ? keyword : Keyword::None;
    bodyLastPunct_ = punct;
    switch (punct) {
        case Punct::OpenBrace:
            if (java_ && afterNew_ && scopes_.size() < kMaxScopes) {
                openClass(u"new " + nameText(chars_, lastNewBegin_, lastNewEnd_, kNameLimit),
                          false);
            } else if (java_ && localClass_ && localNameBegin_ != kNoPosition &&
                       scopes_.size() < kMaxScopes) {
                openClass(nameText(chars_, localNameBegin_, localNameEnd_, kNameLimit), localEnum_);
            } else {
                ++top().blocks;
                ++depth_;
            }
            localClass_ = false;
            localNameExpected_ = false;
            break;
        case Punct::CloseBrace:
            closeBrace(token);
            break;
        case Punct::Semicolon:
            localClass_ = false;
            localNameExpected_ = false;
            break;
        default:
            break;
    }
}

void FunctionFinder::addDecision(std::uint32_t position, std::int32_t function) {
    if (function < 0) {
        return;
    }
    ++found_[static_cast<std::size_t>(function)].function.complexity;
    if (watching_) {
        notes_.emplace_back(position, function);
    }
}

void FunctionFinder::closeBrace(const CodeToken& token) {
    if (depth_ == 0) {
        top().head = Head{};  // a brace that closes nothing
        return;
    }
    const bool kept =
        !conditionals_.empty() && untracked_ == 0 && depth_ <= conditionals_.back().depthAtIf;
    if (!kept && top().blocks > 0) {
        --top().blocks;  // most braces close a plain block: nothing to put aside
        --depth_;
        return;
    }
    Scope level = popLevel(token.begin);
    if (kept) {
        conditionals_.back().closedInBranch.push_back(std::move(level));
    }
}

Scope FunctionFinder::popLevel(std::uint32_t closeAt) {
    Scope& innermost = top();
    if (innermost.blocks > 0) {
        --innermost.blocks;
        --depth_;
        Scope block;
        block.kind = ScopeKind::Block;
        return block;
    }
    Scope level = std::move(innermost);
    scopes_.pop_back();
    --depth_;
    if (level.kind == ScopeKind::Body && closeAt != kNoPosition) {
        Found& found = found_[static_cast<std::size_t>(level.function)];
        found.function.lastLine = lineOf(closeAt);
        found.closed = true;
    }
    Head& outer = top().head;
    if (outer.parens == 0 && outer.braces == 0) {
        outer = Head{};
    }
    return level;
}

void FunctionFinder::pushLevel(Scope level) {
    if (level.kind == ScopeKind::Block) {
        if (holdsDeclarations(top())) {
            openScope(ScopeKind::Other, -1);
        } else {
            ++top().blocks;
            ++depth_;
        }
        return;
    }
    scopes_.push_back(std::move(level));
    ++depth_;
}

void FunctionFinder::directivesBefore(std::uint32_t position) {
    const std::vector<ConditionalDirective>& directives = text_.conditionals;
    while (nextDirective_ < directives.size() && directives[nextDirective_].position < position) {
        switch (directives[nextDirective_].kind) {
            case ConditionalDirective::Kind::If:
                onIf();
                break;
            case ConditionalDirective::Kind::Elif:
            case ConditionalDirective::Kind::Else:
                onElse();
                break;
            case ConditionalDirective::Kind::Endif:
                onEndif();
                break;
        }
        ++nextDirective_;
    }
}

void FunctionFinder::onIf() {
    if (untracked_ > 0 || conditionals_.size() >= kMaxConditionals) {
        ++untracked_;
        return;
    }
    Conditional conditional;
    conditional.depthAtIf = depth_;
    conditional.headAtIfKept = holdsDeclarations(top());
    conditional.headAtIf = top().head;
    conditionals_.push_back(std::move(conditional));
}

void FunctionFinder::onElse() {
    if (untracked_ > 0 || conditionals_.empty()) {
        return;
    }
    Conditional& conditional = conditionals_.back();
    const bool first = conditional.depthAfterFirst < 0;
    if (first) {
        conditional.depthAfterFirst = static_cast<std::ptrdiff_t>(depth_);
        conditional.headAfterFirst = top().head;
    }
    backToIf(conditional, first);
    if (conditional.headAtIfKept && depth_ == conditional.depthAtIf && holdsDeclarations(top())) {
        top().head = conditional.headAtIf;
    }
}

void FunctionFinder::onEndif() {
    if (untracked_ > 0) {
        --untracked_;
        return;
    }
    if (conditionals_.empty()) {
        return;
    }
    Conditional conditional = std::move(conditionals_.back());
    conditionals_.pop_back();
    if (conditional.depthAfterFirst < 0) {
        return;  // one branch only: read as it is
    }
    // The nesting the first branch left decides how the braces after the #endif pair up.
    backToIf(conditional, false);
    while (!conditional.openedInFirst.empty()) {
        pushLevel(std::move(conditional.openedInFirst.back()));
        conditional.openedInFirst.pop_back();
    }
    while (depth_ > static_cast<std::size_t>(conditional.depthAfterFirst)) {
        popLevel(kNoPosition);
    }
    if (conditional.headAtIfKept && depth_ == conditional.depthAtIf &&
        static_cast<std::size_t>(conditional.depthAfterFirst) == conditional.depthAtIf &&
        holdsDeclarations(top())) {
        top().head = conditional.headAfterFirst;
    }
}

void FunctionFinder::backToIf(Conditional& conditional, bool firstBranch) {
    while (depth_ > conditional.depthAtIf) {
        Scope level = popLevel(kNoPosition);
        if (firstBranch) {
            conditional.openedInFirst.push_back(std::move(level));
        } else if (level.kind == ScopeKind::Body) {
            // A function this branch began and did not end: the first branch's stands.
            found_[static_cast<std::size_t>(level.function)].dropped = true;
        }
    }
    while (depth_ < conditional.depthAtIf && !conditional.closedInBranch.empty()) {
        pushLevel(std::move(conditional.closedInBranch.back()));
        conditional.closedInBranch.pop_back();
    }
    conditional.closedInBranch.clear();
}

}  // namespace

std::vector<FunctionComplexity> findFunctions(const SourceText& text, CodeLanguage language) {
    return FunctionFinder(text, language).run();
}

}  // namespace tw
