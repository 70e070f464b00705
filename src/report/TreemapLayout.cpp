#include "report/TreemapLayout.h"

#include <algorithm>
#include <limits>

#include "engine/CountColumns.h"
#include "engine/FileCount.h"

namespace tw {
namespace {

std::uint64_t totalLines(const FileCount& record) {
    return record.counted ? CountValues::of(record)[CountColumn::Total] : 0;
}

/// The item of `folder` with its children, before merging; empty items are left out.
TreemapItem folderItem(const ProjectFolder& folder) {
    TreemapItem item;
    item.path = folder.FullPath();
    item.label = folder.name();
    for (const auto& record : folder.files()) {
        const std::uint64_t lines = totalLines(*record);
        if (lines == 0) {
            continue;
        }
        item.children.push_back(TreemapItem{.kind = TreemapItem::Kind::File,
                                            .path = record->path,
                                            .label = std::u16string(record->fileName()),
                                            .lines = lines,
                                            .files = 1,
                                            .type = record->fileType,
                                            .children = {}});
    }
    for (const auto& subfolder : folder.subfolders()) {
        TreemapItem child = folderItem(*subfolder);
        if (child.lines == 0) {
            continue;
        }
        // A folder that holds only one folder folds into it.
        while (child.children.size() == 1 && child.children[0].kind == TreemapItem::Kind::Folder) {
            TreemapItem inner = std::move(child.children[0]);
            std::u16string label = child.label;
            appendPathComponent(label, inner.label);
            inner.label = std::move(label);
            child = std::move(inner);
        }
        item.children.push_back(std::move(child));
    }
    for (const TreemapItem& child : item.children) {
        item.lines += child.lines;
        item.files += child.files;
    }
    std::ranges::stable_sort(item.children, std::greater{}, &TreemapItem::lines);
    return item;
}

/// Merges the small items of every folder below `item` (itself included).
void mergeSmall(TreemapItem& item, std::uint64_t minLines) {
    const auto small = [minLines](const TreemapItem& child) { return child.lines < minLines; };
    if (std::ranges::count_if(item.children, small) >= 2) {
        TreemapItem other{.kind = TreemapItem::Kind::Other,
                          .path = item.path,
                          .label = u"other",
                          .lines = 0,
                          .files = 0,
                          .type = FileType::Undefined,
                          .children = {}};
        for (const TreemapItem& child : item.children) {
            if (small(child)) {
                other.lines += child.lines;
                other.files += child.files;
            }
        }
        std::erase_if(item.children, small);
        item.children.push_back(std::move(other));
        std::ranges::stable_sort(item.children, std::greater{}, &TreemapItem::lines);
    }
    for (TreemapItem& child : item.children) {
        if (child.kind == TreemapItem::Kind::Folder) {
            mergeSmall(child, minLines);
        }
    }
}

/// The worst ratio of long to short side in a row of `sum` laid along a side of `side`.
double worstRatio(double largest, double smallest, double sum, double side) {
    const double sideSquared = side * side;
    const double sumSquared = sum * sum;
    return std::max(sideSquared * largest / sumSquared, sumSquared / (sideSquared * smallest));
}

}  // namespace

TreemapItem treemapTree(const ProjectFolder& root, double minShare) {
    TreemapItem top = folderItem(root);
    top.label = u"Project";
    if (top.children.size() == 1 && top.children[0].kind == TreemapItem::Kind::Folder) {
        top = std::move(top.children[0]);
    }
    const double minLines = static_cast<double>(top.lines) * minShare;
    mergeSmall(top, static_cast<std::uint64_t>(minLines));
    return top;
}

std::size_t treemapItemCount(const TreemapItem& item) {
    std::size_t count = 1;
    for (const TreemapItem& child : item.children) {
        count += treemapItemCount(child);
    }
    return count;
}

std::vector<TreemapBox> squarify(std::span<const double> values, const TreemapBox& area) {
    std::vector<TreemapBox> boxes(values.size());
    double sum = 0;
    for (const double value : values) {
        sum += value;
    }
    if (sum <= 0 || area.width <= 0 || area.height <= 0) {
        for (TreemapBox& box : boxes) {
            box = TreemapBox{area.x, area.y, 0, 0};
        }
        return boxes;
    }
    const double scale = area.width * area.height / sum;
    TreemapBox free = area;
    std::size_t first = 0;
    while (first < values.size()) {
        // Along the shorter side: add items to the row while its worst ratio improves.
        const double side = std::min(free.width, free.height);
        double rowSum = values[first] * scale;
        std::size_t end = first + 1;
        double worst = rowSum > 0 ? worstRatio(rowSum, rowSum, rowSum, side)
                                  : std::numeric_limits<double>::infinity();
        while (end < values.size()) {
            const double next = values[end] * scale;
            if (next <= 0) {
                break;
            }
            const double ratio = worstRatio(values[first] * scale, next, rowSum + next, side);
            if (ratio > worst) {
                break;
            }
            worst = ratio;
            rowSum += next;
            ++end;
        }
        const bool alongWidth = free.width >= free.height;
        // The row's thickness across the free box; the last row takes the rest of it exactly,
        // so that rounding leaves no gap.
        const bool last = end == values.size() || values[end] <= 0;
        const double thickness =
            last ? (alongWidth ? free.width : free.height) : (side > 0 ? rowSum / side : 0);
        double offset = 0;
        for (std::size_t i = first; i < end; ++i) {
            const double share = rowSum > 0 ? values[i] * scale / rowSum : 0;
            const double length = side * share;
            boxes[i] = alongWidth ? TreemapBox{free.x, free.y + offset, thickness, length}
                                  : TreemapBox{free.x + offset, free.y, length, thickness};
            offset += length;
        }
        if (alongWidth) {
            free.x += thickness;
            free.width = std::max(0.0, free.width - thickness);
        } else {
            free.y += thickness;
            free.height = std::max(0.0, free.height - thickness);
        }
        first = end;
        while (first < values.size() && values[first] <= 0) {
            boxes[first] = TreemapBox{free.x, free.y, 0, 0};
            ++first;
        }
    }
    return boxes;
}

}  // namespace tw
