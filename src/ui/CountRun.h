#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <mutex>
#include <string>

#include "engine/CountSettings.h"
#include "project/FailedCountTable.h"

class QThread;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

/// One count run of the desktop program at a time: it owns the thread that walks the project,
/// the state that thread shares with the window thread, and the progress timer. While the run
/// goes on, each tick of the timer reports the progress; once the walk has ended, completed or
/// stopped, the run is over and `finished` says how it went.
class CountRun : public QObject {
    Q_OBJECT

  public:
    /// What the window thread and the walk share during a run. `lock` guards every other
    /// field; it is never held while a file is counted.
    ///
    /// The walk counts each record on a private copy and writes the results back into the
    /// project's record under `lock`, so during a run the window thread may read records only
    /// while it holds `lock`; it never writes them until the run is closed.
    struct State {
        std::mutex lock;
        ProjectFolder* root = nullptr;
        /// Path of the file being counted; empty until the first uncounted file is reached.
        std::u16string currentFile;
        /// Files visited so far in this run: counted, failed or skipped as already counted.
        std::int32_t index = 0;
        /// Files in the whole project when the run started.
        std::int32_t total = 0;
        /// From the start of the run until the walk has finished.
        bool running = false;
        /// A stop was requested.
        bool stop = false;

        /// Prepares a run over `project`: every field but the lock back to its start value,
        /// the total taken from the tree.
        void prepare(ProjectFolder& project);
    };

    /// The whole walk over the state's root, through the `CountRunner`: every record not
    /// counted yet, by `settings`, in the tree's order, on `threads` threads (0: one per
    /// processor), each finishing the file in hand when a stop comes; failures go into
    /// `failures`. `currentFile` names the file last started and `index` counts the files done
    /// or passed over. Clears `running` under the lock at the end, whether the run completed
    /// or stopped.
    ///
    /// The files counted, the failures and the final index are those of the one-thread walk,
    /// except that a stop may leave a few more files counted, as many as were in hand.
    static void walk(State& state, const CountSettings& settings, FailedCountTable& failures,
                     unsigned threads = 0);

    /// How often the progress is shown: short enough to follow every file, long enough not
    /// to keep a processor core busy.
    static constexpr int kProgressPeriodMs = 10;

    explicit CountRun(QObject* parent = nullptr);
    /// A run still going is stopped; the project must outlive the file in hand.
    ~CountRun() override;

    /// Starts counting every record of `root` not counted yet, by `settings`, the failures
    /// going into `failures`; false when no thread could be started. `root` and `failures`
    /// must not change until the run is over.
    bool start(ProjectFolder& root, const CountSettings& settings, FailedCountTable& failures);
    /// From `start` until the run is over.
    bool isRunning() const { return running_; }
    /// Asks the walk to stop once the files in hand are done.
    void requestStop();
    /// Stops the walk and waits for it; the run is over without `finished`. Returns whether
    /// every file had been visited.
    bool stopAndWait();

    /// During a run, the lock under which records may be read; otherwise no lock.
    std::unique_lock<std::mutex> lockRecords();
    /// The state shared with the walk; read it under its lock.
    State& state() { return state_; }

  signals:
    /// A tick of a run that goes on: "Counting file `shown` of `total`: `currentFile`".
    void progress(int shown, int total, const QString& currentFile);
    /// The run is over; `completed` when every file was visited.
    void finished(bool completed);

  private:
    void tick();
    /// Ends the run once the walk has ended; returns whether it completed.
    bool end();

    State state_;
    CountSettings settings_;
    bool running_ = false;
    QThread* thread_ = nullptr;
    QTimer timer_;
};

}  // namespace tw::ui
