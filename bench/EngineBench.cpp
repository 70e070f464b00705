// Throughput of counting one file: generated C++ and Java text counted by FileCount::count()
// from a file in the page cache, for each mode and for two sizes (1 MiB and 16 MiB) so that
// growth shows whether the cost is linear.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cstdio>
#include <fstream>
#include <string>

#include "SourceGenerator.h"
#include "engine/CountSettings.h"
#include "engine/FileCount.h"

namespace {

using tw::bench::GeneratedLanguage;

/// Writes a generated file once per language and size; removed at exit.
std::string generatedFile(GeneratedLanguage language, std::size_t bytes) {
    const char* extension = language == GeneratedLanguage::Java ? ".java" : ".cpp";
    std::string path = "/tmp/tallyweaver-bench-" + std::to_string(getpid()) + "-" +
                       std::to_string(static_cast<int>(language)) + "-" + std::to_string(bytes) +
                       extension;
    std::ifstream existing(path);
    if (!existing) {
        std::ofstream out(path, std::ios::binary);
        out << tw::bench::generateSource(language, bytes, 42);
        static std::vector<std::string> written;
        written.push_back(path);
        static const bool cleanup = [] {
            std::atexit([] {
                for (const std::string& file : written) {
                    std::remove(file.c_str());
                }
            });
            return true;
        }();
        (void)cleanup;
    }
    return path;
}

void countFile(benchmark::State& state, GeneratedLanguage language, tw::CountMode mode) {
    const auto bytes = static_cast<std::size_t>(state.range(0)) * 1024 * 1024;
    const std::string path = generatedFile(language, bytes);
    tw::CountSettings settings;
    settings.mode = mode;
    tw::FileCount record(u"bench", path);
    std::size_t processed = 0;
    for (auto _ : state) {
        if (!record.count(settings)) {
            state.SkipWithError("the generated file failed to count");
            break;
        }
        processed += record.sizeBytes;
        benchmark::DoNotOptimize(record.code);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(processed));
    state.counters["lines"] = benchmark::Counter(
        static_cast<double>(record.total()) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

#define TW_COUNT_BENCH(name, language, mode) \
    void name(benchmark::State& state) {     \
        countFile(state, language, mode);    \
    }                                        \
    BENCHMARK(name)->Arg(1)->Arg(16)->Unit(benchmark::kMillisecond)->UseRealTime()

TW_COUNT_BENCH(PhysicalCpp, GeneratedLanguage::Cpp, tw::CountMode::Physical);
TW_COUNT_BENCH(PhysicalJava, GeneratedLanguage::Java, tw::CountMode::Physical);
TW_COUNT_BENCH(TerminatingCpp, GeneratedLanguage::Cpp, tw::CountMode::TerminatingCharacters);
TW_COUNT_BENCH(TerminatingJava, GeneratedLanguage::Java, tw::CountMode::TerminatingCharacters);
TW_COUNT_BENCH(ExecutableCpp, GeneratedLanguage::Cpp, tw::CountMode::Executable);
TW_COUNT_BENCH(ExecutableJava, GeneratedLanguage::Java, tw::CountMode::Executable);
TW_COUNT_BENCH(ComplexityCpp, GeneratedLanguage::Cpp, tw::CountMode::CyclomaticComplexity);
TW_COUNT_BENCH(ComplexityJava, GeneratedLanguage::Java, tw::CountMode::CyclomaticComplexity);

}  // namespace

BENCHMARK_MAIN();
