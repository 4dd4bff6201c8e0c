#include "search/Scanner.h"

#include "framework/File.h"
#include "framework/MessageBox.h"
#include "search/ModuleScanner.h"
#include "search/PathText.h"

#include <windows.h>

#include <new>
#include <unordered_map>

namespace {

constexpr char kAllocationFailure[] = "Memory allocation failure";

// Answers of the system's library search, asked once per stem. The answer
// depends on the current directory (it is part of the search order), so the
// cache holds only while that directory stays the same.
class LibrarySearch {
public:
    bool Resolves(const std::string& stem)
    {
        auto found = answers_.find(stem);
        if (found != answers_.end())
            return found->second;
        char unused[1];
        const bool resolves = SearchPathA(nullptr, stem.c_str(), ".dll", 0, unused, nullptr) != 0;
        answers_.emplace(stem, resolves);
        return resolves;
    }

    // Drops the answers when the current directory has moved.
    void Follow(const std::string& currentDirectory)
    {
        if (currentDirectory != directory_) {
            answers_.clear();
            directory_ = currentDirectory;
        }
    }

    void Clear()
    {
        answers_.clear();
        directory_.clear();
    }

private:
    std::unordered_map<std::string, bool> answers_;
    std::string directory_;
};

LibrarySearch& TheLibrarySearch()
{
    static LibrarySearch search;
    return search;
}

std::string CurrentDirectory()
{
    std::string dir(MAX_PATH, '\0');
    DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), dir.data());
    if (n >= dir.size()) {
        dir.resize(n);
        n = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), dir.data());
    }
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

// Takes each stem the scanner finds through the own-library test, the
// system's search and into the tables.
class Recorder final : public StemSink {
public:
    explicit Recorder(std::string ownLibrary) : ownLibrary_(std::move(ownLibrary)) {}

    void OnStem(std::string_view stem) override
    {
        name_.assign(stem);
        name_ += ".dll";
        if (name_ == ownLibrary_)
            return;
        stem_.assign(stem);
        if (!TheLibrarySearch().Resolves(stem_))
            return;
        if (TheReferenceTables().RecordReference(name_) == ReferenceTables::RecordResult::OutOfMemory)
            AppMessageBox(kAllocationFailure, MB_OK);
    }

private:
    std::string ownLibrary_;
    std::string name_;
    std::string stem_;
};

}  // namespace

ReferenceTables& TheReferenceTables()
{
    static ReferenceTables tables;
    return tables;
}

void ResetReferenceTables()
{
    TheReferenceTables().Reset();
    TheLibrarySearch().Clear();
}

void ReleaseReferenceTables()
{
    TheReferenceTables().Release();
}

void ScanFile(std::string fullPath, std::string entryName)
{
    try {
        if (!entryName.empty())
            CharLowerBuffA(entryName.data(), static_cast<DWORD>(entryName.size()));
        Recorder recorder(OwnLibraryName(entryName));

        BinaryFile file;
        const bool opened = file.OpenRead(fullPath);
        const std::string shown = ReduceDoubledBackslash(std::move(fullPath));
        if (!opened) {
            AppMessageBox("Unable to open file: " + shown, MB_OK);
            return;
        }
        if (!TheReferenceTables().AddSearchedFile(shown)) {
            AppMessageBox(kAllocationFailure, MB_OK);
            return;
        }
        TheLibrarySearch().Follow(CurrentDirectory());

        ModuleNameScanner scanner;
        unsigned char block[ModuleNameScanner::kBlockSize];
        try {
            for (;;) {
                const std::size_t n = file.Read(block, sizeof block);
                if (n == 0)
                    break;
                scanner.ScanBlock(block, n, recorder);
            }
            scanner.Finish(recorder);
        } catch (const FileException&) {
            // What was recorded stays; the run goes on with the next file.
            file.Close();
            AppMessageBox("Unable to read file: " + shown, MB_OK);
        }
    } catch (const std::bad_alloc&) {
        AppMessageBox(kAllocationFailure, MB_OK);
    }
}
