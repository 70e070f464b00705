#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/FileType.h"
#include "project/ProjectFolder.h"

namespace tw {

/// One rectangle of a treemap: a folder (a chain of folders that each hold only the next one
/// folds into one), a file, or the small items of a folder merged into one.
struct TreemapItem {
    enum class Kind : std::uint8_t { Folder, File, Other };
    Kind kind = Kind::Folder;
    /// The folder's or file's path as the reports show it; for merged items, their folder's.
    std::u16string path;
    /// What the rectangle is labelled: the file name, the folded folder names ("src/net").
    std::u16string label;
    /// Total lines of the counted files it stands for.
    std::uint64_t lines = 0;
    /// Counted files it stands for (1 for a file).
    std::uint32_t files = 0;
    /// A file's type, which colours it.
    FileType type = FileType::Undefined;
    /// A folder's items, the most lines first.
    std::vector<TreemapItem> children;
};

/// The tree of treemap items over the counted files below `root` with at least one line.
/// Within each folder, two or more items (files or folders) with fewer lines than `minShare`
/// of the whole merge into one `Other` item. The top item is the project (or the folder chain
/// every file lies in).
TreemapItem treemapTree(const ProjectFolder& root, double minShare);

/// The number of items of the tree, the top one included.
std::size_t treemapItemCount(const TreemapItem& item);

struct TreemapBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
};

/// Squarified layout: boxes that tile `area`, one per value, each with an area in proportion
/// to its value, laid out in rows that keep them as near to squares as the order allows.
/// `values` must be sorted from the largest down; a zero value gets an empty box.
std::vector<TreemapBox> squarify(std::span<const double> values, const TreemapBox& area);

}  // namespace tw
