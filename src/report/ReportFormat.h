#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/CountSettings.h"
#include "project/ProjectFolder.h"
#include "report/ReportLayout.h"

namespace tw {

/// How the lines of a text report end in its bytes: CR LF in a file people open, a line feed
/// alone on standard output, where other programs read it. A format whose lines always end one
/// way (JSON) ignores it.
enum class ReportLineEnds { File, StandardOutput };

/// Receives a report's bytes piece by piece, in order; returns false to end the report there.
using ReportBytes = std::function<bool(std::string_view piece)>;

/// One report format: what names its files, which row layouts it has, and its writer. The
/// console run, `--help`, the completion and the Generate Report dialog all read the table, so
/// a new format is one row here and its writer.
struct ReportFormat {
    ReportFormatId id;
    /// The format's name; the report word that chooses it, where one does ("csv", "json").
    std::string_view name;
    /// The extension of its files, with the '.'.
    std::string_view extension;
    /// What the format is for, one or two sentences (the dialog's tooltip).
    std::string_view description;
    /// Whether its rows can be a list of paths or file names, and whether a folder tree. A
    /// format with neither holds the whole project as data and has no layout to choose.
    bool list;
    bool tree;
    /// Writes the report of the project below `root` as the file's bytes; false when `output`
    /// ended it early.
    bool (*write)(const ProjectFolder& root, const CountSettings& settings,
                  const ReportLayout& layout, ReportLineEnds lineEnds, const ReportBytes& output);
    /// The Generate Report dialog offers it. The functions list is the console's alone until
    /// the desktop shows functions; its rows stand after the dialog's.
    bool dialog = true;
};

/// The report formats of the Generate Report dialog, the default (text) first.
std::span<const ReportFormat> reportFormats();

/// Every report format: those of the dialog, then the console's own.
std::span<const ReportFormat> allReportFormats();

/// The row of `id`.
const ReportFormat& reportFormat(ReportFormatId id);

/// Whether `format` can lay out its rows as a list (`listStyle`) or as a tree; a format without
/// rows of names takes either, since it ignores them.
bool formatTakesStyle(const ReportFormat& format, bool listStyle);

/// One word of the console's `-report` option. A word either chooses the report, replacing an
/// earlier choice (`none` chooses none), or changes the report chosen by the word named in
/// `after` (`csv` and `nodir` after `list`).
struct ReportWord {
    std::string_view word;
    /// Empty for a word that chooses the report; else the word it must follow.
    std::string_view after;
    /// What a word that changes the report does, for `--help`; empty for the others.
    std::string_view note;
    /// The report after this word: `report` is the one chosen so far, none when empty.
    void (*apply)(std::optional<ReportLayout>& report);
};

/// Every report word, in the order `--help` names them.
std::span<const ReportWord> reportWords();

/// The word's row, or null for a word that is not a report word.
const ReportWord* findReportWord(std::u16string_view word);

}  // namespace tw
