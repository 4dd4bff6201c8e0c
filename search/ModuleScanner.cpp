#include "search/ModuleScanner.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array<bool, 256> MakeNameCharacters()
{
    std::array<bool, 256> table{};
    auto set = [&table](int from, int to) {
        for (int c = from; c <= to; ++c)
            table[static_cast<std::size_t>(c)] = true;
    };
    set(0x21, 0x21);  // !
    set(0x24, 0x26);  // $ % &
    set(0x30, 0x39);  // digits
    set(0x3D, 0x3D);  // =
    set(0x40, 0x5A);  // @ A-Z
    set(0x5F, 0x5F);  // _
    set(0x61, 0x7B);  // a-z {
    set(0x7D, 0x7E);  // } ~
    return table;
}

constexpr std::array<bool, 256> kNameCharacters = MakeNameCharacters();

constexpr unsigned char FoldAscii(unsigned char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

// The last offset at which a full stop is examined within the current cycle:
// from there on fewer than five bytes remain to the window's end.
constexpr std::size_t kLastExamined = ModuleNameScanner::kWindowSize - 5;

}  // namespace

bool ModuleNameScanner::IsNameCharacter(unsigned char byte)
{
    return kNameCharacters[byte];
}

ModuleNameScanner::ModuleNameScanner()
{
    std::memset(window_, 0, sizeof window_);
}

void ModuleNameScanner::ScanBlock(const unsigned char* block, std::size_t n, StemSink& sink)
{
    // The previous cycle's block moves to the window's start; everything
    // after it is zero, so a comparison running past the data fails.
    if (lastRead_ > 0) {
        std::memmove(window_, window_ + kept_, lastRead_);
        std::memset(window_ + lastRead_, 0, kWindowSize - lastRead_);
        kept_ = lastRead_;
    }
    std::memcpy(window_ + kept_, block, n);
    lastRead_ = n;
    const std::size_t end = kept_ + n;
    fullWindow_ = end == kWindowSize;

    // The search starts four bytes before the new bytes, where a full stop
    // left by the previous cycle may stand, but skips what that cycle has
    // settled already, so no name is reported twice from one place.
    std::size_t s = kept_ >= 4 ? kept_ - 4 : 0;
    if (s < resume_)
        s = resume_;
    while (s < end) {
        const void* hit = std::memchr(window_ + s, '.', end - s);
        if (!hit) {
            s = end;
            break;
        }
        const auto q = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - window_);
        if (q > kLastExamined) {
            s = q;  // examined by the next cycle, or by Finish
            break;
        }
        if (FoldAscii(window_[q + 1]) == 'd' && FoldAscii(window_[q + 2]) == 'l' &&
            FoldAscii(window_[q + 3]) == 'l') {
            Extract(q, sink);
            s = q + 3;
        } else {
            s = q + 1;
        }
    }
    // The block just read moves to the window's start in the next cycle. A
    // full stop whose comparison ran into the bytes not yet read is examined
    // again there; one compared in full is not.
    const std::size_t settled = end >= 3 && s > end - 3 ? end - 3 : s;
    resume_ = settled > kept_ ? settled - kept_ : 0;
}

void ModuleNameScanner::Finish(StemSink& sink)
{
    // Only a full window can have left a ".dll" unexamined at its end, and it
    // must then fill the window's last four bytes exactly.
    constexpr std::size_t q = kWindowSize - 4;
    if (fullWindow_ && window_[q] == '.' && FoldAscii(window_[q + 1]) == 'd' &&
        FoldAscii(window_[q + 2]) == 'l' && FoldAscii(window_[q + 3]) == 'l')
        Extract(q, sink);
    fullWindow_ = false;
}

void ModuleNameScanner::Extract(std::size_t fullStop, StemSink& sink)
{
    std::size_t start = fullStop;
    while (start > 0 && kNameCharacters[window_[start - 1]])
        --start;
    const std::size_t length = fullStop - start;
    if (length == 0)
        return;
    for (std::size_t i = 0; i < length; ++i)
        stem_[i] = static_cast<char>(FoldAscii(window_[start + i]));
    sink.OnStem(std::string_view(stem_, length));
}
