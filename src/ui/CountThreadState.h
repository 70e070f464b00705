#pragma once

#include <cstdint>
#include <mutex>
#include <string>

namespace tw {
class FileCount;
class ProjectFolder;
}  // namespace tw

namespace tw::ui {

/// What the window thread and the count worker share during a count run. `lock` guards every
/// other field; it is never held while a file is counted.
///
/// The worker counts each record on a private copy and writes the results back into the
/// project's record under `lock`, so during a run the window thread may read records only
/// while it holds `lock`; it never writes them until the run is closed.
struct CountThreadState {
    std::mutex lock;
    ProjectFolder* root = nullptr;
    /// Path of the file being counted; empty until the first uncounted file is reached.
    std::u16string currentFile;
    /// Files visited so far in this run: counted, failed or skipped as already counted.
    std::int32_t index = 0;
    /// Files in the whole project when the run started.
    std::int32_t total = 0;
    /// From the start of the run until the worker has finished.
    bool running = false;
    /// A stop was requested.
    bool stop = false;

    /// Prepares a run over `project`: every field but the lock back to its start value, the
    /// total taken from the tree.
    void prepare(ProjectFolder& project);
};

/// Counts one record: its file is counted on a copy without holding the lock, then the
/// results are published into `record` under the lock. A failed count puts the path and the
/// error text into the failed-count table and leaves the record uncounted with empty remarks.
/// Returns whether the count succeeded.
bool countRecord(FileCount& record, CountThreadState& state);

/// Counts every uncounted record of `folder`'s own files, then of each subfolder in order,
/// depth-first, advancing the state's index for every file visited. Returns true when the run
/// is to end here because a stop was requested.
bool CountFolder(ProjectFolder& folder, CountThreadState& state);

/// The worker's whole run over the state's root; clears `running` under the lock at the end,
/// whether the run completed or stopped. Returns 0.
///
/// With more than one thread (0: one per processor) the files are handed out in the tree's
/// order to that many counting threads; each finishes the file in hand when a stop comes. The
/// files counted, the failures and the final index are those of the one-thread walk, except
/// that a stop may leave a few more files counted, as many as were in hand.
int CountThreadProc(CountThreadState& state, unsigned threads = 0);

}  // namespace tw::ui
