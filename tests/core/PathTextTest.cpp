#include "search/PathText.h"

#include <gtest/gtest.h>

namespace {

TEST(PathText, ReducesOnlyTheFirstDoubledBackslash)
{
    EXPECT_EQ(ReduceDoubledBackslash("c:\\\\dir\\a.exe"), "c:\\dir\\a.exe");
    EXPECT_EQ(ReduceDoubledBackslash("c:\\\\a\\\\b.exe"), "c:\\a\\\\b.exe");
    EXPECT_EQ(ReduceDoubledBackslash("c:\\a\\\\\\b.exe"), "c:\\a\\\\b.exe");
    EXPECT_EQ(ReduceDoubledBackslash("c:\\dir\\a.exe"), "c:\\dir\\a.exe");
    EXPECT_EQ(ReduceDoubledBackslash(""), "");
}

TEST(PathText, OwnLibraryNameDropsTheLastExtension)
{
    EXPECT_EQ(OwnLibraryName("NOTEPAD.EXE"), "notepad.dll");
    EXPECT_EQ(OwnLibraryName("KERNEL32.DLL"), "kernel32.dll");
    EXPECT_EQ(OwnLibraryName("tool.exe.bak"), "tool.exe.dll");
    EXPECT_EQ(OwnLibraryName("README"), ".dll");
    EXPECT_EQ(OwnLibraryName("[temp]"), ".dll");
}

}  // namespace
