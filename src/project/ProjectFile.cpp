#include "project/ProjectFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <tuple>
#include <vector>

#include "engine/CountColumns.h"
#include "engine/TextConversion.h"
#include "project/ArchiveString.h"
#include "project/ByteReader.h"
#include "project/ByteWriter.h"

namespace tw {
namespace {

// Sections after the last record. Each is a tag, the number of records as 32 bits, then one
// wide string per record in record order. A reader uses a section only when its count equals
// the number of records it read; anything else there is ignored like any trailing bytes.
constexpr std::size_t kTagSize = 8;
/// Each record's disk path: UTF-8 bytes as UTF-16, undecodable bytes as U+DC80..U+DCFF. Written
/// only when some record's path alone does not give its disk path back; earlier versions of
/// the program wrote it always, beside lower-cased paths.
constexpr std::string_view kDiskPathTag{"TWDISK01", kTagSize};
/// Each record's functions, in the Cyclomatic Complexity mode: for each function in order its
/// line, first line, last line and complexity in decimal, each followed by a space, then the
/// length of its name in code units, ':' and the name. A record without functions has the empty
/// string. Written after the disk paths, only in that mode and only when some record has a
/// function; readers that know only the disk paths skip it.
constexpr std::string_view kFunctionsTag{"TWFUNC01", kTagSize};

/// The folders a loaded project may have: this many, and one more for every so many bytes of
/// its file. A folder takes a few hundred bytes of memory, so loading a file of S bytes stays
/// within a small multiple of S.
constexpr std::size_t kFolderAllowance = 4096;
constexpr std::size_t kBytesPerFolder = 32;

constexpr std::size_t kCounterCount = std::tuple_size_v<decltype(kStoredCounters)>;

/// One record as the file holds it, before it goes into the tree.
struct StoredRecord {
    std::u16string path;
    std::int32_t fileType = 0;
    std::uint32_t sizeBytes = 0;
    std::int32_t encoding = 0;
    double countSeconds = 0.0;
    std::uint32_t counters[kCounterCount] = {};
    std::u16string remarks;
    bool counted = false;
    bool failed = false;
};

/// The disk path that a record's stored path gives when the file holds no disk paths: files of
/// other writers name folders with '\\'.
std::string diskPathOfStoredPath(std::u16string_view path) {
    std::u16string slashes(path);
    std::replace(slashes.begin(), slashes.end(), u'\\', u'/');
    return diskPathOfPath(slashes);
}

void writeRecord(ByteWriter& out, const FileCount& record) {
    writeArchiveString(out, record.path);
    out.writeI32(static_cast<std::int32_t>(record.fileType));
    out.writeU32(record.sizeBytes);
    out.writeI32(static_cast<std::int32_t>(record.encoding));
    out.writeDouble(record.countSeconds);
    for (const auto counter : kStoredCounters) {
        out.writeU32(record.*counter);
    }
    writeArchiveString(out, record.remarks);
    out.writeU32(record.counted ? 1 : 0);
    out.writeU32(record.failed ? 1 : 0);
}

/// A stored flag is set only by the value 1.
bool readFlag(ByteReader& in, bool& flag) {
    std::uint32_t value = 0;
    if (!in.readU32(value)) {
        return false;
    }
    flag = value == 1;
    return true;
}

ReadStatus readRecord(ByteReader& in, StoredRecord& record) {
    if (const ReadStatus status = readArchiveString(in, record.path); status != ReadStatus::Ok) {
        return status;
    }
    bool complete = in.readI32(record.fileType) && in.readU32(record.sizeBytes) &&
                    in.readI32(record.encoding) && in.readDouble(record.countSeconds);
    for (std::uint32_t& counter : record.counters) {
        complete = complete && in.readU32(counter);
    }
    if (!complete) {
        return ReadStatus::EndOfData;
    }
    if (const ReadStatus status = readArchiveString(in, record.remarks); status != ReadStatus::Ok) {
        return status;
    }
    return readFlag(in, record.counted) && readFlag(in, record.failed) ? ReadStatus::Ok
                                                                       : ReadStatus::EndOfData;
}

void writeSection(ByteWriter& out, std::string_view tag, const std::vector<std::u16string>& texts) {
    out.writeBytes(tag);
    out.writeU32(static_cast<std::uint32_t>(texts.size()));
    for (const auto& text : texts) {
        writeArchiveString(out, text);
    }
}

/// The sections after the records, each as the texts of its records; a section the file does
/// not hold, or one that does not fit, is empty.
struct StoredSections {
    std::vector<std::u16string> diskPaths;
    std::vector<std::u16string> functions;
};

/// Reads the sections after the records. Sections of other tags, as older versions wrote them,
/// are skipped, and a damaged one ends the reading, keeping the sections read before it: the
/// load itself never fails here.
StoredSections readSections(ByteReader& in, std::size_t recordCount) {
    StoredSections sections;
    if (recordCount == 0) {
        return sections;
    }
    for (;;) {
        std::string_view tag;
        std::uint32_t count = 0;
        if (!in.readBytes(kTagSize, tag) || !in.readU32(count) || count != recordCount) {
            return sections;
        }
        std::vector<std::u16string> texts;
        texts.reserve(recordCount);
        for (std::uint32_t i = 0; i < count; ++i) {
            std::u16string text;
            if (readArchiveString(in, text) != ReadStatus::Ok) {
                return sections;
            }
            texts.push_back(std::move(text));
        }
        if (tag == kDiskPathTag && sections.diskPaths.empty()) {
            sections.diskPaths = std::move(texts);
        } else if (tag == kFunctionsTag && sections.functions.empty()) {
            sections.functions = std::move(texts);
        }
    }
}

std::u16string decimalText(std::uint32_t value) {
    return utf16FromUtf8(std::to_string(value));
}

/// The text of `functions` in the functions section.
std::u16string functionsText(const std::vector<FunctionComplexity>& functions) {
    std::u16string text;
    for (const FunctionComplexity& function : functions) {
        for (const std::uint32_t number :
             {function.line, function.firstLine, function.lastLine, function.complexity}) {
            text += decimalText(number) + u' ';
        }
        text +=
            decimalText(static_cast<std::uint32_t>(function.name.size())) + u':' + function.name;
    }
    return text;
}

/// A decimal number of at most 32 bits at `at`, ending with `end`, which is passed over.
bool readNumber(std::u16string_view text, std::size_t& at, char16_t end, std::uint32_t& number) {
    std::uint64_t value = 0;
    const std::size_t start = at;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9') {
        value = value * 10 + static_cast<std::uint64_t>(text[at] - u'0');
        if (value > 0xFFFFFFFFu) {
            return false;
        }
        ++at;
    }
    if (at == start || at >= text.size() || text[at] != end) {
        return false;
    }
    ++at;
    number = static_cast<std::uint32_t>(value);
    return true;
}

/// The functions of one record from its text in the functions section; false when the text is
/// not of that form.
bool parseFunctions(std::u16string_view text, std::vector<FunctionComplexity>& functions) {
    std::size_t at = 0;
    while (at < text.size()) {
        FunctionComplexity function;
        std::uint32_t nameLength = 0;
        if (!readNumber(text, at, u' ', function.line) ||
            !readNumber(text, at, u' ', function.firstLine) ||
            !readNumber(text, at, u' ', function.lastLine) ||
            !readNumber(text, at, u' ', function.complexity) || function.complexity == 0 ||
            !readNumber(text, at, u':', nameLength) || nameLength > text.size() - at) {
            return false;
        }
        function.name = text.substr(at, nameLength);
        at += nameLength;
        functions.push_back(std::move(function));
    }
    return true;
}

/// Every record's functions from the functions section; empty when a text of it is damaged,
/// as if the file had none.
std::vector<std::vector<FunctionComplexity>> parseFunctionsSection(
    const std::vector<std::u16string>& texts) {
    std::vector<std::vector<FunctionComplexity>> lists(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (!parseFunctions(texts[i], lists[i])) {
            return {};
        }
    }
    return lists;
}

void clearTree(ProjectFolder& root) {
    root.DeleteAllRecords();
    root.DeleteAllSubfolders();
}

ProjectLoadResult damaged(std::u16string_view message) {
    return {ProjectLoadStatus::Damaged, std::u16string(message), {}};
}

std::u16string withFileName(std::u16string_view text, const std::string& fileName) {
    std::u16string message(text);
    const std::size_t marker = message.find(u"%1");
    if (marker != std::u16string::npos) {
        // A name for a message box: no control character may break its lines.
        std::u16string name = utf16FromUtf8(fileName);
        std::replace_if(
            name.begin(), name.end(), [](char16_t c) { return c < u' '; }, u'?');
        message.replace(marker, 2, name);
    }
    return message;
}

/// The message for a file that could not be read (`saving` false) or written, by its errno.
std::u16string fileErrorMessage(int error, const std::string& fileName, bool saving) {
    switch (error) {
        case ENOENT:
            return withFileName(saving ? u"%1 contains an incorrect path." : u"%1 was not found.",
                                fileName);
        case ENOTDIR:
        case ENAMETOOLONG:
        case EINVAL:
        case ELOOP:
            return withFileName(u"%1 contains an incorrect path.", fileName);
        case EACCES:
        case EPERM:
        case EISDIR:
            return withFileName(u"Access to %1 was denied.", fileName);
        case EROFS:
        case ETXTBSY:
        case EBUSY:
            if (saving) {
                return withFileName(
                    u"Unable to write to %1, it is read-only or opened by someone else.", fileName);
            }
            break;
        default:
            break;
    }
    return std::u16string(saving ? ProjectFile::kFailedToSave : ProjectFile::kFailedToOpen);
}

}  // namespace

