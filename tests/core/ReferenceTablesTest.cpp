#include "search/ReferenceTables.h"

#include "tests/support/TableText.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {


// The tables as the plain linear algorithm builds them: duplicate test over
// the file's chain, library lookup from index 0, append at the chain's end.
struct Model {
    Table files, libraries;

    void AddSearchedFile(const std::string& path) { files.push_back({path, {}}); }

    void RecordReference(const std::string& library)
    {
        Chain& chain = files.back().second;
        for (const auto& name : chain)
            if (name == library)
                return;
        chain.push_back(library);
        for (auto& entry : libraries)
            if (entry.first == library) {
                entry.second.push_back(files.back().first);
                return;
            }
        libraries.push_back({library, {files.back().first}});
    }
};

TEST(ReferenceTables, WorkedExample)
{
    ReferenceTables tables;
    tables.Reset();
    tables.AddSearchedFile("c:\\work\\a.exe");
    tables.RecordReference("kernel32.dll");
    tables.RecordReference("user32.dll");
    tables.RecordReference("kernel32.dll");
    tables.AddSearchedFile("c:\\work\\b.dll");
    tables.AddSearchedFile("c:\\work\\c.exe");
    tables.RecordReference("kernel32.dll");

    EXPECT_EQ(Read(tables.SearchedFileTable()),
              (Table{{"c:\\work\\a.exe", {"kernel32.dll", "user32.dll"}},
                     {"c:\\work\\b.dll", {}},
                     {"c:\\work\\c.exe", {"kernel32.dll"}}}));
    EXPECT_EQ(Read(tables.FoundLibraryTable()),
              (Table{{"kernel32.dll", {"c:\\work\\a.exe", "c:\\work\\c.exe"}},
                     {"user32.dll", {"c:\\work\\a.exe"}}}));
    EXPECT_EQ(tables.ReferenceCount(), 3u);
}

TEST(ReferenceTables, NameMetManyTimesInOneFileGivesOneNodeEachSide)
{
    ReferenceTables tables;
    tables.AddSearchedFile("f.exe");
    EXPECT_EQ(tables.RecordReference("a.dll"), ReferenceTables::RecordResult::Recorded);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(tables.RecordReference("a.dll"), ReferenceTables::RecordResult::Duplicate);
    EXPECT_EQ(Read(tables.SearchedFileTable()), (Table{{"f.exe", {"a.dll"}}}));
    EXPECT_EQ(Read(tables.FoundLibraryTable()), (Table{{"a.dll", {"f.exe"}}}));
}

TEST(ReferenceTables, SamePathScannedTwiceGivesTwoEntries)
{
    ReferenceTables tables;
    for (int i = 0; i < 2; ++i) {
        tables.AddSearchedFile("x.exe");
        tables.RecordReference("a.dll");
    }
    EXPECT_EQ(Read(tables.SearchedFileTable()), (Table{{"x.exe", {"a.dll"}}, {"x.exe", {"a.dll"}}}));
    EXPECT_EQ(Read(tables.FoundLibraryTable()), (Table{{"a.dll", {"x.exe", "x.exe"}}}));
}

TEST(ReferenceTables, LibraryKeepsThePlaceOfItsFirstDiscovery)
{
    ReferenceTables tables;
    tables.AddSearchedFile("A");
    tables.RecordReference("l.dll");
    tables.AddSearchedFile("B");
    tables.RecordReference("m.dll");
    tables.RecordReference("l.dll");
    tables.AddSearchedFile("C");
    tables.RecordReference("l.dll");
    EXPECT_EQ(Read(tables.FoundLibraryTable()), (Table{{"l.dll", {"A", "B", "C"}}, {"m.dll", {"B"}}}));
}

TEST(ReferenceTables, ReferenceBeforeAnyFileIsIgnored)
{
    ReferenceTables tables;
    EXPECT_EQ(tables.RecordReference("a.dll"), ReferenceTables::RecordResult::NoCurrentFile);
    EXPECT_EQ(tables.FoundLibraryTable().count(), 0);
}

TEST(ReferenceTables, NewRunShowsNothingOfTheLast)
{
    ReferenceTables tables;
    tables.AddSearchedFile("old.exe");
    tables.RecordReference("old.dll");
    tables.Release();
    EXPECT_EQ(tables.SearchedFileTable().count(), 0);
    tables.Reset();
    EXPECT_EQ(tables.RecordReference("old.dll"), ReferenceTables::RecordResult::NoCurrentFile);
    tables.AddSearchedFile("new.exe");
    tables.RecordReference("old.dll");
    EXPECT_EQ(Read(tables.SearchedFileTable()), (Table{{"new.exe", {"old.dll"}}}));
    EXPECT_EQ(Read(tables.FoundLibraryTable()), (Table{{"old.dll", {"new.exe"}}}));
}

TEST(ReferenceTables, LongTextIsKeptWhole)
{
    const std::string path = "c:\\" + std::string(700, 'p') + "\\f.exe";
    const std::string library = std::string(600, 'l') + ".dll";
    ReferenceTables tables;
    tables.AddSearchedFile(path);
    tables.RecordReference(library);
    tables.AddSearchedFile("short.exe");
    tables.RecordReference(library);
    EXPECT_EQ(Read(tables.SearchedFileTable()), (Table{{path, {library}}, {"short.exe", {library}}}));
    EXPECT_EQ(Read(tables.FoundLibraryTable()), (Table{{library, {path, "short.exe"}}}));
}

TEST(ReferenceTables, AgreesWithThePlainAlgorithmOnRandomRuns)
{
    std::mt19937 random(20261211);
    for (int run = 0; run < 30; ++run) {
        ReferenceTables tables;
        Model model;
        const int files = 1 + static_cast<int>(random() % 60);
        const unsigned libraries = 1 + random() % 40;
        for (int f = 0; f < files; ++f) {
            const std::string path = "d:\\p\\" + std::to_string(random() % 25) + ".exe";
            tables.AddSearchedFile(path);
            model.AddSearchedFile(path);
            const int references = static_cast<int>(random() % 12);
            for (int r = 0; r < references; ++r) {
                const std::string library = "l" + std::to_string(random() % libraries) + ".dll";
                tables.RecordReference(library);
                model.RecordReference(library);
            }
        }
        ASSERT_EQ(Read(tables.SearchedFileTable()), model.files) << "run " << run;
        ASSERT_EQ(Read(tables.FoundLibraryTable()), model.libraries) << "run " << run;
        tables.Release();
    }
}

}  // namespace
