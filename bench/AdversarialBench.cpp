// Time to count each hostile input of the tests (huge lines, deep nesting, unclosed comments,
// binary junk, ...) in every mode: the bound the adversarial tests rely on, recorded here
// rather than asserted there.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/TextConversion.h"
#include "support/AdversarialInputs.h"

namespace {

void countInput(benchmark::State& state, std::string path, tw::CountMode mode) {
    tw::countSettings().mode = mode;
    tw::FileCount record(tw::utf16FromUtf8(path), path);
    bool ok = true;
    for (auto _ : state) {
        ok = record.count();
        benchmark::DoNotOptimize(record.code);
    }
    state.SetLabel(ok ? "counted" : tw::utf8FromUtf16(record.remarks).substr(0, 60));
    state.SetBytesProcessed(static_cast<std::int64_t>(record.sizeBytes) *
                            static_cast<std::int64_t>(state.iterations()));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string directory = "/tmp/tallyweaver-adversarial-" + std::to_string(getpid());
    std::string command = "mkdir -p " + directory;
    if (std::system(command.c_str()) != 0) {
        return 1;
    }
    std::vector<std::string> written;
    for (const auto& input : tw::test::adversarialInputs()) {
        const std::string path = directory + "/" + input.name;
        std::ofstream(path, std::ios::binary) << input.bytes;
        written.push_back(path);
        for (const auto& [letter, mode] :
             {std::pair{"p", tw::CountMode::Physical}, std::pair{"t", tw::CountMode::TerminatingCharacters},
              std::pair{"e", tw::CountMode::Executable}}) {
            benchmark::RegisterBenchmark((input.name + "/" + letter).c_str(), countInput, path,
                                         mode)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (const std::string& path : written) {
        std::remove(path.c_str());
    }
    ::rmdir(directory.c_str());
    return 0;
}