std::string ProjectFile::store(const ProjectFolder& root, const CountSettings& settings) {
    std::vector<const FileCount*> records;
    root.CollectRecords(records);

    ByteWriter out;
    out.writeU32(static_cast<std::uint32_t>(records.size()));
    out.writeI32(static_cast<std::int32_t>(settings.mode));
    out.writeU32(settings.allCapsFunctionsAsMacros ? 1 : 0);
    out.writeU32(settings.macrosAsStatements ? 1 : 0);
    out.writeU32(settings.logicAsSingleStatement ? 1 : 0);
    bool pathsNameTheirFiles = true;
    for (const FileCount* record : records) {
        writeRecord(out, *record);
        pathsNameTheirFiles =
            pathsNameTheirFiles && diskPathOfStoredPath(record->path) == record->diskPath;
    }
    if (!pathsNameTheirFiles) {
        std::vector<std::u16string> diskPaths;
        diskPaths.reserve(records.size());
        for (const FileCount* record : records) {
            diskPaths.push_back(utf16FromUtf8(record->diskPath, InvalidUtf8::Escape));
        }
        writeSection(out, kDiskPathTag, diskPaths);
    }
    if (settings.mode == CountMode::CyclomaticComplexity &&
        std::ranges::any_of(records,
                            [](const FileCount* record) { return !record->functions.empty(); })) {
        std::vector<std::u16string> functions;
        functions.reserve(records.size());
        for (const FileCount* record : records) {
            functions.push_back(functionsText(record->functions));
        }
        writeSection(out, kFunctionsTag, functions);
    }
    return out.take();
}

