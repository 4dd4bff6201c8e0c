#include "search/ModuleScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Collect final : StemSink {
    std::vector<std::string> stems;
    void OnStem(std::string_view stem) override { stems.emplace_back(stem); }
};

// Feeds bytes as ScanFile does: blocks of 4096, then the end of the file.
std::vector<std::string> Scan(const std::string& bytes)
{
    ModuleNameScanner scanner;
    Collect sink;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (std::size_t at = 0; at < bytes.size(); at += ModuleNameScanner::kBlockSize)
        scanner.ScanBlock(data + at, std::min(ModuleNameScanner::kBlockSize, bytes.size() - at), sink);
    scanner.Finish(sink);
    return sink.stems;
}

// `text` placed so that it ends at byte `end` of a file of `size` bytes
// padded with spaces.
std::string Placed(const std::string& text, std::size_t end, std::size_t size)
{
    std::string bytes(size, ' ');
    bytes.replace(end - text.size(), text.size(), text);
    return bytes;
}

using Stems = std::vector<std::string>;

TEST(ModuleNameScanner, FindsNamesWhateverTheCaseOfTheSuffix)
{
    EXPECT_EQ(Scan("x KERNEL32.DLL y User32.Dll z gdi32.dll"), (Stems{"kernel32", "user32", "gdi32"}));
}

TEST(ModuleNameScanner, NameAtTheVeryStartOfTheFile)
{
    EXPECT_EQ(Scan("A.DLL"), (Stems{"a"}));
}

TEST(ModuleNameScanner, EmptyStreamFindsNothing)
{
    EXPECT_EQ(Scan(""), Stems{});
}

TEST(ModuleNameScanner, ReportsEveryOccurrence)
{
    EXPECT_EQ(Scan("a.dll a.dll"), (Stems{"a", "a"}));
}

TEST(ModuleNameScanner, StemEndsAtTheFirstByteThatIsNoNameCharacter)
{
    struct Case {
        std::string bytes;
        Stems stems;
    };
    const Case cases[] = {
        {"my-lib.dll", {"lib"}},
        {"x..dll", {}},
        {"two words.dll", {"words"}},
        {"\x7f" "ab.dll", {"ab"}},
        {"\xe9" "cd.dll", {"cd"}},
        {std::string("\0ef.dll", 7), {"ef"}},
        {"C:\\WIN\\SYS.DLL", {"sys"}},
        {"\"quoted.dll\"", {"quoted"}},
        {"{$%&!=@_~}.DLL", {"{$%&!=@_~}"}},
        {".dll", {}},
        {"a.dl", {}},
        {"a.dlx b.dll", {"b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Scan(c.bytes), c.stems) << c.bytes;
}

TEST(ModuleNameScanner, NameCharactersAreExactlyTheDocumentedSet)
{
    const std::string allowed =
        "!$%&0123456789=@ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz{}~";
    for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool isName = allowed.find(c) != std::string::npos;
        std::string bytes = std::string(1, c) + "z.dll";
        std::string expected = isName ? std::string(1, c) + "z" : "z";
        if (c >= 'A' && c <= 'Z')
            expected[0] = static_cast<char>(c - 'A' + 'a');
        EXPECT_EQ(Scan(bytes), Stems{expected}) << "byte " << b;
    }
}

TEST(ModuleNameScanner, NameSplitBetweenTwoReadsIsFoundOnce)
{
    // The full stop at each of the last positions of the first block, and the
    // suffix running into the second.
    for (std::size_t stop = 4088; stop <= 4100; ++stop) {
        std::string bytes = Placed("KERNEL32.DLL", stop + 4, 9000);
        EXPECT_EQ(Scan(bytes), Stems{"kernel32"}) << "full stop at " << stop;
    }
}

TEST(ModuleNameScanner, StemReachesBackIntoThePreviousBlock)
{
    EXPECT_EQ(Scan(Placed("ABCDEFGH.DLL", 4096 + 4, 6000)), Stems{"abcdefgh"});
}

TEST(ModuleNameScanner, BackwardWalkStopsAtTheWindowStart)
{
    // 9000 name characters before ".dll": the third cycle's window begins at
    // byte 4096, so the stem holds bytes 4096 to 8999.
    const Stems stems = Scan(std::string(9000, 'a') + ".dll");
    ASSERT_EQ(stems.size(), 1u);
    EXPECT_EQ(stems[0], std::string(9000 - 4096, 'a'));
}

TEST(ModuleNameScanner, NameEndingOnTheLastByteIsAlwaysFound)
{
    for (std::size_t size : {6u, 4095u, 4096u, 4097u, 8191u, 8192u, 8193u, 12288u, 12289u, 16384u}) {
        EXPECT_EQ(Scan(Placed("ab.dll", size, size)), Stems{"ab"}) << "file of " << size << " bytes";
        EXPECT_EQ(Scan(Placed("ab.dl", size, size)), Stems{}) << "file of " << size << " bytes";
    }
}

TEST(ModuleNameScanner, FullStopInTheLastBytesWithoutSuffixFindsNothing)
{
    for (std::size_t tail : {1u, 2u, 3u, 4u}) {
        std::string bytes(8192, 'x');
        bytes[8192 - tail] = '.';
        EXPECT_EQ(Scan(bytes), Stems{}) << tail;
    }
}

}  // namespace
