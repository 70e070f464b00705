#include "project/CountRunner.h"

#include <algorithm>
#include <condition_variable>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "engine/CountColumns.h"
#include "project/CountMemoryBudget.h"

namespace tw {
namespace {

template <typename Record>
void copyResults(Record&& counted, FileCount& record) {
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
    record.readError = counted.readError;
    record.functions = std::forward<Record>(counted).functions;
}

}  // namespace

void copyCountResults(const FileCount& counted, FileCount& record) {
    copyResults(counted, record);
}

void copyCountResults(FileCount&& counted, FileCount& record) {
    copyResults(std::move(counted), record);
}

/// One run: the records handed out to the counting threads as they come, and taken back in the
/// order asked for. Everything the threads share is guarded by `mutex_`.
class CountRunner::Session::Run {
  public:
    Run(const CountRunner::Options& options, const CountRunCallbacks& callbacks,
        FailedCountTable& failures, std::mutex& resultsLock)
        : options_(options),
          callbacks_(callbacks),
          failures_(failures),
          resultsLock_(resultsLock),
          budget_(options.byteBudget, CountRunner::kBytesPerFileByte) {}

    ~Run() { stop(); }

    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    /// Starts the other counting threads: each counts the records as they come, and waits
    /// while none is there, until all have come and are taken.
    void startHelpers(unsigned threads) {
        // Several threads ask before they take each file, so that a stop hands out no more;
        // one thread asks after each file, as the walk it is.
        askBeforeTaking_ = threads > 1;
        for (unsigned t = 1; t < threads; ++t) {
            try {
                helpers_.emplace_back([this] {
                    while (countNext(true)) {
                    }
                });
            } catch (const std::system_error&) {
                break;  // the system gives no more threads: count with those there are
            }
        }
    }

    void add(FileCount& record) {
        {
            const std::lock_guard lock(mutex_);
            records_.push_back(&record);
            done_.push_back(0);
        }
        changed_.notify_all();
    }

    std::size_t handOver(const std::vector<FileCount*>& order) {
        // Where each record of `order` came; those that never came come now.
        std::unordered_map<const FileCount*, std::size_t> arrival;
        arrival.reserve(records_.size());
        for (std::size_t i = 0; i < records_.size(); ++i) {
            arrival.emplace(records_[i], i);
        }
        std::vector<std::size_t> cameAt;
        cameAt.reserve(order.size());
        for (FileCount* record : order) {
            const auto [place, isNew] = arrival.emplace(record, records_.size());
            if (isNew) {
                add(*record);
            }
            cameAt.push_back(place->second);
        }
        {
            const std::lock_guard lock(mutex_);
            allCame_ = true;
        }
        changed_.notify_all();

        std::size_t handedOver = 0;
        for (; handedOver < order.size(); ++handedOver) {
            if (!waitFor(cameAt[handedOver])) {
                break;
            }
            if (callbacks_.done) {
                callbacks_.done(*order[handedOver]);
            }
            if (callbacks_.stopRequested && callbacks_.stopRequested()) {
                ++handedOver;
                break;
            }
        }
        // Records in hand are finished and handed over; nothing new is taken.
        stop();
        for (; handedOver < order.size() && done_[cameAt[handedOver]] != 0; ++handedOver) {
            if (callbacks_.done) {
                callbacks_.done(*order[handedOver]);
            }
        }
        return handedOver;
    }

  private:
    /// No record is taken any more; waits for the other threads to finish those in hand.
    void stop() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        for (std::thread& helper : helpers_) {
            helper.join();
        }
        helpers_.clear();
    }

