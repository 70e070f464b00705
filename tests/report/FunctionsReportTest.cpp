#include "report/FunctionsReport.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/TextConversion.h"
#include "report/ReportFormat.h"

namespace tw {
namespace {

FileCount& counted(ProjectFolder& root, std::u16string_view path,
                   std::vector<FunctionComplexity> functions) {
    FileCount& record = *root.AddFilePath(path);
    record.counted = true;
    record.functions = std::move(functions);
    return record;
}

std::string report(const ProjectFolder& root, ReportLineEnds lineEnds) {
    std::string bytes;
    reportFormat(ReportFormatId::Functions)
        .write(root, CountSettings{.mode = CountMode::CyclomaticComplexity}, ReportLayout{},
               lineEnds, [&bytes](std::string_view piece) {
                   bytes.append(piece);
                   return true;
               });
    return bytes;
}

TEST(FunctionsReportTest, MostComplexFirstTiesInProjectOrderNamesQuoted) {
    ProjectFolder root;
    // The folder's own file comes before the subfolder's in project order, though added later.
    counted(root, u"src/sub/b.cpp", {{u"b1", 3, 2, 9, 4}, {u"operator,", 12, 12, 14, 2}});
    counted(root, u"src/a \"x\",y.c", {{u"a1", 5, 5, 5, 2}, {u"a2", 8, 7, 20, 4}});
    // A file whose last count failed, or that was never counted, keeps no row.
    FileCount& failed = counted(root, u"src/failed.c", {{u"old", 1, 1, 2, 9}});
    failed.failed = true;
    root.AddFilePath(u"src/never.c")->functions = {{u"older", 1, 1, 2, 9}};

    EXPECT_EQ(report(root, ReportLineEnds::File),
              "File,Function,Line,Lines,Complexity\r\n"
              "\"src/a \"\"x\"\",y.c\",a2,8,14,4\r\n"
              "src/sub/b.cpp,b1,3,8,4\r\n"
              "\"src/a \"\"x\"\",y.c\",a1,5,1,2\r\n"
              "src/sub/b.cpp,\"operator,\",12,3,2\r\n");
    EXPECT_EQ(report(ProjectFolder(), ReportLineEnds::StandardOutput),
              "File,Function,Line,Lines,Complexity\n");
}

}  // namespace
}  // namespace tw