ProjectLoadResult ProjectFile::load(std::string_view bytes, ProjectFolder& root,
                                    CountSettings& settings) {
    clearTree(root);
    if (bytes.empty()) {
        return {ProjectLoadStatus::EmptyFile, {}, {}};
    }
    try {
        ByteReader in(bytes);
        std::uint32_t announced = 0;
        std::int32_t mode = 0;
        CountSettings loaded;
        if (!in.readU32(announced) || !in.readI32(mode) ||
            !readFlag(in, loaded.allCapsFunctionsAsMacros) ||
            !readFlag(in, loaded.macrosAsStatements) ||
            !readFlag(in, loaded.logicAsSingleStatement)) {
            return damaged(kUnexpectedFormat);
        }
        loaded.mode = static_cast<CountMode>(mode);

        // The count is signed in the file: a negative one announces no records. The vector
        // grows only with records actually read, so a false count cannot make it allocate.
        std::vector<StoredRecord> records;
        for (std::int32_t i = 0; i < static_cast<std::int32_t>(announced); ++i) {
            StoredRecord record;
            const ReadStatus status = readRecord(in, record);
            if (status != ReadStatus::Ok) {
                return damaged(status == ReadStatus::EndOfData ? kUnexpectedFormat : kFailedToOpen);
            }
            records.push_back(std::move(record));
        }
        const StoredSections sections = readSections(in, records.size());
        std::vector<std::string> diskPaths;
        diskPaths.reserve(sections.diskPaths.size());
        for (const std::u16string& text : sections.diskPaths) {
            diskPaths.push_back(utf8FromUtf16(text, LoneSurrogate::Unescape));
        }
        // Only a count in the Cyclomatic Complexity mode has functions.
        std::vector<std::vector<FunctionComplexity>> functions =
            loaded.mode == CountMode::CyclomaticComplexity
                ? parseFunctionsSection(sections.functions)
                : std::vector<std::vector<FunctionComplexity>>();

        // A project of real files needs far fewer folders than its file has bytes; a file
        // that asks for more is no project, and would take memory out of all proportion.
        ProjectFolder::FolderBudget folderBudget{kFolderAllowance + bytes.size() / kBytesPerFolder};
        for (std::size_t i = 0; i < records.size(); ++i) {
            const StoredRecord& stored = records[i];
            // The disk path names the file; the record shows it as the user gave it. Files
            // of earlier versions hold lower-cased paths beside it, which are not used.
            std::string diskPath =
                diskPaths.empty() ? diskPathOfStoredPath(stored.path) : diskPaths[i];
            const std::u16string place = utf16FromUtf8(diskPath);
            FileCount* record = root.AddFilePath(place, std::move(diskPath),
                                                 FileCount::Measure::Now, &folderBudget);
            if (folderBudget.exceeded) {
                clearTree(root);
                return damaged(kUnexpectedFormat);
            }
            if (record == nullptr) {
                continue;  // an empty path, or a path loaded already: the first one wins
            }
            record->fileType = static_cast<FileType>(stored.fileType);
            record->sizeBytes = stored.sizeBytes;
            record->encoding = static_cast<TextEncoding>(stored.encoding);
            record->countSeconds = stored.countSeconds;
            for (std::size_t c = 0; c < kCounterCount; ++c) {
                record->*kStoredCounters[c] = stored.counters[c];
            }
            record->remarks = stored.remarks;
            record->counted = stored.counted;
            record->failed = stored.failed;
            if (!functions.empty()) {
                record->functions = std::move(functions[i]);
            }
        }
        settings = loaded;
        return {ProjectLoadStatus::Loaded, {}, {}};
    } catch (const std::bad_alloc&) {
        clearTree(root);
        return damaged(kFailedToOpen);
    }
}

