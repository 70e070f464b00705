#include "cli/ConsoleCounting.h"

#include <mutex>
#include <ostream>
#include <vector>

#include "engine/TextConversion.h"
#include "project/CountRunner.h"
#include "report/PrintableName.h"

namespace tw {
namespace {

bool bannerPrinted = false;

}  // namespace

void CountAllForConsole(ProjectFolder& folder, const CountSettings& settings, bool showProgress,
                        bool quiet, unsigned threads, std::ostream& progress,
                        FailedCountTable& failures) {
    if (!bannerPrinted) {
        bannerPrinted = true;
        progress << "Working.  Please wait...\n" << std::flush;
    }
    std::vector<FileCount*> records;
    folder.CollectRecords(records);

    std::mutex resultsLock;
    CountRunner runner(failures, resultsLock);
    CountRunCallbacks callbacks;
    if (showProgress && !quiet) {
        callbacks.done = [&progress](const FileCount& record) {
            progress << "Parsing:\t" << utf8FromUtf16(printableName(record.path)) << '\n';
        };
    }
    CountRunner::Options options;
    options.threads = threads;
    options.settings = settings;
    runner.run(records, options, callbacks);
    progress << std::flush;
}

}  // namespace tw
