#include "report/TreemapLayout.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

#include "engine/FileCount.h"
#include "engine/TextConversion.h"

namespace tw {
namespace {

void counted(ProjectFolder& root, std::u16string_view path, std::uint32_t code) {
    FileCount& record = *root.AddFilePath(path);
    record.counted = true;
    record.code = code;
}

double overlap(const TreemapBox& a, const TreemapBox& b) {
    const double width = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    const double height = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return width > 0 && height > 0 ? width * height : 0;
}

TEST(TreemapLayoutTest, SquarifiedBoxesTileTheAreaInProportionToTheirValues) {
    const struct {
        const char* name;
        std::vector<double> values;
        TreemapBox area;
    } cases[] = {
        {"one value", {7}, {10, 20, 300, 200}},
        {"equal values", {5, 5, 5, 5, 5, 5}, {0, 0, 600, 400}},
        {"skewed, wide", {600, 200, 100, 60, 30, 9, 1}, {0, 0, 1200, 640}},
        {"skewed, tall", {600, 200, 100, 60, 30, 9, 1}, {5, 5, 80, 900}},
        {"zeros at the end", {40, 30, 0, 0}, {0, 0, 100, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<TreemapBox> boxes = squarify(c.values, c.area);
        ASSERT_EQ(boxes.size(), c.values.size());
        const double sum = std::accumulate(c.values.begin(), c.values.end(), 0.0);
        const double area = c.area.width * c.area.height;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const TreemapBox& box = boxes[i];
            EXPECT_NEAR(box.width * box.height, area * c.values[i] / sum, area * 1e-9) << i;
            EXPECT_GE(box.x, c.area.x - 1e-9);
            EXPECT_GE(box.y, c.area.y - 1e-9);
            EXPECT_LE(box.x + box.width, c.area.x + c.area.width + 1e-9);
            EXPECT_LE(box.y + box.height, c.area.y + c.area.height + 1e-9);
            for (std::size_t j = 0; j < i; ++j) {
                EXPECT_NEAR(overlap(box, boxes[j]), 0, 1e-6) << i << " and " << j;
            }
        }
    }
    // Squarified: the equal values come out as near-squares, not as thin strips.
    for (const TreemapBox& box : squarify(std::vector<double>(6, 5), {0, 0, 600, 400})) {
        EXPECT_LE(std::max(box.width / box.height, box.height / box.width), 1.5);
    }
}

TEST(TreemapLayoutTest, FolderChainsFoldAndEmptyItemsAreLeftOut) {
    ProjectFolder root;
    counted(root, u"/home/me/src/main.c", 40);
    counted(root, u"/home/me/src/lib/x/y/deep.c", 30);
    counted(root, u"/home/me/src/lib/z.h", 20);
    counted(root, u"/home/me/src/empty.c", 0);
    root.AddFilePath(u"/home/me/src/never/counted.c")->code = 99;  // not counted: no lines

    const TreemapItem top = treemapTree(root, 0);
    EXPECT_EQ(top.label, u"/home/me/src");
    EXPECT_EQ(top.path, u"/home/me/src");
    EXPECT_EQ(top.lines, 90u);
    EXPECT_EQ(top.files, 3u);
    ASSERT_EQ(top.children.size(), 2u);
    // The most lines first: lib (50) before main.c (40).
    const TreemapItem& lib = top.children[0];
    EXPECT_EQ(lib.label, u"lib");
    EXPECT_EQ(lib.lines, 50u);
    ASSERT_EQ(lib.children.size(), 2u);
    EXPECT_EQ(lib.children[0].label, u"x/y");
    EXPECT_EQ(lib.children[0].path, u"/home/me/src/lib/x/y");
    EXPECT_EQ(lib.children[0].children.at(0).path, u"/home/me/src/lib/x/y/deep.c");
    EXPECT_EQ(top.children[1].kind, TreemapItem::Kind::File);
    EXPECT_EQ(top.children[1].label, u"main.c");

    // Files of several top folders: the project is the top item.
    ProjectFolder two;
    counted(two, u"a/one.c", 1);
    counted(two, u"b/two.c", 2);
    EXPECT_EQ(treemapTree(two, 0).label, u"Project");
    EXPECT_EQ(treemapTree(two, 0).children.size(), 2u);
}

TEST(TreemapLayoutTest, SmallItemsOfAFolderMergeIntoOther) {
    ProjectFolder root;
    counted(root, u"p/big.c", 900);
    counted(root, u"p/mid.c", 80);
    counted(root, u"p/s1.c", 5);
    counted(root, u"p/s2.c", 4);
    counted(root, u"p/sub/s3.c", 3);  // a small folder merges as a whole
    counted(root, u"p/sub/s4.c", 2);
    counted(root, u"p/lone/only.c", 100);
    counted(root, u"p/lone/tiny.c", 6);  // the only small item of its folder stays

    const TreemapItem top = treemapTree(root, 0.01);  // below 11 lines is small
    ASSERT_EQ(top.children.size(), 4u);
    EXPECT_EQ(top.children[0].label, u"big.c");
    EXPECT_EQ(top.children[1].label, u"lone");
    EXPECT_EQ(top.children[1].children.size(), 2u);
    EXPECT_EQ(top.children[2].label, u"mid.c");
    const TreemapItem& other = top.children[3];
    EXPECT_EQ(other.kind, TreemapItem::Kind::Other);
    EXPECT_EQ(other.path, u"p");
    EXPECT_EQ(other.lines, 14u);
    EXPECT_EQ(other.files, 4u);
    EXPECT_EQ(top.lines, 1100u);
    EXPECT_EQ(treemapItemCount(top), 7u);
}

}  // namespace
}  // namespace tw
