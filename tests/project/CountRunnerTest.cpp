// The one counting loop of the console and the desktop program: order, failure rule, stops,
// and the memory that counts in progress may take together.
#include "project/CountRunner.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "project/CountMemoryBudget.h"
#include "project/ProjectFolder.h"
#include "support/PeakMemory.h"
#include "support/SettingsWith.h"
#include "support/TempDir.h"
#include "support/U16.h"

namespace tw {
namespace {

using test::kMiB;

/// A project of `files` small sources below `dir`, every seventh one failing to count.
std::vector<FileCount*> sampleProject(const test::TempDir& dir, ProjectFolder& root, int files) {
    for (int i = 0; i < files; ++i) {
        std::string text = "int f" + std::to_string(i) + "(int x) { return x; } // doubled\n";
        for (int k = 0; k < i % 11; ++k) {
            text += "int y = g(a[k] + 1); /* more */\n";
        }
        if (i % 7 == 3) {
            text += "/* never closed\n";
        }
        const std::string path =
            dir.write("p" + std::to_string(i % 5) + "/f" + std::to_string(i) + ".cpp", text);
        root.AddFilePath(test::u16(path), path);
    }
    std::vector<FileCount*> records;
    root.CollectRecords(records);
    return records;
}

struct Outcome {
    std::vector<std::u16string> doneOrder;
    std::vector<std::uint32_t> code;
    std::vector<bool> counted;
    FailedCountTable failures;
    std::size_t handedOver = 0;
};

/// Notes what the records hold after a run.
void noteResults(Outcome& outcome, const std::vector<FileCount*>& records) {
    for (const FileCount* record : records) {
        outcome.code.push_back(record->code);
        outcome.counted.push_back(record->counted);
    }
}

Outcome countWith(unsigned threads, const std::vector<FileCount*>& records,
                  std::function<bool()> stop = {}) {
    Outcome outcome;
    std::mutex lock;
    CountRunCallbacks callbacks;
    callbacks.done = [&outcome](FileCount& record) { outcome.doneOrder.push_back(record.path); };
    callbacks.stopRequested = std::move(stop);
    CountRunner::Options options;
    options.threads = threads;
    options.settings = test::settingsWith(CountMode::Executable);
    outcome.handedOver = CountRunner(outcome.failures, lock).run(records, options, callbacks);
    noteResults(outcome, records);
    return outcome;
}

/// The same results, handed over in the same order.
void expectSameOutcome(const Outcome& outcome, const Outcome& expected) {
    EXPECT_EQ(outcome.doneOrder, expected.doneOrder);
    EXPECT_EQ(outcome.code, expected.code);
    EXPECT_EQ(outcome.counted, expected.counted);
    EXPECT_EQ(outcome.failures, expected.failures);
}

TEST(CountRunnerTest, EveryThreadCountGivesTheResultsOfOneInListOrder) {
    test::TempDir dir;
    ProjectFolder root;
    const std::vector<FileCount*> records = sampleProject(dir, root, 120);
    const Outcome one = countWith(1, records);
    ASSERT_EQ(one.handedOver, records.size());
    std::vector<std::u16string> listOrder;
    for (const FileCount* record : records) {
        listOrder.push_back(record->path);
    }
    EXPECT_EQ(one.doneOrder, listOrder);
    EXPECT_EQ(one.failures.size(), 17u);
    // A failed record stays failed, with its text, as the table has it too.
    for (const auto& [path, remarks] : one.failures) {
        const FileCount* failed = root.FindFile(path).record;
        ASSERT_NE(failed, nullptr);
        EXPECT_FALSE(failed->counted);
        EXPECT_TRUE(failed->failed);
        EXPECT_EQ(failed->remarks, remarks);
        EXPECT_EQ(remarks.substr(0, 29), u"Physical pre-parser failure: ");
    }
    EXPECT_EQ(root.FailedRecords(true), one.failures.size());
    for (const unsigned threads : {2u, 5u, 0u}) {
        SCOPED_TRACE(threads);
        root.ResetAllCounts();
        expectSameOutcome(countWith(threads, records), one);
    }
}

TEST(CountRunnerTest, ASessionCountsRecordsAsTheyComeAndHandsThemOverInTheOrderGiven) {
    test::TempDir dir;
    ProjectFolder root;
    const std::vector<FileCount*> records = sampleProject(dir, root, 80);
    const Outcome one = countWith(1, records);
    for (const unsigned threads : {1u, 2u, 4u}) {
        SCOPED_TRACE(threads);
        root.ResetAllCounts();
        Outcome session;
        std::mutex lock;
        CountRunCallbacks callbacks;
        callbacks.done = [&session](FileCount& record) {
            session.doneOrder.push_back(record.path);
        };
        CountRunner::Options options;
        options.threads = threads;
        options.settings = test::settingsWith(CountMode::Executable);
        CountRunner runner(session.failures, lock);
        const std::unique_ptr<CountRunner::Session> started = runner.start(options, callbacks);
        // The records come in the reverse order, slowly enough for the first ones to count
        // meanwhile; every fourth never comes and is counted at the hand-over.
        for (std::size_t i = records.size(); i-- > 0;) {
            if (i % 4 != 1) {
                started->add(*records[i]);
            }
            if (i % 16 == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        }
        EXPECT_EQ(started->handOver(records), records.size());
        noteResults(session, records);
        expectSameOutcome(session, one);
    }
}

TEST(CountRunnerTest, ASessionEndedWithoutAHandOverLeavesNoThreadBehind) {
    test::TempDir dir;
    ProjectFolder root;
    const std::vector<FileCount*> records = sampleProject(dir, root, 20);
    std::mutex lock;
    FailedCountTable failures;
    CountRunner::Options options;
    options.threads = 3;
    CountRunner runner(failures, lock);
    {
        const std::unique_ptr<CountRunner::Session> session = runner.start(options, {});
        for (FileCount* record : records) {
            session->add(*record);
        }
    }  // ends here, its threads stopped and joined
    // Whatever was taken is done whole: counted, or failed with its failure noted; the rest
    // is untouched. Which records were taken depends on the threads' timing.
    for (const FileCount* record : records) {
        if (record->failed) {
            EXPECT_FALSE(record->counted);
            EXPECT_EQ(failures.count(record->path), 1u) << test::u8(record->path);
        } else if (!record->counted) {
            EXPECT_EQ(failures.count(record->path), 0u) << test::u8(record->path);
        }
    }
}

TEST(CountRunnerTest, RecordsCountedAlreadyArePassedOverWhenAsked) {
    test::TempDir dir;
    ProjectFolder root;
    const std::vector<FileCount*> records = sampleProject(dir, root, 6);
    records[1]->counted = true;
    records[1]->code = 99;
    FailedCountTable failures;
    std::mutex lock;
    std::vector<std::u16string> started;
    CountRunCallbacks callbacks;
    callbacks.started = [&started](const FileCount& record) { started.push_back(record.path); };
    CountRunner::Options options;
    options.threads = 1;
    options.onlyUncounted = true;
    EXPECT_EQ(CountRunner(failures, lock).run(records, options, callbacks), 6u);
    EXPECT_EQ(records[1]->code, 99u);
    EXPECT_EQ(started.size(), 5u);
}

TEST(CountRunnerTest, AStopEndsTheRunAfterTheFilesInHand) {
    test::TempDir dir;
    ProjectFolder root;
    const std::vector<FileCount*> records = sampleProject(dir, root, 40);
    // One thread walks: the file in hand is the one just done.
    const Outcome walked = countWith(1, records, [] { return true; });
    EXPECT_EQ(walked.handedOver, 1u);
    EXPECT_TRUE(walked.counted[0]);
    EXPECT_FALSE(walked.counted[1]);

    // Several threads ask before they take a file: a stop that is there at once takes none.
    root.ResetAllCounts();
    const Outcome none = countWith(3, records, [] { return true; });
    EXPECT_EQ(none.handedOver, 0u);
    EXPECT_EQ(root.CountedRecords(true), 0u);

    // A stop in the middle: what was handed over is a prefix of the list, all of it done.
    root.ResetAllCounts();
    std::atomic<int> asked{0};  // asked from every counting thread
    const Outcome middle = countWith(3, records, [&asked] { return ++asked > 12; });
    EXPECT_GT(middle.handedOver, 0u);
    EXPECT_LT(middle.handedOver, records.size());
    EXPECT_EQ(middle.doneOrder.size(), middle.handedOver);
}

TEST(CountMemoryBudgetTest, ALargeFileWaitsToCountAlone) {
    CountMemoryBudget budget(100, 8);
    budget.enter(5);  // 40
    budget.enter(6);  // 48: 88 in all
    EXPECT_EQ(budget.inUse(), 88u);
    std::atomic<bool> entered{false};
    std::thread large([&] {
        budget.enter(50);  // 400: more than the whole budget
        entered = true;
        budget.leave(50);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered);
    budget.leave(5);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(entered);  // still beside another count
    budget.leave(6);
    large.join();
    EXPECT_TRUE(entered);
    EXPECT_EQ(budget.inUse(), 0u);
}

TEST(CountRunnerTest, CountsInProgressStayWithinTheBudget) {
    if (!test::kMemoryIsMeasurable) {
        GTEST_SKIP() << "memory is not measured under the sanitizers";
    }
    test::TempDir dir;
    ProjectFolder root;
    constexpr std::size_t kFileSize = 8 * 1024 * 1024;
    std::string text;
    while (text.size() < kFileSize) {
        text += "int f(int x) { if (x > 1) { return g(a[x] + 2, \"s\"); } return x; } // c\n";
    }
    for (int i = 0; i < 8; ++i) {
        const std::string path = dir.write("f" + std::to_string(i) + ".cpp", text);
        root.AddFilePath(test::u16(path), path);
    }
    std::vector<FileCount*> records;
    root.CollectRecords(records);
    const auto peakWith = [&records](std::uint64_t budget) {
        return test::peakMemoryOf([&records, budget] {
            FailedCountTable failures;
            std::mutex lock;
            CountRunner::Options options;
            options.threads = 8;
            options.byteBudget = budget;
            options.settings = test::settingsWith(CountMode::Executable);
            CountRunner(failures, lock).run(records, options, {});
            ::_exit(failures.empty() ? 0 : 1);
        });
    };
    // A budget that holds one file at a time: the whole run takes about what one count takes.
    const long one = peakWith(CountRunner::kBytesPerFileByte * kFileSize);
    ASSERT_GT(one, 0);
    EXPECT_LT(one, 64 * kMiB + 8 * static_cast<long>(kFileSize));
    const long all = peakWith(CountRunner::kDefaultByteBudget);
    ASSERT_GT(all, 0);
    EXPECT_GT(all, one);
}

}  // namespace
}  // namespace tw
