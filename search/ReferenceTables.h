// The cross reference of one search run: for every scanned file the libraries
// found in it, and for every library the scanned files that name it.
//
// Both tables are arrays of NameNode entries; each entry heads a singly linked
// chain of NameNode records. Entries and chains keep the order in which the
// scanner met them, and both directions are held by value: a library chain
// holds copies of file paths, a file chain copies of library names, and no node
// points into the other table.
//
// The tables must stay linear in the number of references however large a run
// gets, so a library is found through a hash index rather than a walk of the
// table, a library chain is appended to through a kept tail, and the duplicate
// test of a file's chain asks which file last referenced the library. Names
// live in a string pool and nodes in block storage, both released at once.
//
// Portable code: no <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct NameNode {
    const char* name;  // NUL-terminated ANSI text, owned by the tables
    NameNode* next;    // next node of the same chain; null ends it
};

// SearchedFileTable and FoundLibraryTable share this shape: entries addressed
// by index 0 .. count - 1, each the head of its chain.
class NameTable {
public:
    std::int32_t count() const { return static_cast<std::int32_t>(records_.size()); }
    const NameNode& operator[](std::int32_t index) const { return records_[static_cast<std::size_t>(index)]; }

private:
    friend class ReferenceTables;
    std::vector<NameNode> records_;
};

class ReferenceTables {
public:
    ReferenceTables();
    ~ReferenceTables();
    ReferenceTables(const ReferenceTables&) = delete;
    ReferenceTables& operator=(const ReferenceTables&) = delete;

    // Empties both tables for a new run.
    void Reset();

    // Appends an entry for a file the scanner has opened; it becomes the
    // current file. Returns false when memory ran out: nothing was added and
    // references are ignored until the next file is added.
    bool AddSearchedFile(std::string_view path);

    enum class RecordResult { Recorded, Duplicate, NoCurrentFile, OutOfMemory };

    // Records that the current file names libraryName (lower-case, ending in
    // ".dll"), on both sides. A name already in the current file's chain
    // changes nothing. On OutOfMemory neither table changed.
    RecordResult RecordReference(std::string_view libraryName);

    // Frees every entry, chain node and name. The tables read as empty after.
    void Release();

    // Read interface for the presenters: walk each table in index order, and
    // each entry's chain from its next link to a null link.
    const NameTable& SearchedFileTable() const { return files_; }
    const NameTable& FoundLibraryTable() const { return libraries_; }

    // Number of chain nodes on each side (always equal).
    std::size_t ReferenceCount() const { return references_; }

private:
    const char* StoreName(std::string_view text);
    NameNode* NewNode(const char* name);

    NameTable files_;
    NameTable libraries_;

    // Storage for names and chain nodes, released as a whole.
    struct Pool;
    std::unique_ptr<Pool> pool_;

    // Library lookup: name -> index in FoundLibraryTable. The keys view names
    // held in the pool, which never move.
    std::unordered_map<std::string_view, std::int32_t> libraryIndex_;
    std::vector<NameNode*> libraryTail_;     // last node of each library's chain
    std::vector<std::int32_t> lastFileOf_;   // last file that referenced each library

    std::int32_t currentFile_ = -1;   // index of the file being scanned, or -1
    NameNode* currentTail_ = nullptr; // last node of the current file's chain
    std::size_t references_ = 0;
};
