#include "ui/CountThreadState.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/FileCount.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"

namespace tw::ui {
namespace {

/// Copies the results of a count from `counted` into `record`. The fields that name the file
/// (path, disk path, type) are not written: the window thread reads them at any time.
void publishResults(const FileCount& counted, FileCount& record) {
    record.remarks = counted.remarks;
    record.counted = counted.counted;
    record.failed = counted.failed;
    record.inBlockComment = counted.inBlockComment;
    record.code = counted.code;
    record.declaration = counted.declaration;
    record.directive = counted.directive;
    record.commentOwnLine = counted.commentOwnLine;
    record.commentCodeLine = counted.commentCodeLine;
    record.commentBanner = counted.commentBanner;
    record.commentWords = counted.commentWords;
    record.commentBlank = counted.commentBlank;
    record.blank = counted.blank;
    record.encoding = counted.encoding;
    record.sizeBytes = counted.sizeBytes;
    record.countSeconds = counted.countSeconds;
    record.errorLine = counted.errorLine;
}

/// Advances the index past one visited file and tells whether a stop was requested.
bool advance(CountThreadState& state) {
    const std::lock_guard<std::mutex> guard(state.lock);
    ++state.index;
    return state.stop;
}

bool stopRequested(CountThreadState& state) {
    const std::lock_guard<std::mutex> guard(state.lock);
    return state.stop;
}

}  // namespace

void CountThreadState::prepare(ProjectFolder& project) {
    root = &project;
    index = 0;
    total = static_cast<std::int32_t>(project.TotalRecords());
    stop = false;
    currentFile.clear();
    running = false;
}

bool countRecord(FileCount& record, CountThreadState& state) {
    {
        const std::lock_guard<std::mutex> guard(state.lock);
        state.currentFile = record.path;
    }
    FileCount work = record;
    const bool succeeded = work.count();
    const std::lock_guard<std::mutex> guard(state.lock);
    if (!succeeded) {
        failedCountTable()[work.path] = work.remarks;
        work.reset();
    }
    publishResults(work, record);
    return succeeded;
}

bool CountFolder(ProjectFolder& folder, CountThreadState& state) {
    for (const auto& record : folder.files()) {
        // Only this thread writes `counted` during a run, so reading it here needs no lock.
        if (!record->counted) {
            countRecord(*record, state);
        }
        if (advance(state)) {
            return true;
        }
    }
    for (const auto& subfolder : folder.subfolders()) {
        if (CountFolder(*subfolder, state) || stopRequested(state)) {
            return true;
        }
    }
    return false;
}

namespace {

/// The files of the tree handed out one at a time, in the tree's order, to several threads.
void countInParallel(ProjectFolder& root, CountThreadState& state, unsigned threads) {
    // The tree does not change during a run, so its records can be listed once.
    std::vector<FileCount*> records;
    root.CollectRecords(records);
    std::size_t next = 0;  // guarded by the state's lock
    const auto work = [&] {
        for (;;) {
            FileCount* record = nullptr;
            {
                const std::lock_guard<std::mutex> guard(state.lock);
                if (state.stop || next == records.size()) {
                    return;
                }
                record = records[next++];
            }
            // Each record is handed to one thread only, and only that thread writes it.
            if (!record->counted) {
                countRecord(*record, state);
            }
            const std::lock_guard<std::mutex> guard(state.lock);
            ++state.index;
        }
    };
    std::vector<std::thread> workers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // the system gives no more threads: count with those there are
        }
    }
    work();
    for (std::thread& worker : workers) {
        worker.join();
    }
}

}  // namespace

int CountThreadProc(CountThreadState& state, unsigned threads) {
    if (threads == 0) {
        threads = std::max(1u, std::thread::hardware_concurrency());
    }
    if (state.root != nullptr) {
        if (threads == 1) {
            CountFolder(*state.root, state);
        } else {
            countInParallel(*state.root, state, threads);
        }
    }
    const std::lock_guard<std::mutex> guard(state.lock);
    state.running = false;
    return 0;
}

}  // namespace tw::ui
