#pragma once

#include <QObject>

#include "engine/CountSettings.h"

namespace tw::ui {

struct CountThreadState;

/// The count worker: lives on its own thread for one run and walks the project there
/// (`CountThreadProc`). The window thread follows the run through the shared state.
class CountWorker : public QObject {
    Q_OBJECT
  public:
    CountWorker(CountThreadState& state, const CountSettings& settings)
        : state_(state), settings_(settings) {}

  public slots:
    /// Counts the run's files; emits `finished` at the end, completed or stopped.
    void run();

  signals:
    void finished();

  private:
    CountThreadState& state_;
    const CountSettings& settings_;
};

}  // namespace tw::ui
