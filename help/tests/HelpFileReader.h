// A reader of help files for the tests, written from the file format's
// description rather than from the writer: it walks the internal directory,
// |SYSTEM, |TOPIC, |CONTEXT and |CTXOMAP the way a help viewer does, and
// throws std::runtime_error on anything a viewer would trip over.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace helptest {

using Bytes = std::vector<std::uint8_t>;

Bytes Lz77Decompress(const std::uint8_t* data, std::size_t size, std::size_t limit = SIZE_MAX);

struct Jump {
    std::int32_t hash = 0;
    std::string shown;
};

struct ParagraphText {
    std::string text; // paragraph ends as '\n'
    std::vector<Jump> jumps;
};

struct TopicLink {
    std::uint32_t position = 0; // TOPICPOS
    std::uint8_t type = 0;
};

struct Topic {
    std::uint32_t position = 0; // TOPICPOS of its header
    std::uint32_t offset = 0;   // TOPICOFFSET, counted by this reader
    std::uint32_t number = 0;
    std::uint32_t scroll = 0;
    std::uint32_t nextTopic = 0;
    std::string title;
    std::vector<ParagraphText> paragraphs;
    std::string Text() const;
};

struct BlockHeader {
    std::uint32_t lastLinkOfPrevious = 0, firstLink = 0, lastTopicHeader = 0;
};

struct HelpFile {
    std::vector<std::string> internalFiles; // directory order
    std::uint16_t minor = 0, flags = 0;
    std::string title, copyright;
    std::optional<std::uint32_t> contents;
    std::string windowName, windowCaption;
    std::vector<std::string> fontFaces;
    std::size_t fontCount = 0;
    std::vector<BlockHeader> blocks;
    std::vector<TopicLink> links; // in walking order
    std::vector<Topic> topics;    // every topic header, the end marker included
    std::map<std::int32_t, std::uint32_t> contexts;        // hash -> offset
    std::vector<std::pair<std::uint32_t, std::uint32_t>> map; // number -> offset

    // The topic that starts exactly at `offset`, or nullptr.
    const Topic* TopicAt(std::uint32_t offset) const;
};

HelpFile ReadHelpFile(const Bytes& file);

Bytes ReadBinaryFile(const std::string& path);

} // namespace helptest
