#include "search/ReferenceTables.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::size_t kTextBlockSize = 64 * 1024;
constexpr std::size_t kNodeBlockSize = 4096;

// Grows a vector geometrically ahead of a push_back, so that the push itself
// cannot throw and a run costs amortised constant time per addition.
template <class T>
void MakeRoomForOne(std::vector<T>& v)
{
    if (v.size() == v.capacity())
        v.reserve(std::max<std::size_t>(16, v.capacity() * 2));
}

}  // namespace

struct ReferenceTables::Pool {
    std::vector<std::unique_ptr<char[]>> textBlocks;
    char* text = nullptr;
    std::size_t textLeft = 0;

    std::vector<std::unique_ptr<NameNode[]>> nodeBlocks;
    NameNode* nodes = nullptr;
    std::size_t nodesLeft = 0;
};

ReferenceTables::ReferenceTables() : pool_(std::make_unique<Pool>()) {}

ReferenceTables::~ReferenceTables() = default;

void ReferenceTables::Reset()
{
    Release();
}

const char* ReferenceTables::StoreName(std::string_view text)
{
    const std::size_t size = text.size() + 1;
    char* out;
    if (size > kTextBlockSize / 4) {
        // A long name gets a block of its own rather than wasting the rest of
        // the current one.
        MakeRoomForOne(pool_->textBlocks);
        pool_->textBlocks.push_back(std::make_unique<char[]>(size));
        out = pool_->textBlocks.back().get();
    } else {
        if (pool_->textLeft < size) {
            MakeRoomForOne(pool_->textBlocks);
            pool_->textBlocks.push_back(std::make_unique<char[]>(kTextBlockSize));
            pool_->text = pool_->textBlocks.back().get();
            pool_->textLeft = kTextBlockSize;
        }
        out = pool_->text;
        pool_->text += size;
        pool_->textLeft -= size;
    }
    std::memcpy(out, text.data(), text.size());
    out[text.size()] = '\0';
    return out;
}

NameNode* ReferenceTables::NewNode(const char* name)
{
    if (pool_->nodesLeft == 0) {
        MakeRoomForOne(pool_->nodeBlocks);
        pool_->nodeBlocks.push_back(std::make_unique<NameNode[]>(kNodeBlockSize));
        pool_->nodes = pool_->nodeBlocks.back().get();
        pool_->nodesLeft = kNodeBlockSize;
    }
    NameNode* node = pool_->nodes++;
    --pool_->nodesLeft;
    node->name = name;
    node->next = nullptr;
    return node;
}

bool ReferenceTables::AddSearchedFile(std::string_view path)
{
    // Whatever happens, references from here on belong to this file or to
    // none: never to the previous one.
    currentFile_ = -1;
    currentTail_ = nullptr;
    try {
        MakeRoomForOne(files_.records_);
        const char* name = StoreName(path);
        files_.records_.push_back(NameNode{name, nullptr});
    } catch (const std::bad_alloc&) {
        return false;
    }
    currentFile_ = files_.count() - 1;
    return true;
}

ReferenceTables::RecordResult ReferenceTables::RecordReference(std::string_view libraryName)
{
    if (currentFile_ < 0)
        return RecordResult::NoCurrentFile;

    auto found = libraryIndex_.find(libraryName);
    std::int32_t library = found == libraryIndex_.end() ? -1 : found->second;
    if (library >= 0 && lastFileOf_[static_cast<std::size_t>(library)] == currentFile_)
        return RecordResult::Duplicate;

    // Obtain everything first, then link: a failed allocation leaves both
    // tables as they were.
    NameNode* fileSide;
    NameNode* librarySide;
    const char* interned;
    try {
        if (library >= 0) {
            interned = libraries_[library].name;
        } else {
            interned = StoreName(libraryName);
            MakeRoomForOne(libraries_.records_);
            MakeRoomForOne(libraryTail_);
            MakeRoomForOne(lastFileOf_);
        }
        fileSide = NewNode(interned);
        librarySide = NewNode(files_[currentFile_].name);
        if (library < 0)
            library = libraryIndex_.emplace(std::string_view(interned), libraries_.count()).first->second;
    } catch (const std::bad_alloc&) {
        return RecordResult::OutOfMemory;
    }

    if (currentTail_)
        currentTail_->next = fileSide;
    else
        files_.records_[static_cast<std::size_t>(currentFile_)].next = fileSide;
    currentTail_ = fileSide;

    const auto slot = static_cast<std::size_t>(library);
    if (slot == libraries_.records_.size()) {
        libraries_.records_.push_back(NameNode{interned, librarySide});
        libraryTail_.push_back(librarySide);
        lastFileOf_.push_back(currentFile_);
    } else {
        libraryTail_[slot]->next = librarySide;
        libraryTail_[slot] = librarySide;
        lastFileOf_[slot] = currentFile_;
    }
    ++references_;
    return RecordResult::Recorded;
}

void ReferenceTables::Release()
{
    // Swapping with empty containers gives the memory back, not just the size.
    std::vector<NameNode>().swap(files_.records_);
    std::vector<NameNode>().swap(libraries_.records_);
    std::unordered_map<std::string_view, std::int32_t>().swap(libraryIndex_);
    std::vector<NameNode*>().swap(libraryTail_);
    std::vector<std::int32_t>().swap(lastFileOf_);
    *pool_ = Pool{};
    currentFile_ = -1;
    currentTail_ = nullptr;
    references_ = 0;
}
