#include "cli/ExplainRun.h"

#include <memory>
#include <ostream>
#include <set>

#include "cli/ArgumentText.h"
#include "cli/ResultCode.h"
#include "engine/FileCount.h"
#include "report/ExplainReport.h"

namespace tw {

int runExplain(const std::vector<std::u16string>& files, const CountSettings& settings, bool json,
               std::ostream& out) {
    std::vector<std::unique_ptr<FileCount>> records;
    std::vector<std::unique_ptr<FileExplanation>> explanations;
    std::vector<ExplainedFile> explained;
    std::set<std::string> seen;
    for (const std::u16string& file : files) {
        const std::string diskPath = diskBytes(file);
        if (!seen.insert(diskPath).second) {
            continue;
        }
        auto& record =
            records.emplace_back(std::make_unique<FileCount>(displayText(file), diskPath));
        auto& explanation = explanations.emplace_back(std::make_unique<FileExplanation>());
        record->explain(settings, *explanation);
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
    return kResultCompleted;
}

}  // namespace tw
