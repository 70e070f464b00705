#include "engine/CountColumns.h"

#include "engine/FileCount.h"

namespace tw {

const std::array<CountColumnInfo, kCountColumnCount> kCountColumns = {{
    {CountColumn::Code, &FileCount::code, CountSum::Counter, u"", u"", u"", "code", false, true},
    {CountColumn::Declaration, &FileCount::declaration, CountSum::Counter, u"Declaration",
     u"Declaration", u"Declarations:\t\t", "declaration", true, true},
    {CountColumn::Directive, &FileCount::directive, CountSum::Counter, u"Directive",
     u"Compiler Directive", u"Compiler Directives:\t", "directive", true, true},
    {CountColumn::CommentOwnLine, &FileCount::commentOwnLine, CountSum::Counter,
     u"Comment/Own Line", u"Comment/Own Line", u"Comment/Own Line:\t", "commentOwnLine", false,
     true},
    {CountColumn::CommentCodeLine, &FileCount::commentCodeLine, CountSum::Counter,
     u"Comment/Code Line", u"Comment/Code Line", u"Comment/Code Line:\t", "commentCodeLine", false,
     true},
    {CountColumn::CommentBanner, &FileCount::commentBanner, CountSum::Counter, u"Comment/Banner",
     u"Comment/Banner", u"Comment/Banner:\t\t", "commentBanner", false, true},
    {CountColumn::CommentBlank, &FileCount::commentBlank, CountSum::Counter, u"Comment/Blank",
     u"Comment/Blank", u"Comment/Blank:\t\t", "commentBlank", false, true},
    {CountColumn::TotalComment, nullptr, CountSum::TotalComment, u"(Total Comment)",
     u"(Total Comment)", u"(Total Comment):\t", "totalComment", false, true},
    {CountColumn::Blank, &FileCount::blank, CountSum::Counter, u"Blank", u"Blank", u"Blank:\t\t\t",
     "blank", false, true},
    {CountColumn::Total, nullptr, CountSum::Total, u"(Total)", u"(Total)", u"(Total):\t\t", "total",
     false, false},
    {CountColumn::CommentWords, &FileCount::commentWords, CountSum::Counter, u"Comment Words",
     u"Comment Words", u"Comment Words:\t\t", "commentWords", false, false},
}};

const std::array<std::uint32_t FileCount::*, 9> kStoredCounters = {
    &FileCount::code,           &FileCount::declaration,     &FileCount::directive,
    &FileCount::commentOwnLine, &FileCount::commentCodeLine, &FileCount::commentBanner,
    &FileCount::commentBlank,   &FileCount::commentWords,    &FileCount::blank,
};

const CountColumnInfo& countColumnInfo(CountColumn column) {
    return kCountColumns[static_cast<std::size_t>(column)];
}

CountValues CountValues::of(const FileCount& record) {
    CountValues values;
    for (std::size_t i = 0; i < kCountColumnCount; ++i) {
        if (kCountColumns[i].counter != nullptr) {
            values.counters_[i] = record.*kCountColumns[i].counter;
        }
    }
    return values;
}

CountValues& CountValues::operator+=(const CountValues& other) {
    for (std::size_t i = 0; i < kCountColumnCount; ++i) {
        counters_[i] += other.counters_[i];
    }
    return *this;
}

std::uint32_t CountValues::operator[](CountColumn column) const {
    const auto at = [this](CountColumn c) { return counters_[static_cast<std::size_t>(c)]; };
    switch (countColumnInfo(column).sum) {
        case CountSum::Counter:
            return at(column);
        case CountSum::TotalComment:
            return at(CountColumn::CommentOwnLine) + at(CountColumn::CommentCodeLine) +
                   at(CountColumn::CommentBanner) + at(CountColumn::CommentBlank);
        case CountSum::Total:
            return at(CountColumn::Code) + at(CountColumn::Declaration) +
                   at(CountColumn::Directive) + (*this)[CountColumn::TotalComment] +
                   at(CountColumn::Blank);
    }
    return 0;
}

}  // namespace tw
