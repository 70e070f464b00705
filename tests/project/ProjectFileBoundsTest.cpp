// Loading any project file takes memory in proportion to its size: a few bytes cannot ask for
// millions of folders.
#include <gtest/gtest.h>

#include "project/ProjectFile.h"
#include "support/AdversarialInputs.h"
#include "support/PeakMemory.h"
#include "support/U16.h"

namespace tw {
namespace {

using test::kMiB;

TEST(ProjectFileBoundsTest, DeepFolderChainsAreRefusedWithinTheMemoryBound) {
    if (!test::kMemoryIsMeasurable) {
        GTEST_SKIP() << "memory is not measured under the sanitizers";
    }
    for (const bool withDiskPaths : {false, true}) {
        SCOPED_TRACE(withDiskPaths ? "with disk paths" : "paths only");
        const std::string file = test::adversarialProjectFile(2 * 1024 * 1024, withDiskPaths);
        const long peak = test::peakMemoryOf([&file] {
            ProjectFolder root;
            CountSettings settings;
            const ProjectLoadResult result = ProjectFile::load(file, root, settings);
            ::_exit(result.status == ProjectLoadStatus::Damaged &&
                            result.message == u"Unexpected file format." && root.TotalRecords() == 0
                        ? 0
                        : 1);
        });
        ASSERT_GT(peak, 0) << "the load did not end as a damaged file";
        EXPECT_LT(peak, 64 * kMiB + 16 * static_cast<long>(file.size()));
    }
}

TEST(ProjectFileBoundsTest, AProjectOfManyFoldersStillLoads) {
    // Ten thousand files, one folder chain of three each: a wide tree, as real ones can be.
    ProjectFolder source;
    for (int i = 0; i < 10000; ++i) {
        const std::u16string n(test::u16(std::to_string(i)));
        source.AddFilePath(u"top/m" + n + u"/s" + n + u"/f.cpp", "x/" + std::to_string(i));
    }
    const std::string file = ProjectFile::store(source, {});
    ProjectFolder loaded;
    CountSettings settings;
    ASSERT_EQ(ProjectFile::load(file, loaded, settings).status, ProjectLoadStatus::Loaded);
    EXPECT_EQ(loaded.TotalRecords(), 10000u);
}

}  // namespace
}  // namespace tw
