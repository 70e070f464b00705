// What counting one large file costs in memory: a small multiple of the file's size, in every
// mode, for ordinary code and for files of nothing but line feeds.
#include <gtest/gtest.h>

#include <string>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "support/PeakMemory.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"

namespace tw {
namespace {

using test::kMiB;

/// Ordinary C++: declarations, calls, control statements, comments, strings, initialisers.
std::string ordinaryCode(std::size_t bytes) {
    const std::string piece = R"(// Keeps the totals of one module, by name.
#include <map>
#include <string>

/* The table below is filled once, at start-up,
   and read from every worker thread. */
static const int kLimits[] = {1, 2, 4, 8, 16, 32};

struct Totals {
    std::map<std::string, long> byName;
    long sum = 0;
};

int addAll(Totals& totals, const char* names[], int count) {
    int added = 0;
    for (int i = 0; i < count; ++i) {
        if (names[i] == nullptr || names[i][0] == '\0') {
            continue;  // nothing to add
        }
        totals.byName[names[i]] += kLimits[i % 6] * 2 + 1;
        totals.sum = totals.sum + (i > 3 ? i : -i);
        ++added;
    }
    printf("added %d of %d\n", added, count);
    return added;
}

)";
    std::string text;
    text.reserve(bytes + piece.size());
    while (text.size() < bytes) {
        text += piece;
    }
    return text;
}

TEST(CountMemoryTest, CountingAFileTakesASmallMultipleOfItsSize) {
    if (!test::kMemoryIsMeasurable) {
        GTEST_SKIP() << "memory is not measured under the sanitizers";
    }
    constexpr std::size_t kSize = 24 * 1024 * 1024;
    test::TempDir dir;
    const std::string code = dir.write("big.cpp", ordinaryCode(kSize));
    const std::string lineFeeds = dir.write("lines.c", std::string(kSize, '\n'));
    const auto size = static_cast<long>(kSize);
    const struct {
        const char* name;
        std::string path;
        CountMode mode;
        long bound;
    } cases[] = {
        {"ordinary code, physical", code, CountMode::Physical, 64 * kMiB + 4 * size},
        {"ordinary code, executable", code, CountMode::Executable, 64 * kMiB + 4 * size},
        {"line feeds only, physical", lineFeeds, CountMode::Physical, 8 * size},
        {"line feeds only, executable", lineFeeds, CountMode::Executable, 8 * size},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CountSettings settings = test::settingsWith(c.mode);
        const long peak = test::peakMemoryOf([&c, &settings] {
            FileCount record(u"big", c.path);
            ::_exit(record.count(settings) ? 0 : 1);
        });
        ASSERT_GT(peak, 0) << "the count failed";
        EXPECT_LT(peak, c.bound) << peak / kMiB << " MiB";
    }
}

}  // namespace
}  // namespace tw
