#include "report/HtmlReport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "TallyweaverVersion.h"
#include "engine/CountColumns.h"
#include "engine/FileCount.h"
#include "engine/Language.h"
#include "engine/TextConversion.h"
#include "report/PrintableName.h"
#include "report/TreemapLayout.h"
#include "report/TypeTotals.h"

namespace tw {
namespace {

constexpr std::size_t kListedFiles = 20;
constexpr std::size_t kListedFunctions = 20;
/// Rows of the failed and changed files; a note tells how many more there are.
constexpr std::size_t kMostRows = 500;

constexpr double kMapWidth = 1200;
constexpr double kMapHeight = 640;
/// The most rectangles of a treemap, whatever the size budget allows.
constexpr std::size_t kMostMapItems = 6000;
/// A folder this large gets a band at its top with its name.
constexpr double kHeaderHeight = 15;

/// `text` with the characters that mean something in HTML as references.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

/// A name or path as the reports show it, for HTML.
std::string shown(std::u16string_view text) {
    return escaped(utf8FromUtf16(printableName(text)));
}

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

std::string coordinate(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string percent(std::uint64_t value, std::uint64_t total) {
    char text[32];
    std::snprintf(
        text, sizeof text, "%.1f%%",
        total == 0 ? 0.0 : static_cast<double>(value) * 100.0 / static_cast<double>(total));
    return text;
}

/// The class that colours a file type.
std::string typeClass(FileType type) {
    return "t" + std::to_string(static_cast<int>(languageOf(type).type));
}

std::uint32_t totalOf(const FileCount& record) {
    return CountValues::of(record)[CountColumn::Total];
}

const char* const kStyle = R"(<style>
body{font:14px/1.4 system-ui,sans-serif;margin:16px 24px;color:#222;background:#fff}
h1{font-size:22px;margin:0 0 8px}h2{font-size:17px;margin:24px 0 8px}
table{border-collapse:collapse;margin:4px 0}th,td{padding:2px 9px;border-bottom:1px solid #ddd;text-align:left}
th{background:#f2f2f2}td.n,th.n{text-align:right;font-variant-numeric:tabular-nums}
tfoot th,tfoot td{border-top:2px solid #999;font-weight:bold}
dl{display:grid;grid-template-columns:max-content auto;gap:2px 16px;margin:0}dt{color:#555}dd{margin:0}
.sw{display:inline-block;width:11px;height:11px;margin-right:6px;border:1px solid #555;vertical-align:-1px}
.t0{fill:#f0a030;background:#f0a030}.t1{fill:#3d7fd9;background:#3d7fd9}.t2{fill:#43a047;background:#43a047}
.t3{fill:#c83c3c;background:#c83c3c}.t4,.t5{fill:#9e9e9e;background:#9e9e9e}
#treemap{width:100%;max-width:1200px;height:auto;border:1px solid #888;background:#fafafa;cursor:pointer}
#treemap rect{stroke:#fff;stroke-width:.6;vector-effect:non-scaling-stroke}
#treemap rect.d{fill:#e4e4e4;stroke:#777}#treemap rect.o{fill:#c9c9c9}
#treemap text{font-size:calc(11px / var(--k,1));fill:#111;pointer-events:none}#treemap text.h{font-weight:bold}
#treemap-bar{margin:4px 0}#treemap-where{margin-left:8px;color:#555}
.row{display:flex;flex-wrap:wrap;gap:0 40px;align-items:flex-start}.note{color:#555}.fail{color:#a00}
</style>)";

/// Clicking a folder zooms into it (the view box becomes the folder's rectangle, the labels keep
/// their size on screen); Back, Escape or a click on the shown folder's own band goes up a level.
const char* const kScript = R"(<script>
(function(){
var svg=document.getElementById('treemap');if(!svg)return;
var full=svg.getAttribute('viewBox'),top=svg.querySelector('g'),cur=top;
var back=document.getElementById('treemap-back'),where=document.getElementById('treemap-where');
function show(g){cur=g;var r=g.firstElementChild,f=full.split(' ');
svg.style.setProperty('--k',g===top?1:Math.min(f[2]/r.getAttribute('width'),f[3]/r.getAttribute('height')));
svg.setAttribute('viewBox',g===top?full:[r.getAttribute('x'),r.getAttribute('y'),r.getAttribute('width'),r.getAttribute('height')].join(' '));
back.disabled=g===top;where.textContent=g===top?'':r.getAttribute('data-path');}
function up(){if(cur!==top)show(cur.parentElement.closest('g'));}
svg.addEventListener('click',function(e){var g=e.target.closest('g');
if(g===cur&&e.target===cur.firstElementChild){up();return;}
while(g&&g.parentElement.closest('g')!==cur)g=g.parentElement.closest('g');
if(g&&g!==cur)show(g);});
back.addEventListener('click',up);
document.addEventListener('keydown',function(e){if(e.key==='Escape')up();});
back.hidden=false;
})();
</script>)";

void summarySection(std::string& out, const ProjectFolder& root, CountMode mode) {
    const CountValues sums = root.Sums(true);
    const std::uint32_t total = sums[CountColumn::Total];
    out += "<h2>Summary</h2>\n<table id=\"summary\"><tbody>\n";
    out += "<tr><th>Counted files</th><td class=\"n\">" + number(root.CountedRecords(true)) +
           "</td><td></td></tr>\n";
    out += "<tr><th>Uncounted files</th><td class=\"n\">" + number(root.UncountedRecords()) +
           "</td><td></td></tr>\n";
    out += "<tr><th>Failed files</th><td class=\"n\">" + number(root.FailedRecords(true)) +
           "</td><td></td></tr>\n";
    for (const CountColumnInfo& info : kCountColumns) {
        if (!shownInMode(info, mode)) {
            continue;
        }
        std::u16string label = info.column == CountColumn::Code
                                   ? std::u16string(countModeName(mode))
                                   : std::u16string(info.summaryLabel);
        while (!label.empty() && (label.back() == u'\t' || label.back() == u':')) {
            label.pop_back();
        }
        const std::uint32_t value = sums[info.column];
        out += "<tr><th>" + shown(label) + "</th><td class=\"n\">" + number(value) + "</td><td>" +
               (info.withShare ? percent(value, total) : std::string()) + "</td></tr>\n";
    }
    out += "</tbody></table>\n";
}

void typesSection(std::string& out, const ProjectFolder& root, CountMode mode) {
    const std::vector<TypeTotal> totals = typeTotals(root);
    out +=
        "<h2>By file type</h2>\n<table id=\"types\"><thead><tr><th>File type</th>"
        "<th class=\"n\">Files</th>";
    for (const CountColumn column : kTypeTableColumns) {
        out += "<th class=\"n\">" + escaped(typeTableHeading(column, mode)) + "</th>";
    }
    out += "<th class=\"n\">Total lines</th></tr></thead>\n<tbody>\n";
    std::uint32_t files = 0;
    CountValues sums;
    const auto cells = [&out](std::uint32_t fileCount, const CountValues& values) {
        out += "<td class=\"n\">" + number(fileCount) + "</td>";
        for (const CountColumn column : kTypeTableColumns) {
            out += "<td class=\"n\">" + number(values[column]) + "</td>";
        }
        out += "<td class=\"n\">" + number(values[CountColumn::Total]) + "</td></tr>\n";
    };
    for (const TypeTotal& total : totals) {
        out += "<tr><td><span class=\"sw " + typeClass(total.type) + "\"></span>" +
               shown(fileTypeName(total.type)) + "</td>";
        cells(total.files, total.sums);
        files += total.files;
        sums += total.sums;
    }
    out += "</tbody>\n<tfoot><tr><th>Total</th>";
    cells(files, sums);
    out += "</tfoot></table>\n";
}

/// One item of the treemap in `box`, with its items inside it.
class TreemapWriter {
  public:
    explicit TreemapWriter(std::string& out) : out_(out) {}

    void item(const TreemapItem& item, const TreemapBox& box) {
        if (box.width < 0.3 || box.height < 0.3) {
            return;  // too small to see or click: its lines stay in its folder's figures
        }
        const bool folder = item.kind == TreemapItem::Kind::Folder;
        if (folder) {
            out_ += "<g>";
        }
        out_ += "<rect class=\"";
        out_ += folder                                  ? "d"
                : item.kind == TreemapItem::Kind::Other ? "o"
                                                        : "f " + typeClass(item.type);
        out_ += "\" x=\"" + coordinate(box.x) + "\" y=\"" + coordinate(box.y) + "\" width=\"" +
                coordinate(box.width) + "\" height=\"" + coordinate(box.height) +
                "\" data-path=\"" + shown(item.path) + "\" data-lines=\"" + number(item.lines) +
                "\"";
        if (item.kind != TreemapItem::Kind::File) {
            out_ += " data-files=\"" + number(item.files) + "\"";
        }
        out_ += "><title>";
        if (item.kind == TreemapItem::Kind::Other) {
            out_ += number(item.files) + " smaller files in " + shown(item.path);
        } else {
            out_ += shown(item.path.empty() ? item.label : item.path);
        }
        out_ += "&#10;" + number(item.lines) + " lines";
        if (item.kind == TreemapItem::Kind::File) {
            out_ += ", " + shown(fileTypeName(item.type));
        } else {
            out_ += " in " + number(item.files) + (item.files == 1 ? " file" : " files");
        }
        out_ += "</title></rect>";

        if (!folder) {
            label(item.label, box, false);
            out_ += "\n";
            return;
        }
        TreemapBox inside{box.x + 1, box.y + 1, box.width - 2, box.height - 2};
        if (box.width >= 40 && box.height >= 3 * kHeaderHeight) {
            label(item.label, box, true);
            inside.y = box.y + kHeaderHeight;
            inside.height = box.height - kHeaderHeight - 1;
        }
        out_ += "\n";
        if (inside.width > 1 && inside.height > 1) {
            std::vector<double> values;
            for (const TreemapItem& child : item.children) {
                values.push_back(static_cast<double>(child.lines));
            }
            const std::vector<TreemapBox> boxes = squarify(values, inside);
            for (std::size_t i = 0; i < boxes.size(); ++i) {
                this->item(item.children[i], boxes[i]);
            }
        }
        out_ += "</g>\n";
    }

  private:
    /// The name at the top left of `box` when enough of it fits; cut short with an ellipsis.
    void label(const std::u16string& text, const TreemapBox& box, bool header) {
        constexpr double kCharWidth = 6.6;
        if (box.height < 13 || box.width < 24) {
            return;
        }
        const std::size_t fits = static_cast<std::size_t>((box.width - 6) / kCharWidth);
        std::u16string shownText = printableName(text);
        if (shownText.size() > fits) {
            if (fits < 4) {
                return;
            }
            shownText.resize(fits - 1);
            shownText += u"\u2026";
        }
        out_ += "<text" + std::string(header ? " class=\"h\"" : "") + " x=\"" +
                coordinate(box.x + 3) + "\" y=\"" + coordinate(box.y + 11.5) + "\">" +
                escaped(utf8FromUtf16(shownText)) + "</text>";
    }

    std::string& out_;
};

std::string treemapSvg(const TreemapItem& top) {
    std::string out = "<svg id=\"treemap\" viewBox=\"0 0 " + coordinate(kMapWidth) + " " +
                      coordinate(kMapHeight) +
                      "\" role=\"img\" aria-label=\"Treemap of the project's lines\">\n";
    if (top.lines > 0) {
        TreemapWriter(out).item(top, TreemapBox{0, 0, kMapWidth, kMapHeight});
    }
    out += "</svg>\n";
    return out;
}

/// The treemap in at most `budget` bytes and `kMostMapItems` items: small items merge into
/// larger "other" items until it fits.
std::string treemapSection(const ProjectFolder& root, std::size_t budget) {
    std::string svg;
    for (double minShare = 1.0 / 50000; minShare < 1; minShare *= 2) {
        const TreemapItem top = treemapTree(root, minShare);
        if (treemapItemCount(top) > kMostMapItems) {
            continue;  // more than a browser draws at once without keeping the reader waiting
        }
        svg = treemapSvg(top);
        if (svg.size() <= budget) {
            break;
        }
    }
    std::string out =
        "<h2>Treemap</h2>\n<p class=\"note\">Area in proportion to the total lines; "
        "colours by file type as in the table above. Click a folder to zoom into "
        "it.</p>\n<div id=\"treemap-bar\"><button id=\"treemap-back\" hidden "
        "disabled>Back</button><span id=\"treemap-where\"></span></div>\n";
    return out + svg;
}

void largestSection(std::string& out, const std::vector<const FileCount*>& records,
                    CountMode mode) {
    std::vector<const FileCount*> counted;
    for (const FileCount* record : records) {
        if (record->hasCounts()) {
            counted.push_back(record);
        }
    }
    const std::size_t listed = std::min(kListedFiles, counted.size());
    std::partial_sort(
        counted.begin(), counted.begin() + static_cast<std::ptrdiff_t>(listed), counted.end(),
        [](const FileCount* a, const FileCount* b) { return totalOf(*a) > totalOf(*b); });
    out += "<h2>The " + number(listed) +
           " largest files</h2>\n<table id=\"largest\"><thead><tr>"
           "<th>File</th><th>Type</th><th class=\"n\">Total lines</th><th class=\"n\">" +
           escaped(typeTableHeading(CountColumn::Code, mode)) +
           "</th><th class=\"n\">Comment lines</th><th class=\"n\">Blank lines</th></tr></thead>"
           "<tbody>\n";
    for (std::size_t i = 0; i < listed; ++i) {
        const CountValues values = CountValues::of(*counted[i]);
        out += "<tr><td>" + shown(counted[i]->path) + "</td><td>" +
               shown(fileTypeName(counted[i]->fileType)) + "</td><td class=\"n\">" +
               number(values[CountColumn::Total]) + "</td><td class=\"n\">" +
               number(values[CountColumn::Code]) + "</td><td class=\"n\">" +
               number(values[CountColumn::TotalComment]) + "</td><td class=\"n\">" +
               number(values[CountColumn::Blank]) + "</td></tr>\n";
    }
    out += "</tbody></table>\n";
}

void failedSection(std::string& out, const std::vector<const FileCount*>& records) {
    std::vector<const FileCount*> failed;
    for (const FileCount* record : records) {
        if (record->failed) {
            failed.push_back(record);
        }
    }
    if (failed.empty()) {
        return;
    }
    out +=
        "<h2>Failed files</h2>\n<table id=\"failed\"><thead><tr><th>File</th>"
        "<th class=\"n\">Line</th><th>Why</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < failed.size() && i < kMostRows; ++i) {
        out += "<tr><td>" + shown(failed[i]->path) + "</td><td class=\"n\">" +
               (failed[i]->errorLine > 0 ? number(static_cast<std::uint64_t>(failed[i]->errorLine))
                                         : std::string()) +
               "</td><td class=\"fail\">" + shown(failed[i]->remarks) + "</td></tr>\n";
    }
    out += "</tbody></table>\n";
    if (failed.size() > kMostRows) {
        out += "<p class=\"note\">and " + number(failed.size() - kMostRows) + " more</p>\n";
    }
}

void functionsSection(std::string& out, const std::vector<const FileCount*>& records) {
    struct Listed {
        const FileCount* record;
        const FunctionComplexity* function;
    };
    std::vector<Listed> functions;
    for (const FileCount* record : records) {
        if (record->hasCounts()) {
            for (const FunctionComplexity& function : record->functions) {
                functions.push_back({record, &function});
            }
        }
    }
    const std::size_t listed = std::min(kListedFunctions, functions.size());
    // The most complex first; among equals, in the project's order.
    std::stable_sort(functions.begin(), functions.end(), [](const Listed& a, const Listed& b) {
        return a.function->complexity > b.function->complexity;
    });
    out += "<h2>The " + number(listed) +
           " most complex functions</h2>\n<table id=\"functions\">"
           "<thead><tr><th>Function</th><th>File</th><th class=\"n\">Line</th>"
           "<th class=\"n\">Complexity</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < listed; ++i) {
        out += "<tr><td>" + shown(functions[i].function->name) + "</td><td>" +
               shown(functions[i].record->path) + "</td><td class=\"n\">" +
               number(functions[i].function->line) + "</td><td class=\"n\">" +
               number(functions[i].function->complexity) + "</td></tr>\n";
    }
    out += "</tbody></table>\n";
}

void diffSection(std::string& out, const VersionDiff& diff) {
    out += "<h2>Changes from " + escaped(diff.oldLabel) + " to " + escaped(diff.newLabel) +
           "</h2>\n<table id=\"diff\"><thead><tr><th>Lines</th><th class=\"n\">Same</th>"
           "<th class=\"n\">Modified</th><th class=\"n\">Added</th><th class=\"n\">Removed</th>"
           "</tr></thead><tbody>\n";
    const auto row = [&out](const char* name, const LineChanges& lines) {
        out += std::string("<tr><th>") + name + "</th><td class=\"n\">" + number(lines.same) +
               "</td><td class=\"n\">" + number(lines.modified) + "</td><td class=\"n\">" +
               number(lines.added) + "</td><td class=\"n\">" + number(lines.removed) +
               "</td></tr>\n";
    };
    row("Code", diff.totals.code);
    row("Comment", diff.totals.comment);
    row("Blank", diff.totals.blank);
    out += "</tbody></table>\n";

    std::vector<const FileDiff*> changed;
    for (const FileDiff& file : diff.files) {
        if (file.change != FileChange::Unchanged) {
            changed.push_back(&file);
        }
    }
    out +=
        "<h2>Changed files</h2>\n<table id=\"changed\"><thead><tr><th>File</th><th>Change</th>"
        "<th class=\"n\">Added lines</th><th class=\"n\">Modified lines</th>"
        "<th class=\"n\">Removed lines</th></tr></thead><tbody>\n";
    for (std::size_t i = 0; i < changed.size() && i < kMostRows; ++i) {
        const FileDiff& file = *changed[i];
        const auto sum = [&file](std::uint64_t LineChanges::*part) {
            return file.code.*part + file.comment.*part + file.blank.*part;
        };
        out += "<tr><td>" + shown(utf16FromUtf8(file.path)) + "</td><td>" +
               fileChangeName(file.change) + "</td><td class=\"n\">" +
               number(sum(&LineChanges::added)) + "</td><td class=\"n\">" +
               number(sum(&LineChanges::modified)) + "</td><td class=\"n\">" +
               number(sum(&LineChanges::removed)) + "</td></tr>\n";
    }
    out += "</tbody></table>\n";
    if (changed.size() > kMostRows) {
        out += "<p class=\"note\">and " + number(changed.size() - kMostRows) + " more</p>\n";
    }
}

void historySection(std::string& out, const std::vector<HistoryRow>& rows, CountMode mode) {
    constexpr double kWidth = 900;
    constexpr double kHeight = 260;
    constexpr double kLeft = 70;
    constexpr double kBottom = 30;
    std::uint32_t most = 1;
    for (const HistoryRow& row : rows) {
        most = std::max(most, row.values[CountColumn::Code]);
    }
    const std::string heading = escaped(typeTableHeading(CountColumn::Code, mode));
    out += "<h2>History: " + heading +
           " by revision</h2>\n<svg id=\"history\" "
           "viewBox=\"0 0 " +
           coordinate(kWidth) + " " + coordinate(kHeight) +
           "\" style=\"width:100%;max-width:900px;height:auto;font-size:11px\">\n";
    const double plotWidth = kWidth - kLeft - 20;
    const double plotHeight = kHeight - kBottom - 15;
    const auto x = [&](std::size_t i) {
        return kLeft + (rows.size() < 2 ? plotWidth / 2
                                        : plotWidth * static_cast<double>(i) /
                                              static_cast<double>(rows.size() - 1));
    };
    const auto y = [&](std::uint32_t value) {
        return 15 + plotHeight * (1 - static_cast<double>(value) / static_cast<double>(most));
    };
    out += "<line x1=\"" + coordinate(kLeft) + "\" y1=\"15\" x2=\"" + coordinate(kLeft) +
           "\" y2=\"" + coordinate(15 + plotHeight) + "\" stroke=\"#888\"/>";
    out += "<line x1=\"" + coordinate(kLeft) + "\" y1=\"" + coordinate(15 + plotHeight) +
           "\" x2=\"" + coordinate(kLeft + plotWidth) + "\" y2=\"" + coordinate(15 + plotHeight) +
           "\" stroke=\"#888\"/>\n";
    out += "<text x=\"" + coordinate(kLeft - 6) + "\" y=\"19\" text-anchor=\"end\">" +
           number(most) + "</text><text x=\"" + coordinate(kLeft - 6) + "\" y=\"" +
           coordinate(15 + plotHeight) + "\" text-anchor=\"end\">0</text>\n";
    std::string points;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        points += (i == 0 ? "" : " ") + coordinate(x(i)) + "," +
                  coordinate(y(rows[i].values[CountColumn::Code]));
    }
    out += "<polyline fill=\"none\" stroke=\"#3d7fd9\" stroke-width=\"2\" points=\"" + points +
           "\"/>\n";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::uint32_t value = rows[i].values[CountColumn::Code];
        out += "<circle cx=\"" + coordinate(x(i)) + "\" cy=\"" + coordinate(y(value)) +
               "\" r=\"3\" fill=\"#3d7fd9\" data-revision=\"" + escaped(rows[i].version.label) +
               "\" data-count=\"" + number(value) + "\"><title>" + escaped(rows[i].version.label) +
               ": " + number(value) + "</title></circle>\n";
    }
    // The first and last revisions' names under the axis.
    out += "<text x=\"" + coordinate(x(0)) + "\" y=\"" + coordinate(kHeight - 8) + "\">" +
           escaped(rows.front().version.label) + "</text>";
    if (rows.size() > 1) {
        out += "<text x=\"" + coordinate(x(rows.size() - 1)) + "\" y=\"" + coordinate(kHeight - 8) +
               "\" text-anchor=\"end\">" + escaped(rows.back().version.label) + "</text>";
    }
    out += "\n</svg>\n";
    out +=
        "<table id=\"revisions\"><thead><tr><th>Revision</th><th class=\"n\">Files</th>"
        "<th class=\"n\">Failed</th><th class=\"n\">" +
        heading + "</th><th class=\"n\">Total lines</th></tr></thead><tbody>\n";
    for (const HistoryRow& row : rows) {
        out += "<tr><td>" + escaped(row.version.label) + "</td><td class=\"n\">" +
               number(row.files) + "</td><td class=\"n\">" + number(row.failed) +
               "</td><td class=\"n\">" + number(row.values[CountColumn::Code]) +
               "</td><td class=\"n\">" + number(row.values[CountColumn::Total]) + "</td></tr>\n";
    }
    out += "</tbody></table>\n";
}

}  // namespace

std::size_t htmlReportBudget(std::size_t countedFiles) {
    return 300 * countedFiles + 256 * 1024;
}

std::string htmlReportDate(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string buildHtmlReport(const ProjectFolder& root, const CountSettings& settings,
                            const HtmlReportContext& context) {
    const CountMode mode = settings.mode;
    std::vector<const FileCount*> records;
    root.CollectRecords(records);

    std::string head =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width\">\n"
        "<title>Tallyweaver report</title>\n";
    head += kStyle;
    head += "\n</head>\n<body>\n<h1>Tallyweaver report</h1>\n";
    std::string run = "<dl id=\"run\">\n<dt>Counted</dt><dd>";
    if (context.counted.empty()) {
        std::string folders;
        for (const auto& folder : root.subfolders()) {
            folders += (folders.empty() ? "" : ", ") + shown(folder->FullPath());
        }
        run += number(root.TotalRecords()) + " files" + (folders.empty() ? "" : " in " + folders);
    } else {
        for (std::size_t i = 0; i < context.counted.size(); ++i) {
            run += (i == 0 ? "" : "<br>") + escaped(context.counted[i]);
        }
    }
    run += "</dd>\n<dt>Mode</dt><dd>" + escaped(utf8FromUtf16(countModeName(mode)));
    if (mode != CountMode::Physical) {
        std::string options;
        const auto option = [&options](bool on, const char* name) {
            if (on) {
                options += (options.empty() ? "" : ", ") + std::string(name);
            }
        };
        option(settings.allCapsFunctionsAsMacros, "all-capital functions as macros");
        option(settings.macrosAsStatements, "macros as statements");
        option(settings.logicAsSingleStatement, "logic as a single statement");
        if (!options.empty()) {
            run += " (" + escaped(options) + ")";
        }
    }
    run += "</dd>\n";
    if (!context.options.empty()) {
        run += "<dt>Options</dt><dd>" + escaped(context.options) + "</dd>\n";
    }
    run += "<dt>Date</dt><dd>" + escaped(context.date) + "</dd>\n<dt>Version</dt><dd>Tallyweaver " +
           escaped(TW_VERSION) + "</dd>\n</dl>\n";

    // A history run counts revisions, not a project of files.
    const bool project = root.TotalRecords() != 0 || context.history == nullptr;
    std::string body;
    std::string after;
    if (project) {
        // The run and the table by type beside the summary, so that the treemap comes soon.
        body += "<div class=\"row\"><div>\n" + run;
        typesSection(body, root, mode);
        body += "</div><div>\n";
        summarySection(body, root, mode);
        body += "</div></div>\n";
        largestSection(after, records, mode);
        failedSection(after, records);
        if (mode == CountMode::CyclomaticComplexity) {
            functionsSection(after, records);
        }
    } else {
        body += run;
    }
    if (context.diff != nullptr) {
        diffSection(after, *context.diff);
    }
    if (context.history != nullptr && !context.history->empty()) {
        historySection(after, *context.history, mode);
    }
    const std::string tail = std::string(kScript) + "\n</body>\n</html>\n";

    const std::size_t budget = htmlReportBudget(root.CountedRecords(true));
    const std::size_t used = head.size() + body.size() + after.size() + tail.size() + 1024;
    const std::size_t treemapBudget = used < budget ? budget - used : 0;
    return head + body + (project ? treemapSection(root, treemapBudget) : std::string()) + after +
           tail;
}

}  // namespace tw
