#include "HelpFileReader.h"
#include "HelpWriter.h"

#include <gtest/gtest.h>

namespace {

help::Bytes Repeat(const std::string& piece, std::size_t times)
{
    help::Bytes b;
    for (std::size_t i = 0; i < times; ++i)
        b.insert(b.end(), piece.begin(), piece.end());
    return b;
}

help::Bytes Noise(std::size_t n, unsigned seed)
{
    help::Bytes b;
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245 + 12345;
        b.push_back(static_cast<std::uint8_t>(seed >> 16));
    }
    return b;
}

// Noise with a copy of its start placed `distance` bytes later.
help::Bytes EchoAt(std::size_t distance)
{
    help::Bytes b = Noise(distance, 7);
    const help::Bytes start(b.begin(), b.begin() + 40);
    b.insert(b.end(), start.begin(), start.end());
    return b;
}

struct Case {
    const char* name;
    help::Bytes data;
};

class Lz77RoundTrip : public ::testing::TestWithParam<Case> {};

TEST_P(Lz77RoundTrip, DecompressesToTheInput)
{
    const help::Bytes& data = GetParam().data;
    const help::Bytes packed = help::Lz77Compress(data);
    EXPECT_EQ(helptest::Lz77Decompress(packed.data(), packed.size()), data);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Lz77RoundTrip,
    ::testing::Values(Case{"empty", {}},
                      Case{"one", {0x41}},
                      Case{"run", Repeat("a", 1000)},          // overlapping references
                      Case{"text", Repeat("library search order ", 300)},
                      Case{"noise", Noise(20000, 3)},
                      Case{"window_edge", EchoAt(4096 - 40)},  // reference at the largest distance
                      Case{"past_window", EchoAt(4097)},       // too far: must stay literal
                      Case{"zeros", help::Bytes(5000, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Lz77, CompressesRepetitiveText)
{
    const help::Bytes text = Repeat("Include sub-directories in the search path. ", 100);
    EXPECT_LT(help::Lz77Compress(text).size(), text.size() / 4);
}

TEST(Lz77, UsesReferencesUpToTheWindowEdge)
{
    // The echo at the window's far edge is found, so the output is shorter
    // than the all-literal form (a flag byte per eight bytes).
    const help::Bytes b = EchoAt(4096 - 40);
    const std::size_t literal = b.size() + (b.size() + 7) / 8;
    EXPECT_LT(help::Lz77Compress(b).size(), literal - 20);
}

struct HashCase {
    const char* id;
    std::int32_t hash;
};

class ContextHashes : public ::testing::TestWithParam<HashCase> {};

TEST_P(ContextHashes, MatchTheViewersHash)
{
    EXPECT_EQ(help::ContextHash(GetParam().id), GetParam().hash) << GetParam().id;
}

// Letters count 17..42 either case, '1'..'9' 1..9, '0' 10, '.' 12, '_' 13,
// in base 43, wrapping at 32 bits.
INSTANTIATE_TEST_SUITE_P(Cases, ContextHashes,
                         ::testing::Values(HashCase{"a", 17}, HashCase{"A", 17}, HashCase{"ab", 17 * 43 + 18},
                                           HashCase{"z9", 42 * 43 + 9}, HashCase{"0", 10},
                                           HashCase{"_.", 13 * 43 + 12},
                                           HashCase{"results_window.1", -1377893532}));

TEST(ContextHash, RefusesCharactersWithoutAValue)
{
    EXPECT_THROW(help::ContextHash("a-b"), std::runtime_error);
}

} // namespace
