#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <mutex>

#include "engine/CountSettings.h"
#include "ui/CountThreadState.h"

class QThread;

namespace tw {
class ProjectFolder;
}

namespace tw::ui {

class CountWorker;

/// One count run of the desktop program at a time: it owns the worker thread, the state the
/// worker shares with the window thread, and the progress timer. While the run goes on, each
/// tick of the timer reports the progress; once the worker has ended, completed or stopped,
/// the run is over and `finished` says how it went.
class CountRun : public QObject {
    Q_OBJECT

  public:
    /// How often the progress is shown: short enough to follow every file, long enough not
    /// to keep a processor core busy.
    static constexpr int kProgressPeriodMs = 10;

    explicit CountRun(QObject* parent = nullptr);
    /// A run still going is stopped; the project must outlive the file in hand.
    ~CountRun() override;

    /// Starts counting every record of `root` not counted yet, by `settings`; false when no
    /// thread could be started. `root` must not change until the run is over.
    bool start(ProjectFolder& root, const CountSettings& settings);
    /// From `start` until the run is over.
    bool isRunning() const { return running_; }
    /// Asks the worker to stop once the files in hand are done.
    void requestStop();
    /// Stops the worker and waits for it; the run is over without `finished`. Returns whether
    /// every file had been visited.
    bool stopAndWait();

    /// During a run, the lock under which records may be read; otherwise no lock.
    std::unique_lock<std::mutex> lockRecords();
    /// The state shared with the worker; read it under its lock.
    CountThreadState& state() { return state_; }

  signals:
    /// A tick of a run that goes on: "Counting file `shown` of `total`: `currentFile`".
    void progress(int shown, int total, const QString& currentFile);
    /// The run is over; `completed` when every file was visited.
    void finished(bool completed);

  private:
    void tick();
    /// Ends the run once the worker has ended; returns whether it completed.
    bool end();

    CountThreadState state_;
    CountSettings settings_;
    bool running_ = false;
    QThread* thread_ = nullptr;
    CountWorker* worker_ = nullptr;
    QTimer timer_;
};

}  // namespace tw::ui
