#include "tests/support/TempTree.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path Relative(std::string_view relative)
{
    std::string text(relative);
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return fs::path(text).make_preferred();
}

}  // namespace

TempTree::TempTree()
{
    static std::atomic<unsigned> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
                             ("vstree" + std::to_string(stamp % 1000000007) + "_" + std::to_string(serial++));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            root_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempTree::~TempTree()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

std::string TempTree::PathOf(std::string_view relative) const
{
    return (root_ / Relative(relative)).string();
}

std::string TempTree::File(std::string_view relative, std::string_view bytes)
{
    const fs::path path = root_ / Relative(relative);
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    return path.string();
}

std::string TempTree::Dir(std::string_view relative)
{
    const fs::path path = root_ / Relative(relative);
    fs::create_directories(path);
    return path.string();
}
