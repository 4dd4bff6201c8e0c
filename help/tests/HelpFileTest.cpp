// Reads VELTSCAN.HLP back as a help viewer does, and lays out larger sources
// than the program's own to check the writer's block handling.
#include "HelpFileReader.h"
#include "HelpSource.h"
#include "HelpWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace {

using helptest::HelpFile;
using helptest::ReadHelpFile;

constexpr std::uint32_t MainDialogHelp = 0x20066;

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const helptest::Topic& MapTarget(const HelpFile& help, std::uint32_t number)
{
    for (const auto& [n, offset] : help.map)
        if (n == number) {
            const helptest::Topic* t = help.TopicAt(offset);
            if (!t)
                throw std::runtime_error("map number leads to no topic start");
            return *t;
        }
    throw std::runtime_error("map number not in |CTXOMAP");
}

const helptest::Topic* JumpTarget(const HelpFile& help, std::int32_t hash)
{
    const auto it = help.contexts.find(hash);
    return it == help.contexts.end() ? nullptr : help.TopicAt(it->second);
}

class GeneratedHelpFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        help_ = new HelpFile(ReadHelpFile(helptest::ReadBinaryFile(HELP_FILE_PATH)));
        source_ = new help::HelpSource(help::ParseHelpSource(ReadText(HELP_SOURCE_PATH)));
    }
    static void TearDownTestSuite()
    {
        delete help_;
        delete source_;
    }
    static HelpFile* help_;
    static help::HelpSource* source_;
};
HelpFile* GeneratedHelpFile::help_ = nullptr;
help::HelpSource* GeneratedHelpFile::source_ = nullptr;

TEST_F(GeneratedHelpFile, HasTheInternalFilesAViewerNeeds)
{
    EXPECT_EQ(help_->internalFiles,
              (std::vector<std::string>{"|CONTEXT", "|CTXOMAP", "|FONT", "|SYSTEM", "|TOPIC"}));
    EXPECT_EQ(help_->minor, 21);
    EXPECT_EQ(help_->flags, 4);
    EXPECT_EQ(help_->fontFaces, std::vector<std::string>{"Arial"});
    EXPECT_EQ(help_->fontCount, 3u);
}

TEST_F(GeneratedHelpFile, IsTitledAndCaptionsItsMainWindow)
{
    EXPECT_EQ(help_->title, "Veltrix Help");
    EXPECT_EQ(help_->windowName, "main");
    EXPECT_EQ(help_->windowCaption, "Veltrix Help");
}

TEST_F(GeneratedHelpFile, MainDialogContextOpensTheMainTopic)
{
    const helptest::Topic& main = MapTarget(*help_, MainDialogHelp);
    EXPECT_EQ(main.title, "Veltrix");
    const std::string text = main.Text();
    EXPECT_EQ(text.rfind("Veltrix\n", 0), 0u) << text;
    for (const char* phrase : {"which DLLs the programs in a directory tree use",
                               "raw bytes", "\".dll\"", "drive box", "[..]",
                               "exe, dll, com, sys, drv, ocx, vbx, 386",
                               "Application files (*.exe;*.dll)", "All files (*.*)",
                               "Include sub-directories in the search path", "Output to file"})
        EXPECT_NE(text.find(phrase), std::string::npos) << phrase;
    ASSERT_TRUE(help_->contents);
    EXPECT_EQ(*help_->contents, main.offset) << "the contents topic is the main topic";
}

TEST_F(GeneratedHelpFile, MainTopicJumpsToTheOtherTopics)
{
    const helptest::Topic& main = MapTarget(*help_, MainDialogHelp);
    std::set<std::string> reached;
    for (const auto& p : main.paragraphs)
        for (const helptest::Jump& j : p.jumps) {
            const helptest::Topic* target = JumpTarget(*help_, j.hash);
            ASSERT_NE(target, nullptr) << "jump '" << j.shown << "' leads nowhere";
            reached.insert(target->title);
        }
    EXPECT_EQ(reached, (std::set<std::string>{"The Results window", "The report file", "Options"}));
}

TEST_F(GeneratedHelpFile, TopicsDescribeWhatTheirTitlesSay)
{
    auto topic = [&](const std::string& title) -> std::string {
        for (const auto& t : help_->topics)
            if (t.title == title)
                return t.Text();
        return {};
    };
    const std::string results = topic("The Results window");
    EXPECT_NE(results.find("No DLL found"), std::string::npos);
    EXPECT_NE(results.find("left list"), std::string::npos);
    EXPECT_NE(results.find("right list"), std::string::npos);
    const std::string report = topic("The report file");
    EXPECT_NE(report.find("CR LF"), std::string::npos);
    EXPECT_NE(report.find("overwrites"), std::string::npos);
}

