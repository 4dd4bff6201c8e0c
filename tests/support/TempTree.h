// A small directory tree in a fresh temporary folder, built from byte
// strings by a test and removed when the test ends.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The tree's root, without a trailing separator.
    std::string Root() const { return root_.string(); }

    // The full path of a name relative to the root ("a/b.exe" or "a\\b.exe").
    std::string PathOf(std::string_view relative) const;

    // Writes a file (creating its folders) and returns its full path.
    std::string File(std::string_view relative, std::string_view bytes = {});

    // Creates a folder (and its parents) and returns its full path.
    std::string Dir(std::string_view relative);

private:
    std::filesystem::path root_;
};
