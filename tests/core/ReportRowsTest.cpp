#include "present/ReportRows.h"

#include "tests/support/TableText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Rows = std::vector<std::string>;

TEST(ReportRows, WorkedExample)
{
    ReferenceTables tables;
    FillWorkedExample(tables);

    Rows left, right;
    ForEachSearchedFileRow(tables, [&](std::string_view row) { left.emplace_back(row); });
    ForEachFoundLibraryRow(tables, [&](std::string_view row) { right.emplace_back(row); });
    EXPECT_EQ(left, (Rows{"c:\\work\\a.exe", "   kernel32.dll", "   user32.dll", "", "c:\\work\\b.dll",
                          "   No DLL found", "", "c:\\work\\c.exe", "   kernel32.dll", ""}));
    EXPECT_EQ(right, (Rows{"kernel32.dll", "   c:\\work\\a.exe", "   c:\\work\\c.exe", "", "user32.dll",
                           "   c:\\work\\a.exe", ""}));
}

TEST(ReportRows, EmptyTablesGiveNoRows)
{
    ReferenceTables tables;
    int rows = 0;
    ForEachSearchedFileRow(tables, [&](std::string_view) { ++rows; });
    ForEachFoundLibraryRow(tables, [&](std::string_view) { ++rows; });
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(kSearchedFilesHeading.size(), 72u);
    EXPECT_EQ(kFoundLibrariesHeading.size(), 57u);
}

}  // namespace