TEST_F(GeneratedHelpFile, EveryJumpAndContextIdLeadsToItsTopic)
{
    for (const auto& t : help_->topics)
        for (const auto& p : t.paragraphs)
            for (const helptest::Jump& j : p.jumps)
                EXPECT_NE(JumpTarget(*help_, j.hash), nullptr) << t.title << ": " << j.shown;
    ASSERT_EQ(help_->contexts.size(), source_->topics.size());
    for (const help::Topic& t : source_->topics) {
        const helptest::Topic* found = JumpTarget(*help_, help::ContextHash(t.contextId));
        ASSERT_NE(found, nullptr) << t.contextId;
        EXPECT_EQ(found->title, t.title);
    }
}

TEST_F(GeneratedHelpFile, TopicHeadersChainToTheNextTopic)
{
    const auto& topics = help_->topics;
    ASSERT_GE(topics.size(), 2u);
    for (std::size_t i = 0; i + 1 < topics.size(); ++i) {
        EXPECT_EQ(topics[i].nextTopic, topics[i + 1].position) << topics[i].title;
        EXPECT_EQ(topics[i].number, i);
    }
    EXPECT_TRUE(topics.back().title.empty()) << "the last link is the end marker";
}

// A source of many topics whose text compresses like prose, so that it
// needs several topic blocks.
std::string LargeSource(int topics, int paragraphs)
{
    static const char* words[] = {"module", "search", "library", "directory", "report", "window",
                                  "program", "reference", "system", "file", "shared", "drive",
                                  "select", "filter", "output", "result", "name", "path"};
    std::ostringstream s;
    s << ".title Large\n";
    unsigned seed = 12345;
    for (int t = 0; t < topics; ++t) {
        s << ".topic topic_" << t << ' ' << (t % 3 == 0 ? std::to_string(1000 + t) : "-") << " Topic number " << t << "\n";
        for (int p = 0; p < paragraphs; ++p) {
            for (int w = 0; w < 40; ++w) {
                seed = seed * 1103515245 + 12345;
                s << words[(seed >> 16) % std::size(words)] << ((seed >> 8) % 7) << ' ';
            }
            s << "[next](topic_" << (t + 1) % topics << ") **bold " << p << "**\n\n";
        }
    }
    return s.str();
}

TEST(HelpWriterLayout, SpreadsTopicsOverBlocksThatViewersCanIndex)
{
    const help::HelpSource source = help::ParseHelpSource(LargeSource(30, 6));
    const HelpFile help = ReadHelpFile(help::WriteHelpFile(source));

    ASSERT_GE(help.blocks.size(), 3u);
    // Each block's header names the first link in it and the last before it.
    for (std::size_t b = 0; b < help.blocks.size(); ++b) {
        std::uint32_t first = 0xFFFFFFFF, lastBefore = 0xFFFFFFFF, lastHeader = 0xFFFFFFFF;
        for (const helptest::TopicLink& l : help.links) {
            const std::size_t block = (l.position - 12) / help::DecompressSize;
            if (block == b && first == 0xFFFFFFFF)
                first = l.position;
            if (block + 1 == b)
                lastBefore = l.position;
            if (block < b && l.type == 2)
                lastHeader = l.position;
        }
        EXPECT_EQ(help.blocks[b].firstLink, first) << b;
        EXPECT_EQ(help.blocks[b].lastLinkOfPrevious, lastBefore) << b;
        EXPECT_EQ(help.blocks[b].lastTopicHeader, lastHeader) << b;
    }
    for (int t = 0; t < 30; ++t) {
        const helptest::Topic* found = JumpTarget(help, help::ContextHash("topic_" + std::to_string(t)));
        ASSERT_NE(found, nullptr) << t;
        EXPECT_EQ(found->title, "Topic number " + std::to_string(t));
        EXPECT_EQ(found->paragraphs.size(), 7u);
    }
    std::set<std::uint32_t> blocksWithTopics;
    for (const auto& t : help.topics)
        blocksWithTopics.insert(t.offset / 0x8000);
    EXPECT_GE(blocksWithTopics.size(), 3u) << "topic offsets must carry their block number";

    std::map<std::uint32_t, std::string> mapped;
    for (const auto& [number, offset] : help.map)
        mapped[number] = help.TopicAt(offset) ? help.TopicAt(offset)->title : "";
    EXPECT_EQ(mapped.size(), 10u);
    for (const auto& [number, title] : mapped)
        EXPECT_EQ(title, "Topic number " + std::to_string(number - 1000));
}

TEST(HelpWriterLayout, RefusesAParagraphLargerThanATopicBlock)
{
    std::string text = ".title T\n.topic a - A\n";
    unsigned seed = 1;
    for (int i = 0; i < 12000; ++i) {
        seed = seed * 1103515245 + 12345;
        text += static_cast<char>('a' + (seed >> 16) % 26);
    }
    text += "\n";
    EXPECT_THROW(help::WriteHelpFile(help::ParseHelpSource(text)), std::runtime_error);
}

TEST(HelpWriterLayout, WritesTheSameBytesForTheSameSource)
{
    const help::HelpSource source = help::ParseHelpSource(LargeSource(3, 2));
    EXPECT_EQ(help::WriteHelpFile(source), help::WriteHelpFile(source));
}

} // namespace
