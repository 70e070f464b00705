#include "project/CountRunner.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <system_error>
#include <thread>

#include "engine/CountColumns.h"
#include "project/CountMemoryBudget.h"

namespace tw {
namespace {

/// The results of a count copied into the record it was made from. The fields that name the
/// file (path, disk path, type) stay: others may read them at any time.
void publishResults(const FileCount& counted, FileCount& record) {
    record.remarks = counted.remarks;
    record.counted = counted.counted;
    record.failed = counted.failed;
    record.inBlockComment = counted.inBlockComment;
    for (const CountColumnInfo& info : kCountColumns) {
        if (info.counter != nullptr) {
            record.*info.counter = counted.*info.counter;
        }
    }
    record.encoding = counted.encoding;
    record.sizeBytes = counted.sizeBytes;
    record.countSeconds = counted.countSeconds;
    record.errorLine = counted.errorLine;
}

/// One run: the records handed out to the counting threads and taken back in order.
class Run {
  public:
    Run(const std::vector<FileCount*>& records, const CountRunner::Options& options,
        const CountRunCallbacks& callbacks, FailedCountTable& failures, std::mutex& resultsLock)
        : records_(records),
          options_(options),
          callbacks_(callbacks),
          failures_(failures),
          resultsLock_(resultsLock),
          budget_(options.byteBudget, CountRunner::kBytesPerFileByte),
          done_(records.size(), 0) {}

    std::size_t run(unsigned threads) {
        // Several threads ask before they take each file, so that a stop hands out no more;
        // one thread asks after each file, as the walk it is.
        askBeforeTaking_ = threads > 1;
        std::vector<std::thread> helpers;
        for (unsigned t = 1; t < threads; ++t) {
            try {
                helpers.emplace_back([this] {
                    while (countNext()) {
                    }
                });
            } catch (const std::system_error&) {
                break;  // the system gives no more threads: count with those there are
            }
        }
        std::size_t handedOver = 0;
        for (; handedOver < records_.size(); ++handedOver) {
            if (!waitFor(handedOver)) {
                break;
            }
            if (callbacks_.done) {
                callbacks_.done(*records_[handedOver]);
            }
            if (callbacks_.stopRequested && callbacks_.stopRequested()) {
                stopping_ = true;
                ++handedOver;
                break;
            }
        }
        // Records in hand are finished and handed over; nothing new is taken.
        stopping_ = true;
        for (std::thread& helper : helpers) {
            helper.join();
        }
        for (; handedOver < records_.size() && done_[handedOver] != 0; ++handedOver) {
            if (callbacks_.done) {
                callbacks_.done(*records_[handedOver]);
            }
        }
        return handedOver;
    }

  private:
    /// Counts the next record nobody has taken; false when none is left or a stop came.
    bool countNext() {
        if (stopping_ ||
            (askBeforeTaking_ && callbacks_.stopRequested && callbacks_.stopRequested())) {
            stopping_ = true;
            return false;
        }
        const std::size_t index = next_.fetch_add(1);
        if (index >= records_.size()) {
            return false;
        }
        FileCount& record = *records_[index];
        // Only the thread that took a record writes it, and only under the results lock, so
        // reading the flag here needs no lock.
        if (!(options_.onlyUncounted && record.counted)) {
            if (callbacks_.started) {
                callbacks_.started(record);
            }
            FileCount work = record;
            const bool counted = work.count(options_.settings, &budget_);
            const std::lock_guard lock(resultsLock_);
            if (!counted) {
                failures_[work.path] = work.remarks;
                work.reset();
            }
            publishResults(work, record);
        }
        {
            const std::lock_guard lock(mutex_);
            done_[index] = 1;
        }
        ready_.notify_all();
        return true;
    }

    /// Waits until record `index` is done, counting others meanwhile while any are left; false
    /// when it will never be done (the run stopped before it was taken).
    bool waitFor(std::size_t index) {
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                if (done_[index] != 0) {
                    return true;
                }
                if (next_.load() > index) {
                    // Taken by another thread: wait for it, or count the next one meanwhile.
                    if (next_.load() >= records_.size() || stopping_) {
                        ready_.wait(lock, [&] { return done_[index] != 0; });
                        return true;
                    }
                }
            }
            if (!countNext() && next_.load() <= index) {
                return false;
            }
        }
    }

    const std::vector<FileCount*>& records_;
    const CountRunner::Options& options_;
    const CountRunCallbacks& callbacks_;
    FailedCountTable& failures_;
    std::mutex& resultsLock_;
    CountMemoryBudget budget_;
    std::vector<unsigned char> done_;  // guarded by mutex_
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopping_{false};
    bool askBeforeTaking_ = false;
    std::mutex mutex_;
    std::condition_variable ready_;
};

}  // namespace

std::size_t CountRunner::run(const std::vector<FileCount*>& records, const Options& options,
                             const CountRunCallbacks& callbacks) {
    unsigned threads = options.threads;
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    // More threads than files, or than any machine has processors, only cost memory.
    threads = static_cast<unsigned>(std::min<std::size_t>({threads, records.size(), 256}));
    Run run(records, options, callbacks, failures_, resultsLock_);
    return run.run(std::max(1u, threads));
}

}  // namespace tw