ProjectSaveResult ProjectFile::save(const std::string& fileName, const ProjectFolder& root,
                                    const CountSettings& settings, FileSystemCalls& calls) {
    const int error = writeFileReplacing(fileName, store(root, settings), calls);
    switch (error) {
        case 0:
            return {};
        case kNotARegularFile:
            return {ProjectSaveStatus::Failed,
                    withFileName(u"Unable to write to %1, it is not a regular file.", fileName),
                    "it is not a regular file (a device, a pipe or a socket)"};
        case kReadOnlyFile:
            return {
                ProjectSaveStatus::Failed,
                withFileName(u"Unable to write to %1, it is read-only or opened by someone else.",
                             fileName),
                "the file is read-only"};
        default:
            return {ProjectSaveStatus::Failed, fileErrorMessage(error, fileName, true),
                    std::strerror(error)};
    }
}

ProjectLoadResult ProjectFile::open(const std::string& fileName, ProjectFolder& root,
                                    CountSettings& settings, FileSystemCalls& calls) {
    std::string bytes;
    if (const int error = readWholeFile(fileName, bytes, calls); error != 0) {
        return {ProjectLoadStatus::Unreadable, fileErrorMessage(error, fileName, false),
                std::strerror(error)};
    }
    return load(bytes, root, settings);
}

}  // namespace tw
