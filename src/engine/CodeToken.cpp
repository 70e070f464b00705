#include "engine/CodeToken.h"

#include <array>
#include <vector>

namespace tw {

namespace {

Punct punctOf(char16_t c) {
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

bool isSpaceUnit(char16_t unit) {
    return unit <= u' ' || unit == 0x7F;
}

}  // namespace

CodeToken CodeTokenizer::next() {
    std::size_t i = position_;
    while (i < end_ && isSpaceUnit(text_[i])) {
        ++i;
    }
    CodeToken token;
    token.begin = static_cast<std::uint32_t>(i);
    if (i >= end_) {
        position_ = end_;
        token.end = token.begin;
        return token;
    }
    const char16_t c = text_[i];
    if (isWordUnit(c)) {
        token.kind = c >= u'0' && c <= u'9' ? TokenKind::Number : TokenKind::Word;
        ++i;
        while (i < end_ && isWordUnit(text_[i])) {
            ++i;
        }
    } else {
        token.kind = TokenKind::Punct;
        token.punct = punctOf(c);
        ++i;
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

Keyword keywordOf(std::u16string_view word, CodeLanguage language) {
    // Where a word means what the entry says: in all three languages, in C and C++, in C++
    // alone, in Java alone, or in C++ and Java.
    enum Language : std::uint8_t { All, Cpp, CppOnly, Java, CppJava };
    struct Entry {
        std::u16string_view word;
        Keyword keyword;
        Language language;
    };
    static constexpr std::array kEntries = {
        Entry{u"if", Keyword::If, All},
        Entry{u"for", Keyword::For, All},
        Entry{u"while", Keyword::While, All},
        Entry{u"case", Keyword::Case, All},
        Entry{u"catch", Keyword::Catch, CppJava},
        Entry{u"and", Keyword::And, CppOnly},
        Entry{u"or", Keyword::Or, CppOnly},
        Entry{u"struct", Keyword::ClassKey, Cpp},
        Entry{u"union", Keyword::ClassKey, Cpp},
        Entry{u"class", Keyword::ClassKey, CppJava},
        Entry{u"interface", Keyword::ClassKey, Java},
        Entry{u"enum", Keyword::Enum, All},
        Entry{u"record", Keyword::Record, Java},
        Entry{u"namespace", Keyword::Namespace, CppOnly},
        Entry{u"extern", Keyword::Extern, Cpp},
        Entry{u"operator", Keyword::Operator, CppOnly},
        Entry{u"new", Keyword::New, Java},
        Entry{u"public", Keyword::Access, CppOnly},
        Entry{u"private", Keyword::Access, CppOnly},
        Entry{u"protected", Keyword::Access, CppOnly},
        Entry{u"signals", Keyword::Access, CppOnly},
        Entry{u"slots", Keyword::Access, CppOnly},
        Entry{u"Q_SIGNALS", Keyword::Access, CppOnly},
        Entry{u"Q_SLOTS", Keyword::Access, CppOnly},
        Entry{u"const", Keyword::Trailing, Cpp},
        Entry{u"volatile", Keyword::Trailing, Cpp},
        Entry{u"override", Keyword::Trailing, CppOnly},
        Entry{u"final", Keyword::Trailing, CppJava},
        Entry{u"auto", Keyword::Auto, Cpp},
        Entry{u"switch", Keyword::Reserved, All},
        Entry{u"return", Keyword::Reserved, All},
        Entry{u"else", Keyword::Reserved, All},
        Entry{u"do", Keyword::Reserved, All},
        Entry{u"goto", Keyword::Reserved, Cpp},
        Entry{u"throw", Keyword::Reserved, CppJava},
        Entry{u"throws", Keyword::Reserved, Java},
        Entry{u"new", Keyword::Reserved, CppOnly},
        Entry{u"delete", Keyword::Reserved, CppOnly},
        Entry{u"sizeof", Keyword::Reserved, Cpp},
        Entry{u"alignof", Keyword::Reserved, Cpp},
        Entry{u"_Alignof", Keyword::Reserved, Cpp},
        Entry{u"__alignof__", Keyword::Reserved, Cpp},
        Entry{u"alignas", Keyword::Reserved, CppOnly},
        Entry{u"_Alignas", Keyword::Reserved, Cpp},
        Entry{u"decltype", Keyword::Reserved, CppOnly},
        Entry{u"typeof", Keyword::Reserved, Cpp},
        Entry{u"__typeof__", Keyword::Reserved, Cpp},
        Entry{u"__typeof", Keyword::Reserved, Cpp},
        Entry{u"typeid", Keyword::Reserved, CppOnly},
        Entry{u"__attribute__", Keyword::Reserved, Cpp},
        Entry{u"__attribute", Keyword::Reserved, Cpp},
        Entry{u"__declspec", Keyword::Reserved, Cpp},
        Entry{u"static_assert", Keyword::Reserved, Cpp},
        Entry{u"_Static_assert", Keyword::Reserved, Cpp},
        Entry{u"noexcept", Keyword::Reserved, CppOnly},
        Entry{u"requires", Keyword::Reserved, CppOnly},
        Entry{u"asm", Keyword::Reserved, Cpp},
        Entry{u"__asm__", Keyword::Reserved, Cpp},
        Entry{u"__asm", Keyword::Reserved, Cpp},
        Entry{u"_Pragma", Keyword::Reserved, Cpp},
        Entry{u"__pragma", Keyword::Reserved, Cpp},
        Entry{u"template", Keyword::Reserved, CppOnly},
        Entry{u"typedef", Keyword::Reserved, Cpp},
        Entry{u"using", Keyword::Reserved, CppOnly},
        Entry{u"void", Keyword::Reserved, All},
        Entry{u"char", Keyword::Reserved, All},
        Entry{u"short", Keyword::Reserved, All},
        Entry{u"int", Keyword::Reserved, All},
        Entry{u"long", Keyword::Reserved, All},
        Entry{u"float", Keyword::Reserved, All},
        Entry{u"double", Keyword::Reserved, All},
        Entry{u"signed", Keyword::Reserved, Cpp},
        Entry{u"unsigned", Keyword::Reserved, Cpp},
        Entry{u"bool", Keyword::Reserved, CppOnly},
        Entry{u"_Bool", Keyword::Reserved, Cpp},
        Entry{u"boolean", Keyword::Reserved, Java},
        Entry{u"byte", Keyword::Reserved, Java},
        Entry{u"static", Keyword::Reserved, All},
        Entry{u"inline", Keyword::Reserved, Cpp},
        Entry{u"register", Keyword::Reserved, Cpp},
        Entry{u"synchronized", Keyword::Reserved, Java},
        Entry{u"super", Keyword::Reserved, Java},
        Entry{u"this", Keyword::Reserved, Java},
        Entry{u"assert", Keyword::Reserved, Java},
    };
    // The entries by length, so that a word is compared with a handful of them at most.
    constexpr std::size_t kLongest = 14;
    static const auto byLength = [] {
        std::array<std::vector<const Entry*>, kLongest + 1> table;
        for (const Entry& entry : kEntries) {
            table[entry.word.size()].push_back(&entry);
        }
        return table;
    }();
    if (word.size() > kLongest) {
        return Keyword::None;
    }
    const auto applies = [language](Language where) {
        switch (where) {
            case All:
                return true;
            case Cpp:
                return language != CodeLanguage::Java;
            case CppOnly:
                return language == CodeLanguage::Cpp;
            case Java:
                return language == CodeLanguage::Java;
            case CppJava:
                return language != CodeLanguage::C;
        }
        return false;
    };
    for (const Entry* entry : byLength[word.size()]) {
        if (entry->word[0] == word[0] && entry->word == word && applies(entry->language)) {
            return entry->keyword;
        }
    }
    return Keyword::None;
}

}  // namespace tw
