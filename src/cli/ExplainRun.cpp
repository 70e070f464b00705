#include "cli/ExplainRun.h"

#include <memory>
#include <ostream>
#include <set>

#include "cli/ArgumentText.h"
#include "cli/ConsoleMessages.h"
#include "cli/ResultCode.h"
#include "cli/SameFiles.h"
#include "engine/FileCount.h"
#include "report/ExplainReport.h"

namespace tw {

int runExplain(const std::vector<std::u16string>& files, const CountSettings& settings, bool json,
               std::ostream& out, std::ostream& errors) {
    std::vector<std::unique_ptr<FileCount>> records;
    std::vector<std::unique_ptr<FileExplanation>> explanations;
    std::vector<ExplainedFile> explained;
    std::set<std::string> seen;
    SameFiles sameFiles;
    std::size_t unreadable = 0;
    for (const std::u16string& file : files) {
        const std::string diskPath = diskBytes(file);
        if (!seen.insert(diskPath).second) {
            continue;
        }
        if (const std::u16string* earlier = sameFiles.earlierPath(file)) {
            printWarning(errors, sameFileWarning(file, *earlier));
            continue;
        }
        auto& record =
            records.emplace_back(std::make_unique<FileCount>(displayText(file), diskPath));
        auto& explanation = explanations.emplace_back(std::make_unique<FileExplanation>());
        if (!record->explain(settings, *explanation)) {
            out << std::flush;
            errors << countFailureLine(*record) << '\n' << std::flush;
            unreadable += record->readError != 0 ? 1 : 0;
        }
        if (json) {
            explained.push_back({record.get(), explanation.get()});
        } else {
            // Text goes out file by file, so that a long list shows as it goes.
            out << (records.size() > 1 ? "\n" : "")
                << explainText({record.get(), explanation.get()}, settings.mode) << std::flush;
            explanations.back().reset();
        }
    }
    if (json) {
        out << explainJson(explained, settings) << std::flush;
    }
    if (unreadable != 0) {
        printError(errors, unreadableFilesError(unreadable));
        return kResultUnreadableFiles;
    }
    return kResultCompleted;
}

}  // namespace tw
