#pragma once

#include <cstdint>
#include <mutex>

#include <string>
#include "engine/CountSettings.h"

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

/// The worker's whole run over the state's root, through the `CountRunner`: every record not
/// counted yet, by `settings`, in the tree's order, on `threads` threads (0: one per processor),
/// each finishing the file in hand when a stop comes; `currentFile` names the file last started and
/// `index` counts the files done or passed over. Clears `running` under the lock at the end,
/// whether the run completed or stopped. Returns 0.
///
/// The files counted, the failures and the final index are those of the one-thread walk, except
/// that a stop may leave a few more files counted, as many as were in hand.
int CountThreadProc(CountThreadState& state, const CountSettings& settings, unsigned threads = 0);

}  // namespace tw::ui
