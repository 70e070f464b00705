#include "cli/ConsoleCounting.h"

#include <ostream>
#include <vector>

#include "engine/TextConversion.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

bool bannerPrinted = false;

}  // namespace

ConsoleCount::ConsoleCount(const CountSettings& settings, bool showProgress, bool quiet,
                           unsigned threads, std::ostream& progress, FailedCountTable& failures)
    : progress_(progress), runner_(failures, resultsLock_) {
    if (!bannerPrinted) {
        bannerPrinted = true;
        progress << "Working.  Please wait...\n" << std::flush;
    }
    CountRunCallbacks callbacks;
    if (showProgress && !quiet) {
        callbacks.done = [&progress](const FileCount& record) {
            progress << "Parsing:\t" << utf8FromUtf16(printableName(record.path)) << '\n';
        };
    }
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
