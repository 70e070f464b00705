#include "ui/CountRun.h"

#include <QThread>

#include <algorithm>

#include "project/ProjectFolder.h"
#include "ui/CountWorker.h"

namespace tw::ui {

CountRun::CountRun(QObject* parent) : QObject(parent) {
    timer_.setInterval(kProgressPeriodMs);
    connect(&timer_, &QTimer::timeout, this, &CountRun::tick);
}

CountRun::~CountRun() {
    if (running_) {
        stopAndWait();
    }
}

bool CountRun::start(ProjectFolder& root, const CountSettings& settings) {
    if (running_) {
        return false;
    }
    settings_ = settings;
    state_.prepare(root);
    state_.running = true;
    thread_ = new QThread(this);
    thread_->setObjectName(QStringLiteral("countWorker"));
    worker_ = new CountWorker(state_, settings_);
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::started, worker_, &CountWorker::run);
    // Quit straight from the worker's thread, so that waiting for the thread never needs the
    // window thread's event loop.
    connect(worker_, &CountWorker::finished, thread_, &QThread::quit, Qt::DirectConnection);
    // The run ends as soon as the worker is done, not only at the next tick.
    connect(worker_, &CountWorker::finished, this, &CountRun::tick, Qt::QueuedConnection);
    thread_->start();
    if (!thread_->isRunning() && !thread_->isFinished()) {
        delete worker_;
        worker_ = nullptr;
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
        thread_->quit();
        thread_->wait();
        delete worker_;
        worker_ = nullptr;
        delete thread_;
        thread_ = nullptr;
    }
    running_ = false;
    const std::lock_guard<std::mutex> guard(state_.lock);
    state_.running = false;
    return state_.index == state_.total;
}

}  // namespace tw::ui
