// The tables under memory exhaustion: every allocation made while the budget
// is spent fails, and the tables must refuse the record and stay consistent.
#include "search/ReferenceTables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// The replacement pairs malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
long g_allocationsLeft = -1;  // -1: no limit
}

void* operator new(std::size_t size)
{
    if (g_allocationsLeft == 0)
        throw std::bad_alloc();
    if (g_allocationsLeft > 0)
        --g_allocationsLeft;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace {

struct Budget {
    explicit Budget(long n) { g_allocationsLeft = n; }
    ~Budget() { g_allocationsLeft = -1; }
};

std::int32_t ChainLength(const NameNode& entry)
{
    std::int32_t n = 0;
    for (const NameNode* node = entry.next; node; node = node->next)
        ++n;
    return n;
}

TEST(ReferenceTablesOutOfMemory, FailedAdditionLeavesTheTablesAsTheyWere)
{
    // Whatever allocation fails, both sides still agree and nothing half-made
    // is visible.
    for (long budget = 0; budget < 12; ++budget) {
        ReferenceTables tables;
        tables.AddSearchedFile("a.exe");
        tables.RecordReference("x.dll");
        bool addedFile;
        ReferenceTables::RecordResult recorded;
        {
            Budget limit(budget);
            addedFile = tables.AddSearchedFile("b.exe");
            recorded = tables.RecordReference("y.dll");
        }
        const NameTable& files = tables.SearchedFileTable();
        const NameTable& libraries = tables.FoundLibraryTable();
        EXPECT_EQ(files.count(), addedFile ? 2 : 1) << budget;
        if (!addedFile) {
            // The reference must not land on the previous file.
            EXPECT_EQ(recorded, ReferenceTables::RecordResult::NoCurrentFile) << budget;
            EXPECT_EQ(ChainLength(files[0]), 1) << budget;
        }
        if (recorded == ReferenceTables::RecordResult::OutOfMemory) {
            EXPECT_EQ(libraries.count(), 1) << budget;
            EXPECT_EQ(ChainLength(files[files.count() - 1]), addedFile ? 0 : 1) << budget;
        }
        if (recorded == ReferenceTables::RecordResult::Recorded) {
            EXPECT_EQ(libraries.count(), 2) << budget;
            EXPECT_STREQ(libraries[1].next->name, "b.exe") << budget;
        }
        std::size_t fileNodes = 0, libraryNodes = 0;
        for (std::int32_t i = 0; i < files.count(); ++i)
            fileNodes += static_cast<std::size_t>(ChainLength(files[i]));
        for (std::int32_t i = 0; i < libraries.count(); ++i)
            libraryNodes += static_cast<std::size_t>(ChainLength(libraries[i]));
        EXPECT_EQ(fileNodes, libraryNodes) << budget;
        EXPECT_EQ(fileNodes, tables.ReferenceCount()) << budget;
    }
}

}  // namespace
