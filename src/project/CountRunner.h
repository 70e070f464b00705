#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/FileCount.h"
#include "project/FailedCountTable.h"

namespace tw {

/// The results of a count (flags, failure text and line, counters, size, encoding, time,
/// functions) copied from `counted` into `record`. The fields that name the file (path, disk
/// path, type) stay: others may read them at any time.
void copyCountResults(const FileCount& counted, FileCount& record);
/// The same, taking what can be moved.
void copyCountResults(FileCount&& counted, FileCount& record);

/// What a count run tells the one who started it. Each callback may be left empty.
struct CountRunCallbacks {
    /// A record's count is about to start; on the thread that counts it.
    std::function<void(const FileCount& record)> started;
    /// A record is done: counted, failed (its error text is then in the failure table and the
    /// record is reset) or passed over as counted already. Called in the order of the list, on
    /// the thread that called `CountRunner::run`.
    std::function<void(FileCount& record)> done;
    /// Asked after each record is done; true ends the run once the records in hand are done.
    std::function<bool()> stopRequested;
};

/// The one loop that counts a list of records, for the console run and the desktop program's
/// count worker alike.
///
/// - Scheduling: the records are handed out in the order they came to `threads` threads, the
///   calling thread among them; whatever the number, the results are those of counting one at
///   a time. Records may come while the first ones already count (`Session`).
/// - Memory: counts in progress together may take `byteBudget` bytes at most, reckoned at
///   `kBytesPerFileByte` per byte of file; a file larger than that waits until it can count
///   alone.
/// - Hand-over: results are handed over in list order, on the calling thread; for a session,
///   in the order given when it ends.
/// - Failure rule: a failed record's error text goes into the failure table under its path and
///   the record is reset, so it ends uncounted.
/// - Shared records: each record is counted on a copy; the results are written into the record
///   and the failure table under `resultsLock`, which whoever reads records during a run holds.
class CountRunner {
  public:
    /// Memory a count may take per byte of its file, whatever the file holds.
    static constexpr std::uint64_t kBytesPerFileByte = 8;
    static constexpr std::uint64_t kDefaultByteBudget = std::uint64_t{1} << 30;

    struct Options {
        /// Files counted at once; 0 for one per processor.
        unsigned threads = 0;
        /// Pass over records counted already (and hand them over as done) instead of counting
        /// them again.
        bool onlyUncounted = false;
        std::uint64_t byteBudget = kDefaultByteBudget;
        /// How every file is counted.
        CountSettings settings;
        /// Counts one record (a copy of it) by `settings`, as `FileCount::count` does, for
        /// records whose files are not on disk (blobs of a repository: `BlobCounter`); empty
        /// to count every record from its file.
        std::function<bool(FileCount& record, const CountSettings& settings, CountMemoryGate* gate)>
            count;
    };

    CountRunner(FailedCountTable& failures, std::mutex& resultsLock)
        : failures_(failures), resultsLock_(resultsLock) {}

    /// Counts `records` and returns how many were handed over: all of them, unless a stop came.
    std::size_t run(const std::vector<FileCount*>& records, const Options& options,
                    const CountRunCallbacks& callbacks);

    /// A run whose records come one at a time while the first of them already count on the
    /// other threads: the console adds each record as it puts it into the project's folders,
    /// and hands them over in the folders' order once all are in place.
    class Session {
      public:
        ~Session();
        Session(const Session&) = delete;
        Session& operator=(const Session&) = delete;

        /// One more record to count; from the thread that started the session.
        void add(FileCount& record);
        /// Counts what is left, on this thread too, and hands the records over in `order`
        /// (records never added are counted as well); returns how many were handed over: all
        /// of them, unless a stop came. Ends the session.
        std::size_t handOver(const std::vector<FileCount*>& order);

      private:
        friend class CountRunner;
        class Run;
        explicit Session(std::unique_ptr<Run> run);
        std::unique_ptr<Run> run_;
    };

    /// Starts a session; `options` and `callbacks` are kept until it ends.
    std::unique_ptr<Session> start(const Options& options, const CountRunCallbacks& callbacks);

  private:
    FailedCountTable& failures_;
    std::mutex& resultsLock_;
};

}  // namespace tw