    /// Counts the next record nobody has taken, waiting for one to come when `waitToCome`;
    /// false when none is left or a stop came.
    bool countNext(bool waitToCome) {
        if (askBeforeTaking_ && callbacks_.stopRequested && callbacks_.stopRequested()) {
            {
                const std::lock_guard lock(mutex_);
                stopping_ = true;
            }
            changed_.notify_all();
            return false;
        }
        std::size_t index = 0;
        FileCount* taken = nullptr;
        {
            std::unique_lock lock(mutex_);
            if (waitToCome) {
                changed_.wait(lock,
                              [this] { return stopping_ || allCame_ || next_ < records_.size(); });
            }
            if (stopping_ || next_ >= records_.size()) {
                return false;
            }
            index = next_++;
            taken = records_[index];
        }
        FileCount& record = *taken;
        // Only the thread that took a record writes it, and only under the results lock, so
        // reading the flag here needs no lock.
        if (!(options_.onlyUncounted && record.counted)) {
            if (callbacks_.started) {
                callbacks_.started(record);
            }
            FileCount work = record;
            const bool counted = options_.count ? options_.count(work, options_.settings, &budget_)
                                                : work.count(options_.settings, &budget_);
            const std::lock_guard lock(resultsLock_);
            if (!counted) {
                failures_[work.path] = work.remarks;
            }
            copyCountResults(std::move(work), record);
        }
        {
            const std::lock_guard lock(mutex_);
            done_[index] = 1;
        }
        changed_.notify_all();
        return true;
    }

    /// Waits until the record that came `index`th is done, counting others meanwhile while any
    /// are left; false when it will never be done (the run stopped before it was taken).
    bool waitFor(std::size_t index) {
        for (;;) {
            {
                std::unique_lock lock(mutex_);
                if (done_[index] != 0) {
                    return true;
                }
                if (next_ > index && (next_ >= records_.size() || stopping_)) {
                    // Taken by another thread, and nothing else to count meanwhile.
                    changed_.wait(lock, [&] { return done_[index] != 0; });
                    return true;
                }
            }
            if (!countNext(false)) {
                const std::lock_guard lock(mutex_);
                if (next_ <= index) {
                    return false;
                }
            }
        }
    }

    const CountRunner::Options options_;
    const CountRunCallbacks callbacks_;
    FailedCountTable& failures_;
    std::mutex& resultsLock_;
    CountMemoryBudget budget_;
    std::vector<std::thread> helpers_;
    bool askBeforeTaking_ = false;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<FileCount*> records_;  // in the order they came
    std::vector<unsigned char> done_;
    std::size_t next_ = 0;
    bool allCame_ = false;
    bool stopping_ = false;
};

CountRunner::Session::Session(std::unique_ptr<Run> run) : run_(std::move(run)) {}

CountRunner::Session::~Session() = default;

void CountRunner::Session::add(FileCount& record) {
    run_->add(record);
}

std::size_t CountRunner::Session::handOver(const std::vector<FileCount*>& order) {
    return run_->handOver(order);
}

namespace {

/// The threads asked for, 0 meaning one per processor, and no more than the limit.
unsigned threadsFor(const CountRunner::Options& options) {
    const unsigned asked = options.threads;
    const unsigned threads = asked == 0 ? std::max(1u, std::thread::hardware_concurrency()) : asked;
    return std::min(threads, countingThreadLimit(options.byteBudget));
}

}  // namespace

std::unique_ptr<CountRunner::Session> CountRunner::start(const Options& options,
                                                         const CountRunCallbacks& callbacks) {
    auto run = std::make_unique<Session::Run>(options, callbacks, failures_, resultsLock_);
    run->startHelpers(threadsFor(options));
    return std::unique_ptr<Session>(new Session(std::move(run)));
}

std::size_t CountRunner::run(const std::vector<FileCount*>& records, const Options& options,
                             const CountRunCallbacks& callbacks) {
    // More threads than files only cost memory.
    Options bounded = options;
    bounded.threads = static_cast<unsigned>(
        std::max<std::size_t>(1, std::min<std::size_t>(threadsFor(options), records.size())));
    const std::unique_ptr<Session> session = start(bounded, callbacks);
    return session->handOver(records);
}

}  // namespace tw
