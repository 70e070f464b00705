#include "ui/CountWorker.h"

#include "ui/CountThreadState.h"

namespace tw::ui {

void CountWorker::run() {
    CountThreadProc(state_, settings_);
    emit finished();
}

}  // namespace tw::ui
