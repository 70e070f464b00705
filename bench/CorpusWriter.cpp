// Writes the benchmark corpus: a tree of generated C, C++, header, Java and resource-script
// files. `scale` copies of the same mix (the same files under other names, each with its own
// seed), so a corpus of scale 16 is sixteen times one of scale 1 in files, bytes and lines.
//
//   tw_make_corpus DIRECTORY SCALE [SEED]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "SourceGenerator.h"

namespace {

using tw::bench::GeneratedLanguage;

struct Kind {
    GeneratedLanguage language;
    const char* extension;
    int filesPerModule;
};

constexpr Kind kMix[] = {
    {GeneratedLanguage::Cpp, ".c", 5},
    {GeneratedLanguage::Cpp, ".cpp", 6},
    {GeneratedLanguage::CppHeader, ".h", 8},
    {GeneratedLanguage::Java, ".java", 4},
    {GeneratedLanguage::ResourceScript, ".rc", 1},
};
constexpr int kModulesPerScale = 16;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIRECTORY SCALE [SEED]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const int scale = std::atoi(argv[2]);
    const std::uint32_t seed = argc > 3 ? static_cast<std::uint32_t>(std::atoi(argv[3])) : 1;
    if (scale < 1) {
        std::fprintf(stderr, "scale must be 1 or more\n");
        return 2;
    }
    std::size_t files = 0;
    std::size_t bytes = 0;
    for (int copy = 0; copy < scale; ++copy) {
        // Every copy uses the same seeds, so each scale holds exact copies of the same mix.
        std::mt19937 sizes(seed);
        for (int module = 0; module < kModulesPerScale; ++module) {
            const auto directory =
                root / ("copy" + std::to_string(copy)) / ("module" + std::to_string(module));
            std::filesystem::create_directories(directory / "detail");
            for (const Kind& kind : kMix) {
                for (int i = 0; i < kind.filesPerModule; ++i) {
                    // Mostly small and medium files, now and then a large one.
                    std::size_t size = 2000 + sizes() % 30000;
                    if (sizes() % 20 == 0) {
                        size *= 8;
                    }
                    const std::string text = tw::bench::generateSource(
                        kind.language, size,
                        seed * 7919u + static_cast<std::uint32_t>(module * 131 + i * 17));
                    const auto file = (i % 3 == 2 ? directory / "detail" : directory) /
                                      ("file" + std::to_string(i) + kind.extension);
                    std::ofstream(file, std::ios::binary) << text;
                    ++files;
                    bytes += text.size();
                }
            }
        }
    }
    std::printf("%zu files, %zu bytes\n", files, bytes);
    return 0;
}
