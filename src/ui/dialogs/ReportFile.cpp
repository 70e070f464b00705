#include "ui/dialogs/ReportFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "ui/common/MessageBox.h"

namespace tw::ui {

QString withExtension(const QString& fileName, const QString& extension) {
    const qsizetype period = fileName.lastIndexOf(QLatin1Char('.'));
    if (period < 0) {
        return fileName + extension;
    }
    return fileName.left(period) + extension;
}

QString reportFilePath(const QString& directory, const QString& fileName) {
    if (directory.endsWith(QLatin1Char('/')) || directory.endsWith(QLatin1Char('\\'))) {
        return directory + fileName;
    }
    return directory + QLatin1Char('/') + fileName;
}

ReportWrite writeReportFile(const QString& path,
                            const std::function<void(const ReportBytes&)>& produce) {
    ReportWrite result;
    const auto systemReason = [] { return QString::fromLocal8Bit(std::strerror(errno)); };

    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (file == nullptr) {
        result.status = ReportWrite::Status::OpenFailed;
        result.reason = systemReason();
        return result;
    }
    bool written = true;
    produce([file, &written](std::string_view bytes) {
        written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return written;
    });
    written = written && std::fflush(file) == 0;
    if (!written) {
        result.status = ReportWrite::Status::WriteFailed;
        result.reason = systemReason();
        std::fclose(file);
        return result;
    }
    if (std::fclose(file) != 0) {
        result.status = ReportWrite::Status::WriteFailed;
        result.reason = systemReason();
    }
    return result;
}

QString reportWriteMessage(const QString& path, const ReportWrite& result) {
    switch (result.status) {
        case ReportWrite::Status::OpenFailed:
            return QStringLiteral("Failed to open file \"") + printableInMessage(path) +
                   QStringLiteral("\" for writing:\r\n\r\n") + result.reason;
        case ReportWrite::Status::WriteFailed:
            return QStringLiteral("Failed to write file \"") + printableInMessage(path) +
                   QStringLiteral("\":\r\n\r\n") + result.reason;
        case ReportWrite::Status::Written:
            break;
    }
    return QString();
}

}  // namespace tw::ui
