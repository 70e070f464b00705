// Writes the benchmark corpus: a tree of generated C, C++, header, Java and resource-script
// files, in one of two shapes.
//
// - `even` (the default): `scale` copies of the same mix of 400 files of 2 to 256 KB in
//   folders two deep (the same files under other names, each with its own seed), so a corpus
//   of scale 16 is sixteen times one of scale 1 in files, bytes and lines.
// - `real`: the shape of real project trees, where the costs paid per file dominate: per
//   scale about 2,500 files and 26 MB, sizes spread log-normally from a few hundred bytes to
//   1 MB (median about 4 KB, mean about 10 KB), a third of them headers, a few very large
//   headers, folders 3 to 8 deep.
//
//   tw_make_corpus DIRECTORY SCALE [SEED] [even|real]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

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

struct Totals {
    std::size_t files = 0;
    std::size_t bytes = 0;
};

void writeFile(const std::filesystem::path& file, const std::string& text, Totals& totals) {
    std::ofstream(file, std::ios::binary) << text;
    ++totals.files;
    totals.bytes += text.size();
}

void writeEvenCorpus(const std::filesystem::path& root, int scale, std::uint32_t seed,
                     Totals& totals) {
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
                    writeFile(file, text, totals);
                }
            }
        }
    }
}

/// Files per scale of the real shape, and the very large headers among them.
constexpr int kRealFiles = 2500;
constexpr int kRealLargeHeaders = 4;
/// Log-normal sizes: median e^mu (3.6 KB, the generator's last function adds some),
/// mean e^(mu + sigma^2/2) (about 9 KB).
constexpr double kRealMu = 8.2;
constexpr double kRealSigma = 1.35;
constexpr std::size_t kRealSmallest = 300;
constexpr std::size_t kRealLargest = 1024 * 1024;

/// The kind of a file of the real shape: headers 35%, C 20%, C++ 25%, Java 18%, resource
/// scripts 2%.
const Kind& realKind(std::mt19937& random) {
    static constexpr Kind kHeader{GeneratedLanguage::CppHeader, ".h", 0};
    static constexpr Kind kC{GeneratedLanguage::Cpp, ".c", 0};
    static constexpr Kind kCpp{GeneratedLanguage::Cpp, ".cpp", 0};
    static constexpr Kind kJava{GeneratedLanguage::Java, ".java", 0};
    static constexpr Kind kResource{GeneratedLanguage::ResourceScript, ".rc", 0};
    const unsigned share = random() % 100;
    return share < 35   ? kHeader
           : share < 55 ? kC
           : share < 80 ? kCpp
           : share < 98 ? kJava
                        : kResource;
}

void writeRealCorpus(const std::filesystem::path& root, int scale, std::uint32_t seed,
                     Totals& totals) {
    std::mt19937 random(seed);
    std::lognormal_distribution<double> sizeOf(kRealMu, kRealSigma);
    for (int copy = 0; copy < scale; ++copy) {
        // A tree of folders 3 to 8 deep; files go into folders of it picked at random, so that
        // some folders hold many files and others few, as in real projects.
        std::vector<std::filesystem::path> folders;
        const auto base = root / ("project" + std::to_string(copy));
        for (int branch = 0; branch < 40; ++branch) {
            const int depth = 3 + static_cast<int>(random() % 6);
            std::filesystem::path folder = base;
            for (int level = 1; level <= depth; ++level) {
                folder /= (level == 1 ? "part" : "sub") +
                          std::to_string(level == 1 ? branch % 8 : random() % 3);
                if (level >= 3) {
                    folders.push_back(folder);
                }
            }
        }
        std::sort(folders.begin(), folders.end());
        folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
        for (const auto& folder : folders) {
            std::filesystem::create_directories(folder);
        }
        // Files lie 3 to 8 folders below the project's own.
        for (int i = 0; i < kRealFiles; ++i) {
            const Kind* kind = &realKind(random);
            std::size_t size = static_cast<std::size_t>(sizeOf(random));
            size = std::clamp(size, kRealSmallest, kRealLargest);
            if (i % (kRealFiles / kRealLargeHeaders) == 7) {
                static constexpr Kind kLargeHeader{GeneratedLanguage::CppHeader, ".h", 0};
                kind = &kLargeHeader;
                size = kRealLargest / 4 + random() % (kRealLargest * 3 / 4);
            }
            const std::string text = tw::bench::generateSource(
                kind->language, size, seed * 7919u + static_cast<std::uint32_t>(i));
            const auto& folder = folders[random() % folders.size()];
            writeFile(folder / ("file" + std::to_string(i) + kind->extension), text, totals);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DIRECTORY SCALE [SEED] [even|real]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const int scale = std::atoi(argv[2]);
    const std::uint32_t seed = argc > 3 ? static_cast<std::uint32_t>(std::atoi(argv[3])) : 1;
    const std::string shape = argc > 4 ? argv[4] : "even";
    if (scale < 1) {
        std::fprintf(stderr, "scale must be 1 or more\n");
        return 2;
    }
    if (shape != "even" && shape != "real") {
        std::fprintf(stderr, "the shape is even or real\n");
        return 2;
    }
    Totals totals;
    if (shape == "real") {
        writeRealCorpus(root, scale, seed, totals);
    } else {
        writeEvenCorpus(root, scale, seed, totals);
    }
    std::printf("%zu files, %zu bytes\n", totals.files, totals.bytes);
    return 0;
}
