#include "cli/ConsoleCounting.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <thread>
#include <vector>

#include "engine/TextConversion.h"

namespace tw {
namespace {

bool bannerPrinted = false;

/// Counts `records` on `threads` workers while the calling thread takes the results in list
/// order, as soon as each is ready.
class ParallelCount {
public:
    ParallelCount(const std::vector<FileCount*>& records, unsigned threads)
        : records_(records), done_(records.size()) {
        for (unsigned t = 0; t < threads; ++t) {
            workers_.emplace_back([this] { work(); });
        }
    }
    ~ParallelCount() {
        for (std::thread& worker : workers_) {
            worker.join();
        }
    }

    /// Waits until record `index` is counted; returns what its count returned.
    bool waitFor(std::size_t index) {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [&] { return done_[index] != 0; });
        return done_[index] == 1;
    }

private:
    void work() {
        for (;;) {
            const std::size_t index = next_.fetch_add(1);
            if (index >= records_.size()) {
                return;
            }
            const bool ok = records_[index]->count();
            {
                std::lock_guard lock(mutex_);
                done_[index] = ok ? 1 : 2;
            }
            ready_.notify_all();
        }
    }

    const std::vector<FileCount*>& records_;
    std::vector<unsigned char> done_;  // 0 pending, 1 counted, 2 failed
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::condition_variable ready_;
    std::vector<std::thread> workers_;
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
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, records.size()));

    const auto finish = [&](FileCount& record, bool ok) {
        if (!ok) {
            failures[record.path] = record.remarks;
            record.reset();
        }
    };
    const auto announce = [&](const FileCount& record) {
        if (showProgress && !quiet) {
            progress << "Parsing:\t" << utf8FromUtf16(record.path) << '\n';
        }
    };

    if (threads <= 1) {
        for (FileCount* record : records) {
            announce(*record);
            finish(*record, record->count());
        }
    } else {
        ParallelCount counting(records, threads);
        for (std::size_t i = 0; i < records.size(); ++i) {
            announce(*records[i]);
            finish(*records[i], counting.waitFor(i));
        }
    }
    progress << std::flush;
}

}  // namespace tw
