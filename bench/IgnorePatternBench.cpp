// Ignore and exclude patterns that make a backtracking matcher take exponential time: a name of
// 60 'a's against "*a*a...*ab" with k stars. Each must take time in proportion to the lengths.
#include <benchmark/benchmark.h>

#include <string>

#include "project/ExcludePatterns.h"
#include "project/GitIgnoreList.h"

namespace {

std::string starsPattern(int stars) {
    std::string pattern;
    for (int i = 0; i < stars; ++i) {
        pattern += "*a";
    }
    return pattern + "b";
}

const std::string kName(60, 'a');

void GitIgnoreStars(benchmark::State& state) {
    const tw::GitIgnoreList rules(starsPattern(static_cast<int>(state.range(0))) + "\n", "");
    for (auto _ : state) {
        benchmark::DoNotOptimize(rules.verdict("src/" + kName, false));
    }
}
BENCHMARK(GitIgnoreStars)->DenseRange(8, 12)->Arg(30)->Unit(benchmark::kMicrosecond);

void ExcludeStars(benchmark::State& state) {
    const tw::ExcludePatterns patterns({starsPattern(static_cast<int>(state.range(0)))});
    for (auto _ : state) {
        benchmark::DoNotOptimize(patterns.matches("src/" + kName, false));
    }
}
BENCHMARK(ExcludeStars)->DenseRange(8, 12)->Arg(30)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
