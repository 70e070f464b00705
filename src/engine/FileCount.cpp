#include "engine/FileCount.h"

#include "engine/CountColumns.h"
#include "engine/Language.h"

#include "engine/SourceFile.h"
#include "engine/SourceReader.h"
#include "engine/TextConversion.h"
#include "engine/WideChar.h"

namespace tw {

std::u16string_view fileNameOfPath(std::u16string_view path) {
    const std::size_t separator = path.rfind(u'/');
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

FileType fileTypeOfName(std::u16string_view name) {
    const std::size_t dot = name.rfind(u'.');
    if (dot == std::u16string_view::npos) {
        return FileType::Undefined;
    }
    std::u16string extension(name.substr(dot));
    for (char16_t& unit : extension) {
        unit = toLowerUnit(unit);
    }
    return fileTypeOfExtension(extension);
}

std::string diskPathOfPath(std::u16string_view path) {
    return utf8FromUtf16(path, LoneSurrogate::Unescape);
}

FileCount::FileCount(std::u16string_view path, std::string diskPath, Measure measure)
    : path(path), diskPath(std::move(diskPath)) {
    SourceFile file;
    if (measure == Measure::AtFirstCount) {
        detectEncodingOnCount_ = true;
    } else if (file.open(this->diskPath)) {
        sizeBytes = file.sizeBytes();
        encoding = detectEncoding(file);
    }
    fileType = fileTypeOfName(fileName());
}

FileCount::FileCount(std::u16string_view path) : FileCount(path, diskPathOfPath(path)) {}

std::u16string_view FileCount::fileName() const {
    return fileNameOfPath(path);
}

std::uint32_t FileCount::totalComment() const {
    return CountValues::of(*this)[CountColumn::TotalComment];
}

std::uint32_t FileCount::total() const {
    return CountValues::of(*this)[CountColumn::Total];
}

void FileCount::clearCounters() {
    functions.clear();
    for (const CountColumnInfo& info : kCountColumns) {
        if (info.counter != nullptr) {
            this->*info.counter = 0;
        }
    }
}

void FileCount::reset() {
    countSeconds = 0.0;
    counted = false;
    failed = false;
    clearCounters();
    remarks.clear();
    errorLine = -1;
    readError = 0;
}

}  // namespace tw
