#include "engine/FileCount.h"

#include "engine/SourceFile.h"
#include "engine/SourceReader.h"
#include "engine/TextConversion.h"
#include "engine/WideChar.h"

namespace tw {

std::u16string_view fileNameOfPath(std::u16string_view path) {
    const std::size_t separator = path.find_last_of(u"/\\");
    return separator == std::u16string_view::npos ? path : path.substr(separator + 1);
}

std::u16string lowerCasePath(std::u16string_view path) {
    std::u16string lower(path);
    for (char16_t& unit : lower) {
        unit = toLowerUnit(unit);
    }
    return lower;
}

std::string diskPathOfPath(std::u16string_view path) {
    std::u16string slashes(path);
    for (char16_t& unit : slashes) {
        if (unit == u'\\') {
            unit = u'/';
        }
    }
    return utf8FromUtf16(slashes, LoneSurrogate::Unescape);
}

FileCount::FileCount(std::u16string_view path, std::string diskPath, Measure measure)
    : path(lowerCasePath(path)), diskPath(std::move(diskPath)) {
    SourceFile file;
    if (measure == Measure::AtFirstCount) {
        detectEncodingOnCount_ = true;
    } else if (file.open(this->diskPath)) {
        sizeBytes = file.sizeBytes();
        encoding = detectEncoding(file);
    }
    const std::u16string_view name = fileName();
    const std::size_t dot = name.rfind(u'.');
    fileType = dot == std::u16string_view::npos ? FileType::Undefined
                                                : fileTypeOfExtension(name.substr(dot));
}

FileCount::FileCount(std::u16string_view path) : FileCount(path, diskPathOfPath(path)) {}

std::u16string_view FileCount::fileName() const {
    return fileNameOfPath(path);
}

void FileCount::clearCounters() {
    code = declaration = directive = 0;
    commentOwnLine = commentCodeLine = commentBanner = commentWords = commentBlank = blank = 0;
}

void FileCount::reset() {
    countSeconds = 0.0;
    counted = false;
    failed = false;
    clearCounters();
    remarks.clear();
    errorLine = -1;
}

}  // namespace tw
