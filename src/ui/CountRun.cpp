#include "ui/CountRun.h"

#include <QThread>

#include <algorithm>
#include <vector>

#include "engine/FileCount.h"
#include "project/CountRunner.h"
#include "project/ProjectFolder.h"

namespace tw::ui {

void CountRun::State::prepare(ProjectFolder& project) {
    root = &project;
    index = 0;
    total = static_cast<std::int32_t>(project.TotalRecords());
    stop = false;
    currentFile.clear();
    running = false;
}

void CountRun::walk(State& state, const CountSettings& settings, FailedCountTable& failures,
                    unsigned threads) {
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
        CountRunner(failures, state.lock).run(records, options, callbacks);
    }
    const std::lock_guard<std::mutex> guard(state.lock);
    state.running = false;
}

CountRun::CountRun(QObject* parent) : QObject(parent) {
    timer_.setInterval(kProgressPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &CountRun::tick);
}

CountRun::~CountRun() {
    if (running_) {
        stopAndWait();
    }
}

bool CountRun::start(ProjectFolder& root, const CountSettings& settings,
                     FailedCountTable& failures) {
    if (running_) {
        return false;
    }
    settings_ = settings;
    state_.prepare(root);
    state_.running = true;
    // The thread ends with the walk, so waiting for it never needs the window thread's event
    // loop.
    thread_ = QThread::create([this, &failures] { walk(state_, settings_, failures); });
    thread_->setParent(this);
    thread_->setObjectName(QStringLiteral("countWorker"));
    // The run ends as soon as the walk is done, not only at the next tick.
    connect(thread_, &QThread::finished, this, &CountRun::tick, Qt::QueuedConnection);
    thread_->start();
    if (!thread_->isRunning() && !thread_->isFinished()) {
        delete thread_;
        thread_ = nullptr;
        state_.running = false;
        return false;
    }
    running_ = true;
    timer_.start();
    return true;
}

void CountRun::requestStop() {
    if (!running_) {
        return;
    }
    const std::lock_guard<std::mutex> guard(state_.lock);
    state_.stop = true;
}

bool CountRun::stopAndWait() {
    if (!running_) {
        return false;
    }
    requestStop();
    if (thread_ != nullptr) {
        thread_->wait();
    }
    return end();
}

std::unique_lock<std::mutex> CountRun::lockRecords() {
    if (!running_) {
        return {};
    }
    return std::unique_lock<std::mutex>(state_.lock);
}

void CountRun::tick() {
    if (!running_) {
        return;
    }
    std::unique_lock<std::mutex> lock(state_.lock);
    if (state_.running) {
        // Between the last file and the end of the run every file has been visited; the
        // number stays at the total rather than run one past it.
        const int shown = std::min(state_.index + 1, state_.total);
        const int total = state_.total;
        const QString current = QString::fromStdU16String(state_.currentFile);
        lock.unlock();
        emit progress(shown, total, current);
        return;
    }
    lock.unlock();
    emit finished(end());
}

bool CountRun::end() {
    timer_.stop();
    if (thread_ != nullptr) {
        thread_->wait();
        delete thread_;
        thread_ = nullptr;
    }
    running_ = false;
    const std::lock_guard<std::mutex> guard(state_.lock);
    state_.running = false;
    return state_.index == state_.total;
}

}  // namespace tw::ui
