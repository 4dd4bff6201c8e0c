#include "HelpSource.h"

#include <gtest/gtest.h>

namespace {

using help::Paragraph;
using help::ParseHelpSource;
using help::SourceError;

TEST(HelpSource, ParsesTopicsParagraphsAndInlineMarkup)
{
    const help::HelpSource s = ParseHelpSource(
        "# a comment\n"
        ".title My Help\n"
        ".window 1 2 300 400\n"
        ".topic first 0x20066 First topic\n"
        "Two lines\n"
        "join. Press [..] to go up.\n"
        "\n"
        "* A **bold** word and a [jump](second).\n"
        ".topic second - Second\n"
        "Text.\n");
    EXPECT_EQ(s.title, "My Help");
    ASSERT_TRUE(s.window);
    EXPECT_EQ(s.window->width, 300);
    ASSERT_EQ(s.topics.size(), 2u);

    const help::Topic& first = s.topics[0];
    EXPECT_EQ(first.contextId, "first");
    EXPECT_EQ(first.mapNumber, 0x20066u);
    ASSERT_EQ(first.paragraphs.size(), 3u);
    EXPECT_EQ(first.paragraphs[0].kind, Paragraph::Kind::Heading);
    EXPECT_EQ(first.paragraphs[0].runs[0].text, "First topic");

    const Paragraph& body = first.paragraphs[1];
    EXPECT_EQ(body.kind, Paragraph::Kind::Body);
    ASSERT_EQ(body.runs.size(), 1u);
    EXPECT_EQ(body.runs[0].text, "Two lines join. Press [..] to go up.");

    const Paragraph& bullet = first.paragraphs[2];
    EXPECT_EQ(bullet.kind, Paragraph::Kind::Bullet);
    ASSERT_EQ(bullet.runs.size(), 5u);
    EXPECT_EQ(bullet.runs[0].text, "A ");
    EXPECT_TRUE(bullet.runs[1].bold);
    EXPECT_EQ(bullet.runs[1].text, "bold");
    EXPECT_FALSE(bullet.runs[2].bold);
    EXPECT_EQ(bullet.runs[3].text, "jump");
    EXPECT_EQ(bullet.runs[3].jumpTo, "second");
    EXPECT_EQ(bullet.runs[4].text, ".");

    EXPECT_FALSE(s.topics[1].mapNumber);
}

struct BadSource {
    const char* text;
    int line;
    const char* message;
};

class HelpSourceErrors : public ::testing::TestWithParam<BadSource> {};

TEST_P(HelpSourceErrors, NameTheMistakeAndItsLine)
{
    const BadSource& bad = GetParam();
    try {
        ParseHelpSource(bad.text);
        FAIL() << "accepted: " << bad.text;
    } catch (const SourceError& e) {
        EXPECT_EQ(e.line(), bad.line) << e.what();
        EXPECT_NE(std::string(e.what()).find(bad.message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpSourceErrors,
    ::testing::Values(
        BadSource{".title T\n.topic a - A\nsee [b](nowhere)\n", 3, "unknown topic 'nowhere'"},
        BadSource{".title T\n.topic a - A\n.topic a - B\n", 3, "used twice"},
        BadSource{".title T\n.topic a 5 A\n.topic b 5 B\n", 3, "map number 5 used twice"},
        BadSource{".title T\n.topic a-b - A\n", 2, "may use only"},
        BadSource{".title T\ntext first\n.topic a - A\n", 2, "before the first .topic"},
        BadSource{".title T\n.topic a - A\nsome **bold\n", 3, "left open"},
        BadSource{".title T\n.topic a - A\ncaf\xc3\xa9\n", 3, "ASCII"},
        BadSource{".topic a - A\n", 1, "no .title"},
        BadSource{".title T\n.topic a 12x A\n", 2, "not a number"},
        BadSource{".title T\n.topic a -\n", 2, "needs a title"},
        BadSource{".title T\n.frobnicate\n", 2, "unknown directive"}));

} // namespace
