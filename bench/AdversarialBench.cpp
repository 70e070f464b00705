// Time to count each hostile input of the tests (huge lines, deep nesting, unclosed comments,
// binary junk, ...) in every mode: the bound the adversarial tests rely on, recorded here
// rather than asserted there. Then the inputs that once took memory out of all proportion to
// their size, each in a process of its own: its peak memory and time beside its bound.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>

#include "cli/ListFile.h"
#include "engine/CountSettings.h"
#include "engine/FileCount.h"
#include "engine/TextConversion.h"
#include "project/DirectoryWalk.h"
#include "project/ProjectFile.h"
#include "report/ReportWriter.h"
#include "support/AdversarialInputs.h"
#include "support/PeakMemory.h"

namespace {

using tw::test::kMiB;

/// One input with a memory bound: what to do with it, in a child process.
struct BoundedInput {
    std::string name;
    long sizeBytes;
    long boundBytes;
    std::function<void()> work;
};

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<BoundedInput> boundedInputs(const std::string& directory) {
    std::vector<BoundedInput> inputs;
    const std::string project = tw::test::adversarialProjectFile(8 * 1024 * 1024, true);
    inputs.push_back({"project file, folder chains (8 MiB)", static_cast<long>(project.size()),
                      64 * kMiB + 16 * static_cast<long>(project.size()), [project] {
                          tw::ProjectFolder root;
                          tw::CountSettings settings;
                          tw::ProjectFile::load(project, root, settings);
                      }});
    inputs.push_back({"tree report, chains 2,047 deep, indentation 100", 0, 64 * kMiB, [] {
                          tw::ProjectFolder root;
                          for (const std::string& path : tw::test::deepChainPaths(200, 2047)) {
                              root.AddFilePath(tw::utf16FromUtf8(path), "/nonexistent");
                          }
                          std::size_t characters = 0;
                          tw::writeReport(root, tw::CountMode::Physical,
                                          tw::ReportLayout{.listStyle = false, .indentation = 100},
                                          [&characters](std::u16string_view piece) {
                                              characters += piece.size();
                                              return true;
                                          });
                          benchmark::DoNotOptimize(characters);
                      }});
    const std::string lines = directory + "/lines.c";
    writeFile(lines, tw::test::lineFeedsOnly(256 * 1024 * 1024));
    const std::string code = directory + "/ordinary.cpp";
    writeFile(code, tw::test::ordinarySource(128 * 1024 * 1024));
    for (const auto& [label, path, size, bound] :
         {std::tuple{"line feeds only (256 MiB)", lines, 256 * kMiB, 8 * 256 * kMiB},
          std::tuple{"ordinary code (128 MiB)", code, 128 * kMiB, 64 * kMiB + 4 * 128 * kMiB}}) {
        for (const auto& [letter, mode] :
             {std::pair{"p", tw::CountMode::Physical}, std::pair{"e", tw::CountMode::Executable}}) {
            inputs.push_back(
                {std::string(label) + ", mode " + letter, size, bound, [path = path, mode = mode] {
                     tw::CountSettings settings;
                     settings.mode = mode;
                     tw::FileCount record(u"input", path);
                     record.count(settings);
                 }});
        }
    }
    const std::string nul = directory + "/nul.txt";
    writeFile(nul, tw::test::nulBytes(256 * 1024 * 1024));
    const std::string empty = directory + "/empty.txt";
    writeFile(empty, tw::test::emptyLines(64 * 1024 * 1024));
    for (const auto& [label, path, size] :
         {std::tuple{"list file of NUL bytes (256 MiB)", nul, 256 * kMiB},
          std::tuple{"list file of empty lines (64 Mi lines)", empty, 64 * kMiB}}) {
        inputs.push_back({label, size, 64 * kMiB, [path = path] {
                              std::vector<std::u16string> files;
                              tw::readListFile(tw::utf16FromUtf8(path), files);
                          }});
    }
    const std::string graph = directory + "/graph";
    std::filesystem::create_directories(graph);
    tw::test::linkGraph(graph, 24);
    inputs.push_back({"links, each level twice to the next, 24 levels", 0, 64 * kMiB, [graph] {
                          std::size_t files = 0;
                          tw::DirectoryWalkCalls calls;
                          calls.onFile = [&files](const std::string&, const std::string&) {
                              ++files;
                          };
                          tw::walkDirectory(graph + "/", true, calls);
                          std::printf("    (%zu files found)\n", files);
                      }});
    return inputs;
}

void measureBoundedInputs(const std::string& directory) {
    std::printf("\n%-52s %12s %12s %12s %9s\n", "input", "size MiB", "peak MiB", "bound MiB",
                "seconds");
    for (const BoundedInput& input : boundedInputs(directory)) {
        const auto start = std::chrono::steady_clock::now();
        const long peak = tw::test::peakMemoryOf(input.work);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%-52s %12.1f %12.1f %12.1f %9.2f %s\n", input.name.c_str(),
                    static_cast<double>(input.sizeBytes) / kMiB, static_cast<double>(peak) / kMiB,
                    static_cast<double>(input.boundBytes) / kMiB, seconds,
                    peak > 0 && peak <= input.boundBytes ? "within" : "OVER");
    }
}

void countInput(benchmark::State& state, std::string path, tw::CountMode mode) {
    tw::CountSettings settings;
    settings.mode = mode;
    tw::FileCount record(tw::utf16FromUtf8(path), path);
    bool ok = true;
    for (auto _ : state) {
        ok = record.count(settings);
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
        for (const auto& [letter, mode] : {std::pair{"p", tw::CountMode::Physical},
                                           std::pair{"t", tw::CountMode::TerminatingCharacters},
                                           std::pair{"e", tw::CountMode::Executable},
                                           std::pair{"c", tw::CountMode::CyclomaticComplexity}}) {
            benchmark::RegisterBenchmark((input.name + "/" + letter).c_str(), countInput, path,
                                         mode)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(3);
        }
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    measureBoundedInputs(directory);
    std::filesystem::remove_all(directory);
    for (const std::string& path : written) {
        std::remove(path.c_str());
    }
    ::rmdir(directory.c_str());
    return 0;
}
