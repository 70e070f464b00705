#include "cli/ConsoleCounting.h"

#include <ostream>
#include <vector>

#include "cli/ConsoleMessages.h"
#include "engine/TextConversion.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

bool bannerPrinted = false;

}  // namespace

ConsoleCount::ConsoleCount(const CountSettings& settings, bool showProgress, bool quiet,
                           unsigned threads, std::ostream& progress, std::ostream& errors,
                           FailedCountTable& failures)
    : progress_(progress), runner_(failures, resultsLock_) {
    if (!bannerPrinted) {
        bannerPrinted = true;
        progress << "Working.  Please wait...\n" << std::flush;
    }
    const bool progressLines = showProgress && !quiet;
    CountRunCallbacks callbacks;
    callbacks.done = [this, progressLines, &progress, &errors](const FileCount& record) {
        if (progressLines) {
            progress << "Parsing:\t" << utf8FromUtf16(printableName(record.path)) << '\n';
        }
        if (record.failed) {
            // The file's own line first, so that the two read together on a terminal.
            progress << std::flush;
            errors << countFailureLine(record) << '\n' << std::flush;
            unreadable_ += record.readError != 0 ? 1 : 0;
        }
    };
    CountRunner::Options options;
    options.threads = threads;
    options.settings = settings;
    session_ = runner_.start(options, callbacks);
}

void ConsoleCount::finish(ProjectFolder& folder) {
    std::vector<FileCount*> records;
    folder.CollectRecords(records);
    session_->handOver(records);
    progress_ << std::flush;
}

}  // namespace tw
