#include "engine/CodeToken.h"

#include <array>

namespace tw {

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
    // A table hashed on the length and three units: most words find an empty slot at once,
    // the others compare with an entry or two.
    constexpr std::size_t kLongest = 14;
    constexpr std::size_t kSlots = 512;
    const auto hash = [](std::u16string_view w) {
        return (w.size() * 37 + static_cast<std::size_t>(w[0]) * 11 +
                static_cast<std::size_t>(w[1]) * 5 + static_cast<std::size_t>(w.back())) %
               kSlots;
    };
    struct Table {
        std::array<std::uint8_t, kSlots> first{};          ///< 1 + index of the slot's first entry
        std::array<std::uint8_t, kEntries.size()> next{};  ///< 1 + index of the next one
    };
    static const Table table = [&hash] {
        Table made;
        for (std::size_t i = kEntries.size(); i-- > 0;) {
            const std::size_t slot = hash(kEntries[i].word);
            made.next[i] = made.first[slot];
            made.first[slot] = static_cast<std::uint8_t>(i + 1);
        }
        return made;
    }();
    if (word.size() > kLongest || word.size() < 2) {
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
    for (std::size_t at = table.first[hash(word)]; at != 0; at = table.next[at - 1]) {
        const Entry& entry = kEntries[at - 1];
        if (entry.word == word && applies(entry.language)) {
            return entry.keyword;
        }
    }
    return Keyword::None;
}

}  // namespace tw
