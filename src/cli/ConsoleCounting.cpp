#include "cli/ConsoleCounting.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/TextConversion.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

bool bannerPrinted = false;

/// Counts `records` on helper threads and on the calling thread, which also takes the results
/// in list order as soon as each is ready: every processor counts, and no thread is woken just
/// to pass a result on.
class ParallelCount {
public:
    ParallelCount(const std::vector<FileCount*>& records, unsigned helpers)
        : records_(records), done_(records.size()) {
        for (unsigned t = 0; t < helpers; ++t) {
            try {
                helpers_.emplace_back([this] {
                    while (countNext()) {
                    }
                });
            } catch (const std::system_error&) {
                break;  // the system gives no more threads: count with those there are
            }
        }
    }
    ~ParallelCount() {
        for (std::thread& helper : helpers_) {
            helper.join();
        }
    }

    /// Returns what the count of record `index` returned once it is done, counting other
    /// records meanwhile while any are left to take.
    bool waitFor(std::size_t index) {
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                if (done_[index] != 0) {
                    return done_[index] == 1;
                }
                if (next_.load() >= records_.size()) {
                    ready_.wait(lock, [&] { return done_[index] != 0; });
                    return done_[index] == 1;
                }
            }
            countNext();
        }
    }

private:
    /// Counts the next record nobody has taken; false when none is left.
    bool countNext() {
        const std::size_t index = next_.fetch_add(1);
        if (index >= records_.size()) {
            return false;
        }
        const bool ok = records_[index]->count();
        {
            std::lock_guard lock(mutex_);
            done_[index] = ok ? 1 : 2;
        }
        ready_.notify_all();
        return true;
    }

    const std::vector<FileCount*>& records_;
    std::vector<unsigned char> done_;  // 0 pending, 1 counted, 2 failed
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::thread> helpers_;
};

}  // namespace

void CountAllForConsole(ProjectFolder& folder, bool showProgress, bool quiet, unsigned threads,
                        std::ostream& progress, FailedCountTable& failures) {
    if (!bannerPrinted) {
        bannerPrinted = true;
        progress << "Working.  Please wait...\n" << std::flush;
    }
    std::vector<FileCount*> records;
    folder.CollectRecords(records);
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    // More threads than files, or than any machine has processors, only cost memory.
    threads = static_cast<unsigned>(std::min<std::size_t>({threads, records.size(), 256}));

    const auto finish = [&](FileCount& record, bool ok) {
        if (!ok) {
            failures[record.path] = record.remarks;
            record.reset();
        }
    };
    const auto announce = [&](const FileCount& record) {
        if (showProgress && !quiet) {
            progress << "Parsing:\t" << utf8FromUtf16(printableName(record.path)) << '\n';
        }
    };

    if (threads <= 1) {
        for (FileCount* record : records) {
            announce(*record);
            finish(*record, record->count());
        }
    } else {
        ParallelCount counting(records, threads - 1);
        for (std::size_t i = 0; i < records.size(); ++i) {
            announce(*records[i]);
            finish(*records[i], counting.waitFor(i));
        }
    }
    progress << std::flush;
}

}  // namespace tw
