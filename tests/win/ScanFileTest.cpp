#include "search/Scanner.h"

#include "tests/support/TempTree.h"
#include "tests/win/WinTestSupport.h"

#include "tests/support/TableText.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {


class ScanFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResetReferenceTables();
        // Libraries the system finds: two in the folder of the scanned
        // files, which the search is run from, and kernel32 of the system.
        tree.File("here.dll", "MZ");
        tree.File("Other.DLL", "MZ");
        tree.File("prog.dll", "MZ");
        SetCurrentDirectoryForTest(tree.Root());
    }
    void TearDown() override { ReleaseReferenceTables(); }

    TempTree tree;
    KeepCurrentDirectory keep;
};

TEST_F(ScanFileTest, KeepsTheNamesTheSystemResolves)
{
    const std::string path = tree.File(
        "PROG.EXE", std::string("MZ\0\0HERE.DLL\0missing.dll\0KERNEL32.dll\0prog.dll\0other.dll\0here.dll", 61));
    ScanFile(path, "PROG.EXE");
    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()),
              (Table{{path, {"here.dll", "kernel32.dll", "other.dll"}}}));
    EXPECT_EQ(Read(TheReferenceTables().FoundLibraryTable()),
              (Table{{"here.dll", {path}}, {"kernel32.dll", {path}}, {"other.dll", {path}}}));
}

TEST_F(ScanFileTest, FileThatCannotBeOpenedGivesOneMessageAndNoEntry)
{
    const std::string held = tree.File("held.exe", "here.dll");
    HANDLE lock = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    const std::string missing = tree.PathOf("missing.exe");
    const std::string directory = tree.Dir("sub");
    ScriptedUser user;
    ScanFile(missing, "missing.exe");
    ScanFile(held, "held.exe");
    ScanFile(directory, "[sub]");
    ScanFile("Z:\\dev\\zero", "zero");
    CloseHandle(lock);

    EXPECT_EQ(user.texts(), (std::vector<std::string>{
                                "Unable to open file: " + missing, "Unable to open file: " + held,
                                "Unable to open file: " + directory, "Unable to open file: Z:\\dev\\zero"}));
    for (const auto& box : user.boxes()) {
        EXPECT_EQ(box.title, "win_tests");
        EXPECT_EQ(box.type, UINT(MB_OK | MB_ICONEXCLAMATION));
    }
    EXPECT_EQ(TheReferenceTables().SearchedFileTable().count(), 0);
}

TEST_F(ScanFileTest, DoubledBackslashIsOpenedUnchangedAndStoredReduced)
{
    tree.File("a.exe", "here.dll");
    const std::string doubled = tree.Root() + "\\\\a.exe";
    ScanFile(doubled, "a.exe");
    ScriptedUser user;
    ScanFile(tree.Root() + "\\\\gone.exe", "gone.exe");

    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()), (Table{{tree.Root() + "\\a.exe", {"here.dll"}}}));
    EXPECT_EQ(user.texts(), (std::vector<std::string>{"Unable to open file: " + tree.Root() + "\\gone.exe"}));
}

TEST_F(ScanFileTest, FileWithNoLibraryKeepsItsEntry)
{
    const std::string empty = tree.File("empty.exe", "");
    ScanFile(empty, "empty.exe");
    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()), (Table{{empty, {}}}));
    EXPECT_EQ(TheReferenceTables().FoundLibraryTable().count(), 0);
}

TEST_F(ScanFileTest, OwnLibraryNameIsSkipped)
{
    // here.dll names itself, and an entry without a full stop excludes nothing.
    const std::string library = tree.PathOf("here.dll");
    tree.File("here.dll", "here.dll other.dll");
    const std::string plain = tree.File("here", "here.dll");
    ScanFile(library, "HERE.DLL");
    ScanFile(plain, "here");
    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()),
              (Table{{library, {"other.dll"}}, {plain, {"here.dll"}}}));
}

TEST_F(ScanFileTest, LibrarySearchFollowsTheCurrentDirectory)
{
    // only.dll sits in one folder: files scanned from there resolve it, files
    // scanned from elsewhere in the same run do not.
    const std::string withDll = tree.Dir("with");
    tree.File("with/only.dll", "MZ");
    const std::string a = tree.File("with/a.exe", "only.dll");
    const std::string b = tree.File("without/b.exe", "only.dll");

    SetCurrentDirectoryForTest(withDll);
    ScanFile(a, "a.exe");
    SetCurrentDirectoryForTest(tree.PathOf("without"));
    ScanFile(b, "b.exe");
    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()), (Table{{a, {"only.dll"}}, {b, {}}}));

    // A new run asks the system again: the library now exists here too.
    ResetReferenceTables();
    tree.File("without/only.dll", "MZ");
    ScanFile(b, "b.exe");
    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()), (Table{{b, {"only.dll"}}}));
}

TEST_F(ScanFileTest, NameSplitAcrossReadsInARealFile)
{
    std::string bytes(12288, 'x');
    bytes.replace(4096 - 6, 11, " here.dll ");  // ".d" in the first block, "ll" in the second
    bytes.replace(12288 - 10, 10, " other.dll");  // ends on the last byte of a 3-block file
    const std::string path = tree.File("big.exe", bytes);
    ScanFile(path, "big.exe");
    EXPECT_EQ(Read(TheReferenceTables().SearchedFileTable()), (Table{{path, {"here.dll", "other.dll"}}}));
}

}  // namespace
