#include "ui/CountThreadState.h"

#include <vector>

#include "engine/FileCount.h"
#include "project/CountRunner.h"
#include "project/FailedCountTable.h"
#include "project/ProjectFolder.h"

namespace tw::ui {

void CountThreadState::prepare(ProjectFolder& project) {
    root = &project;
    index = 0;
    total = static_cast<std::int32_t>(project.TotalRecords());
    stop = false;
    currentFile.clear();
    running = false;
}

int CountThreadProc(CountThreadState& state, const CountSettings& settings, unsigned threads) {
    if (state.root != nullptr) {
        // The tree does not change during a run, so its records can be listed once.
        std::vector<FileCount*> records;
        state.root->CollectRecords(records);
        CountRunCallbacks callbacks;
        callbacks.started = [&state](const FileCount& record) {
            const std::lock_guard<std::mutex> guard(state.lock);
            state.currentFile = record.path;
        };
        callbacks.done = [&state](FileCount&) {
            const std::lock_guard<std::mutex> guard(state.lock);
            ++state.index;
        };
        callbacks.stopRequested = [&state] {
            const std::lock_guard<std::mutex> guard(state.lock);
            return state.stop;
        };
        CountRunner::Options options;
        options.threads = threads;
        options.onlyUncounted = true;
        options.settings = settings;
        CountRunner(failedCountTable(), state.lock).run(records, options, callbacks);
    }
    const std::lock_guard<std::mutex> guard(state.lock);
    state.running = false;
    return 0;
}

}  // namespace tw::ui
