// The byte-window scanner behind ScanFile: finds every text ending in ".dll"
// (in any case) in a stream of bytes and hands over the name in front of it.
//
// The file is fed in blocks of up to 4096 bytes. Each cycle searches a window
// of 8192 bytes that holds the previous block followed by the new one, so a
// name split between two reads is found once, and a name whose ".dll" lies in
// the new block can reach back into the previous one. A full stop in the last
// four bytes of a full window is left for the next cycle, which starts its
// search four bytes before the new bytes; when no next cycle comes, Finish
// examines it, so a ".dll" that ends on the file's last byte is always found.
//
// Portable code: no <windows.h>.
#pragma once

#include <cstddef>
#include <string_view>

class StemSink {
public:
    // stem: the name characters in front of ".dll", ASCII lower-cased, never
    // empty. Valid only during the call.
    virtual void OnStem(std::string_view stem) = 0;

protected:
    ~StemSink() = default;
};

class ModuleNameScanner {
public:
    static constexpr std::size_t kBlockSize = 4096;
    static constexpr std::size_t kWindowSize = 2 * kBlockSize;

    ModuleNameScanner();

    // One read cycle over the n bytes just read (0 < n <= kBlockSize).
    void ScanBlock(const unsigned char* block, std::size_t n, StemSink& sink);

    // The stream has ended (the read delivered 0 bytes).
    void Finish(StemSink& sink);

    // True for the bytes a library name may hold.
    static bool IsNameCharacter(unsigned char byte);

private:
    void Extract(std::size_t fullStop, StemSink& sink);

    unsigned char window_[kWindowSize];
    char stem_[kWindowSize];
    std::size_t kept_ = 0;      // bytes of the previous block at the window's start
    std::size_t lastRead_ = 0;  // bytes of the latest block, standing at kept_
    std::size_t resume_ = 0;    // next cycle's first unexamined offset
    bool fullWindow_ = false;   // the latest cycle searched a full window
};
