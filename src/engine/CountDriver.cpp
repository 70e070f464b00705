// FileCount::count(): the fixed chain of stages that counts one file.
#include <chrono>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/CountSettings.h"
#include "engine/CountTrace.h"
#include "engine/FileCount.h"
#include "engine/Language.h"
#include "engine/LineClassifier.h"
#include "engine/LogicalParser.h"
#include "engine/LogicalPreparser.h"
#include "engine/PhysicalPreparser.h"
#include "engine/ResourceScriptCounter.h"
#include "engine/SourceReader.h"
#include "engine/TextConversion.h"

namespace tw {
namespace {

/// Ends a failed count: the failing stage's prefix before its message, then the line.
bool failCount(FileCount& record, std::u16string_view prefix) {
    record.remarks.insert(0, prefix);
    if (record.errorLine != -1) {
        record.remarks += u" (line " + utf16FromUtf8(std::to_string(record.errorLine)) + u").";
    }
    record.counted = false;
    record.failed = true;
    record.countSeconds = 0.0;
    return false;
}

/// Fills the explanation's lines: their places in the text, the classes `kinds` holds for
/// them and, when the count succeeded, what the trace noted on each (a failed count counts
/// nothing).
void explainLines(const SourceText& text, const std::vector<LineType>& kinds,
                  const CountTrace& trace, const CountSettings& settings, bool counted,
                  FileExplanation& explanation) {
    std::size_t line = 0;
    forEachLine(explanation.text, [&](std::size_t start, std::size_t length) {
        if (line < kinds.size()) {
            explanation.lines.push_back({start, length, kinds[line], 0, 0, 0});
        }
        ++line;
    });
    if (!counted) {
        return;
    }
    for (const CountTrace::Note& note : trace.notes()) {
        const auto index = static_cast<std::size_t>(lineOfPosition(text, note.position) - 1);
        if (index >= explanation.lines.size()) {
            continue;
        }
        FileExplanation::Line& where = explanation.lines[index];
        switch (note.kind) {
            case TraceKind::Statement:
                where.statements += note.count;
                break;
            case TraceKind::ConditionOperators:
                where.statements += settings.logicAsSingleStatement ? 0 : note.count;
                break;
            case TraceKind::Declaration:
                where.declarations += note.count;
                break;
            case TraceKind::Directive:
                where.directives += note.count;
                break;
        }
    }
}

}  // namespace

bool FileCount::count(const CountSettings& settings, CountMemoryGate* gate) {
    return countOrExplain(settings, gate, nullptr, nullptr);
}

bool FileCount::explain(const CountSettings& settings, FileExplanation& explanation) {
    explanation = FileExplanation{};
    return countOrExplain(settings, nullptr, &explanation, nullptr);
}

bool FileCount::countHeld(const HeldFile& held, const CountSettings& settings,
                          CountMemoryGate* gate) {
    return countOrExplain(settings, gate, nullptr, &held);
}

bool FileCount::explainHeld(const HeldFile& held, const CountSettings& settings,
                            FileExplanation& explanation) {
    explanation = FileExplanation{};
    return countOrExplain(settings, nullptr, &explanation, &held);
}

bool FileCount::countOrExplain(const CountSettings& settings, CountMemoryGate* gate,
                               FileExplanation* explanation, const HeldFile* held) {
    const auto start = std::chrono::steady_clock::now();
    countSeconds = 0.0;
    counted = false;
    failed = true;
    errorLine = -1;
    readError = 0;
    remarks.clear();
    // Running out of memory on one huge file fails that file alone; the caller goes on.
    try {
        if (countStages(start, settings, gate, explanation, held)) {
            return true;
        }
    } catch (const std::bad_alloc&) {
        remarks = u"Not enough memory to count the file.";
        errorLine = -1;
    } catch (const std::exception&) {
        remarks = u"Failed to count the file.";
        errorLine = -1;
    }
    // A failed file keeps its failure text and line, and no partial counts.
    clearCounters();
    counted = false;
    failed = true;
    countSeconds = 0.0;
    return false;
}

bool FileCount::countStages(std::chrono::steady_clock::time_point start,
                            const CountSettings& settings, CountMemoryGate* gate,
                            FileExplanation* explanation, const HeldFile* held) {
    SourceFile file;
    if (!(held != nullptr ? file.open(*held) : file.open(diskPath))) {
        remarks = u"Failed to open file.";
        readError = file.error();
        return false;
    }
    struct Room {
        CountMemoryGate* gate;
        std::uint64_t bytes;
        ~Room() {
            if (gate != nullptr) {
                gate->leave(bytes);
            }
        }
    } room{gate, file.byteLength()};
    if (gate != nullptr) {
        gate->enter(room.bytes);
    }
    sizeBytes = file.sizeBytes();
    clearCounters();

    // One text per thread, reused: a count allocates nothing once its buffers have grown.
    thread_local SourceText text;
    struct Release {
        SourceText& text;
        ~Release() {
            releaseIfHuge(text.chars);
            releaseIfHuge(text.lineFeeds);
            releaseIfHuge(text.literalLineFeeds);
            releaseIfHuge(text.conditionals);
        }
    } release{text};
    // A record not yet measured, or counted from bytes held in memory, takes its encoding from
    // the bytes read to count it.
    const EncodingSource encodingSource = detectEncodingOnCount_ || held != nullptr
                                              ? EncodingSource::ByteOrderMark
                                              : EncodingSource::Record;
    detectEncodingOnCount_ = false;
    if (!readSourceText(*this, file, text, encodingSource)) {
        return failCount(*this, u"Failed to read source code from file: ");
    }
    file.close();
    // An explanation keeps the text as read and what the stages note; it is filled in when the
    // count ends, however it ends.
    std::optional<CountTrace> trace;
    std::vector<LineType> kinds;
    struct Explain {
        const FileCount& record;
        const SourceText& text;
        const std::vector<LineType>& kinds;
        const std::optional<CountTrace>& trace;
        const CountSettings& settings;
        FileExplanation* explanation;
        ~Explain() {
            if (explanation != nullptr) {
                explainLines(text, kinds, *trace, settings, record.counted, *explanation);
            }
        }
    } explain{*this, text, kinds, trace, settings, explanation};
    if (explanation != nullptr) {
        explanation->text.assign(text.chars, 0, text.size() - 1);
        trace.emplace(text.chars);
    }
    if (!preparsePhysical(text, *this)) {
        return failCount(*this, u"Physical pre-parser failure: ");
    }
    if (!classifyPhysicalLines(text, *this, settings.mode,
                               explanation != nullptr ? &kinds : nullptr)) {
        return failCount(*this, u"Physical parser failure: ");
    }
    if (!preparseLogical(*this, text, settings.mode)) {
        return failCount(*this, u"Logical pre-parser failure: ");
    }
    if (settings.mode != CountMode::Physical) {
        if (languageOf(fileType).logicalCount == LogicalCount::NonBlankLines) {
            if (!parseResourceScriptLogical(text, *this)) {
                return failCount(*this, u"Resource script logical parser failure: ");
            }
        } else if (!parseLogical(text, *this, settings)) {
            return failCount(*this, u"Logical parser failure: ");
        }
    }

    counted = true;
    failed = false;
    countSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return true;
}

}  // namespace tw
