#include "HelpWriter.h"

#include <algorithm>
#include <map>
#include <optional>
#include <stdexcept>

namespace help {

namespace {

constexpr std::uint32_t None = 0xFFFFFFFF; // "no position" in links and headers

// Room left in a block's compressed data while links are being placed: the
// positions filled in afterwards (a block's last forward pointer, the topic
// headers) change a few bytes, which can change the compressed size a
// little. The final compression is checked exactly, and the layout redone
// with more room when a block overflows.
constexpr std::uint32_t FirstPlacementMargin = 64;
constexpr std::uint32_t LastPlacementMargin = 2048;

enum Font : std::uint16_t { BodyFont = 0, HeadingFont = 1, BoldFont = 2 };

void Put8(Bytes& b, unsigned v) { b.push_back(static_cast<std::uint8_t>(v)); }
void Put16(Bytes& b, unsigned v)
{
    Put8(b, v & 0xFF);
    Put8(b, (v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void Set32(Bytes& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void PutString(Bytes& b, std::string_view s)
{
    b.insert(b.end(), s.begin(), s.end());
    Put8(b, 0);
}
void PutFixed(Bytes& b, std::string_view s, std::size_t size)
{
    if (s.size() >= size)
        throw std::runtime_error("'" + std::string(s) + "' is too long (at most " + std::to_string(size - 1) + " characters)");
    b.insert(b.end(), s.begin(), s.end());
    b.insert(b.end(), size - s.size(), 0);
}
void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

// The paragraph records' packed numbers: the low bit of the first byte says
// whether the short (even) or the long (odd) form follows.
void PutCompressedUnsignedShort(Bytes& b, unsigned v)
{
    if (v < 0x80)
        Put8(b, v * 2);
    else if (v < 0x8000)
        Put16(b, v * 2 + 1);
    else
        throw std::runtime_error("value too large for a paragraph record");
}
void PutCompressedSignedShort(Bytes& b, int v)
{
    if (v >= -64 && v < 64)
        Put8(b, static_cast<unsigned>((v + 64) * 2));
    else if (v >= 0 && v < 16384)
        Put16(b, static_cast<unsigned>((v + 16384) * 2 + 1));
    else
        throw std::runtime_error("value out of range for a paragraph record");
}
void PutCompressedSignedLong(Bytes& b, long v)
{
    if (v >= -16384 && v < 16384)
        Put16(b, static_cast<unsigned>((v + 16384) * 2));
    else
        throw std::runtime_error("paragraph too long");
}

// An internal file: its 9-byte header, then the content.
Bytes InternalFile(const Bytes& content, std::uint8_t flags = 0)
{
    Bytes b;
    Put32(b, static_cast<std::uint32_t>(content.size() + 9)); // reserved
    Put32(b, static_cast<std::uint32_t>(content.size()));     // used
    Put8(b, flags);
    Append(b, content);
    return b;
}

// A B+ tree whose entries all fit in one leaf page, which is the root. The
// entries arrive sorted the way readers search them.
Bytes SingleLeafTree(std::string_view structure, std::uint16_t flags, std::uint16_t pageSize,
                     const std::vector<Bytes>& entries)
{
    std::size_t used = 8;
    for (const Bytes& e : entries)
        used += e.size();
    if (used > pageSize)
        throw std::runtime_error("too many entries for one B+ tree page");

    Bytes b;
    Put16(b, 0x293B);
    Put16(b, flags);
    Put16(b, pageSize);
    PutFixed(b, structure, 16);
    Put16(b, 0);      // must be zero
    Put16(b, 0);      // page splits
    Put16(b, 0);      // root page
    Put16(b, 0xFFFF); // must be -1
    Put16(b, 1);      // total pages
    Put16(b, 1);      // levels
    Put32(b, static_cast<std::uint32_t>(entries.size()));

    Put16(b, static_cast<unsigned>(pageSize - used)); // unused bytes at the page end
    Put16(b, static_cast<unsigned>(entries.size()));
    Put16(b, 0xFFFF); // previous leaf
    Put16(b, 0xFFFF); // next leaf
    for (const Bytes& e : entries)
        Append(b, e);
    b.insert(b.end(), pageSize - used, 0);
    return b;
}

// One TOPICLINK of |TOPIC before placement.
struct Link {
    std::uint8_t type = 0;     // 2 topic header, 0x20 text
    Bytes data1;               // after the 21-byte link header
    Bytes data2;               // the strings
    std::uint32_t chars = 0;   // characters it shows (text records)
    std::size_t topic = 0;     // index of the topic it belongs to
    std::uint32_t block = 0;   // where it was placed
    std::uint32_t offset = 0;  // in the block's decompressed data
    std::uint32_t Size() const { return static_cast<std::uint32_t>(21 + data1.size() + data2.size()); }
    std::uint32_t Position() const { return TopicBlockHeaderSize + block * DecompressSize + offset; }
};

constexpr std::uint32_t TopicHeaderSize = 28;

// A text record for one paragraph: paragraph settings, then the formatting
// commands in data1 and the strings between them in data2. Each command is
// preceded by exactly one string (often empty).
Link TextRecord(const Paragraph& p, std::size_t topic)
{
    Bytes commands;
    std::string text; // the string before the next command
    Bytes strings;
    std::uint32_t chars = 0;
    auto command = [&](std::initializer_list<std::uint8_t> bytes) {
        strings.insert(strings.end(), text.begin(), text.end());
        strings.push_back(0);
        chars += static_cast<std::uint32_t>(text.size());
        text.clear();
        commands.insert(commands.end(), bytes);
    };
    auto font = [&](std::uint16_t f) { command({0x80, static_cast<std::uint8_t>(f & 0xFF), static_cast<std::uint8_t>(f >> 8)}); };

    const std::uint16_t base = p.kind == Paragraph::Kind::Heading ? HeadingFont : BodyFont;
    std::uint16_t current = base;
    font(base);
    if (p.kind == Paragraph::Kind::Bullet)
        text = "\x95 ";
    for (const Run& run : p.runs) {
        const std::uint16_t wanted = run.bold && base == BodyFont ? std::uint16_t{BoldFont} : base;
        if (!run.jumpTo.empty()) {
            if (current != base) {
                font(base);
                current = base;
            }
            const auto hash = static_cast<std::uint32_t>(ContextHash(run.jumpTo));
            command({0xE3, static_cast<std::uint8_t>(hash), static_cast<std::uint8_t>(hash >> 8),
                     static_cast<std::uint8_t>(hash >> 16), static_cast<std::uint8_t>(hash >> 24)});
            text = run.text;
            command({0x89}); // end of the hotspot
            continue;
        }
        if (wanted != current) {
            font(wanted);
            current = wanted;
        }
        text += run.text;
    }
    command({0x82}); // end of paragraph
    chars += 1;
    command({0xFF}); // end of the record

    Link link;
    link.type = 0x20;
    link.topic = topic;
    link.chars = chars;
    link.data2 = std::move(strings);

    Bytes& d = link.data1;
    PutCompressedSignedLong(d, static_cast<long>(link.data2.size()));
    PutCompressedUnsignedShort(d, chars);
    Put8(d, 0);    // unknown
    Put8(d, 0x80); // unknown, biased: 0
    Put16(d, 0);   // id
    // The settings follow in the order of their bits: spacing above (0x02),
    // below (0x04), left (0x10), right (0x20) and first-line indent (0x40).
    switch (p.kind) {
    case Paragraph::Kind::Heading:
        Put16(d, 0x0004 | 0x0010 | 0x0020);
        PutCompressedSignedShort(d, 12);
        PutCompressedSignedShort(d, 10);
        PutCompressedSignedShort(d, 10);
        break;
    case Paragraph::Kind::Body:
        Put16(d, 0x0002 | 0x0010 | 0x0020);
        PutCompressedSignedShort(d, 8);
        PutCompressedSignedShort(d, 10);
        PutCompressedSignedShort(d, 10);
        break;
    case Paragraph::Kind::Bullet:
        // The bullet hangs left of the text it belongs to.
        Put16(d, 0x0002 | 0x0010 | 0x0020 | 0x0040);
        PutCompressedSignedShort(d, 4);
        PutCompressedSignedShort(d, 38);
        PutCompressedSignedShort(d, 10);
        PutCompressedSignedShort(d, -14);
        break;
    }
    d.insert(d.end(), commands.begin(), commands.end());
    return link;
}

Link TopicHeader(const std::string& title, std::size_t topic)
{
    Link link;
    link.type = 2;
    link.topic = topic;
    link.data1.assign(TopicHeaderSize, 0); // filled in once placed
    if (!title.empty())
        PutString(link.data2, title);
    return link;
}

Bytes LinkBytes(const Link& l, std::uint32_t prev, std::uint32_t next)
{
    Bytes b;
    Put32(b, l.Size());
    Put32(b, static_cast<std::uint32_t>(l.data2.size()));
    Put32(b, prev);
    Put32(b, next);
    Put32(b, static_cast<std::uint32_t>(21 + l.data1.size()));
    Put8(b, l.type);
    Append(b, l.data1);
    Append(b, l.data2);
    return b;
}

struct TopicLayout {
    Bytes file;                                // |TOPIC content
    std::vector<std::uint32_t> topicOffsets;   // TOPICOFFSET of each topic
};

// The topic header's fields, from what is known of the layout.
Bytes TopicHeaderData(std::uint32_t topicBytes, std::uint32_t number, std::uint32_t scroll, std::uint32_t next)
{
    Bytes d;
    Put32(d, topicBytes);
    Put32(d, None); // browse back
    Put32(d, None); // browse forward
    Put32(d, number);
    Put32(d, None); // no non-scrolling region
    Put32(d, scroll);
    Put32(d, next);
    return d;
}

// Lays |TOPIC out; nothing when a block overflows with this margin.
std::optional<TopicLayout> LayOutTopics(const HelpSource& source, std::uint32_t margin)
{
    std::vector<Link> links;
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        links.push_back(TopicHeader(source.topics[t].title, t));
        for (const Paragraph& p : source.topics[t].paragraphs)
            links.push_back(TextRecord(p, t));
    }
    // Readers treat the last link as an end marker and show nothing of it.
    links.push_back(TopicHeader({}, source.topics.size()));

    // Place links in blocks: a link never straddles two blocks, and a block's
    // compressed data fits its 4 KB.
    // While placing, unknown positions are guessed as what they will be when
    // the next link follows in the same block.
    std::vector<Bytes> blockData(1);
    std::uint32_t block = 0;
    for (std::size_t i = 0; i < links.size(); ++i) {
        Link& l = links[i];
        Bytes bytes;
        auto fits = [&](const Bytes& data) {
            l.block = block;
            l.offset = static_cast<std::uint32_t>(data.size());
            if (l.type == 2)
                l.data1 = TopicHeaderData(0, static_cast<std::uint32_t>(l.topic), l.Position() + l.Size(), None);
            bytes = LinkBytes(l, i == 0 ? None : links[i - 1].Position(), l.Position() + l.Size());
            if (data.size() + bytes.size() > DecompressSize)
                return false;
            Bytes trial = data;
            Append(trial, bytes);
            return Lz77Compress(trial).size() + margin <= TopicBlockSize - TopicBlockHeaderSize;
        };
        if (!fits(blockData[block])) {
            if (blockData[block].empty())
                throw std::runtime_error("a paragraph of topic '" + source.topics[std::min(l.topic, source.topics.size() - 1)].title + "' is too large for a topic block");
            blockData.emplace_back();
            ++block;
            if (!fits(blockData[block]))
                throw std::runtime_error("a paragraph of topic '" + source.topics[std::min(l.topic, source.topics.size() - 1)].title + "' is too large for a topic block");
        }
        Append(blockData[block], bytes);
    }

    // Topic offsets: the block number above 15 bits of characters shown
    // before the topic within its block.
    TopicLayout layout;
    std::vector<std::uint32_t> headerOffsets(source.topics.size() + 1);
    {
        std::uint32_t lastBlock = None, chars = 0;
        for (const Link& l : links) {
            if (l.block != lastBlock) {
                lastBlock = l.block;
                chars = 0;
            }
            if (l.type == 2)
                headerOffsets[l.topic] = l.block * 0x8000 + chars;
            chars += l.chars;
        }
    }
    layout.topicOffsets.assign(headerOffsets.begin(), headerOffsets.end() - 1);

    // Fill in the topic headers now that positions are known.
    std::vector<std::size_t> headerIndex;
    for (std::size_t i = 0; i < links.size(); ++i)
        if (links[i].type == 2)
            headerIndex.push_back(i);
    for (std::size_t h = 0; h < headerIndex.size(); ++h) {
        Link& l = links[headerIndex[h]];
        const bool last = h + 1 == headerIndex.size();
        const std::size_t end = last ? links.size() : headerIndex[h + 1];
        std::uint32_t topicBytes = 0;
        for (std::size_t i = headerIndex[h]; i < end; ++i)
            topicBytes += links[i].Size();
        l.data1 = TopicHeaderData(topicBytes, static_cast<std::uint32_t>(h),
                                  last ? None : links[headerIndex[h] + 1].Position(),  // scrolling region
                                  last ? None : links[headerIndex[h + 1]].Position()); // next topic
    }

    // Write the blocks: header, then the compressed links.
    std::vector<Bytes> plain(blockData.size());
    for (std::size_t i = 0; i < links.size(); ++i) {
        const std::uint32_t prev = i == 0 ? None : links[i - 1].Position();
        const std::uint32_t next = i + 1 == links.size() ? None : links[i + 1].Position();
        Append(plain[links[i].block], LinkBytes(links[i], prev, next));
    }
    for (std::uint32_t b = 0; b < plain.size(); ++b) {
        std::uint32_t lastInPrevious = None, first = None, lastHeader = None;
        for (const Link& l : links) {
            if (l.block + 1 == b)
                lastInPrevious = l.Position();
            if (l.block == b && first == None)
                first = l.Position();
            if (l.block < b && l.type == 2)
                lastHeader = l.Position();
        }
        Bytes header;
        Put32(header, lastInPrevious);
        Put32(header, first);
        Put32(header, lastHeader);
        const Bytes packed = Lz77Compress(plain[b]);
        if (packed.size() > TopicBlockSize - TopicBlockHeaderSize)
            return std::nullopt;
        Append(layout.file, header);
        Append(layout.file, packed);
        // Every block is stored at full size; readers index blocks by size.
        layout.file.resize((b + 1) * TopicBlockSize, 0);
    }
    return layout;
}

Bytes SystemFile(const HelpSource& source, std::uint32_t contentsOffset)
{
    Bytes b;
    Put16(b, 0x036C);
    Put16(b, 21); // format of WinHelp 3.1
    Put16(b, 1);
    Put32(b, 0);  // creation date: left out, so that builds are reproducible
    Put16(b, 4);  // LZ77 compressed topics in 4 KB blocks

    auto record = [&](unsigned type, const Bytes& data) {
        Put16(b, type);
        Put16(b, static_cast<unsigned>(data.size()));
        Append(b, data);
    };
    Bytes title;
    PutString(title, source.title);
    record(1, title);
    if (!source.copyright.empty()) {
        Bytes copyright;
        PutString(copyright, source.copyright);
        record(2, copyright);
    }
    Bytes contents;
    Put32(contents, contentsOffset);
    record(3, contents);

    // The main window, so that it is captioned with the title.
    Bytes window;
    unsigned flags = 0x0002 | 0x0004; // name, caption
    if (source.window)
        flags |= 0x0008 | 0x0010 | 0x0020 | 0x0040; // x, y, width, height
    Put16(window, flags);
    PutFixed(window, "", 10);
    PutFixed(window, "main", 9);
    PutFixed(window, source.title, 51);
    const WindowPlacement w = source.window.value_or(WindowPlacement{});
    Put16(window, static_cast<unsigned>(w.x));
    Put16(window, static_cast<unsigned>(w.y));
    Put16(window, static_cast<unsigned>(w.width));
    Put16(window, static_cast<unsigned>(w.height));
    Put16(window, 0); // not maximized
    Put32(window, 0); // colours: not given
    Put32(window, 0);
    record(6, window);
    return b;
}

Bytes FontFile()
{
    constexpr unsigned FaceSize = 20;
    struct Descriptor {
        std::uint8_t attributes; // 1 bold
        std::uint8_t halfPoints;
        std::uint8_t rgb[3];
    };
    static constexpr Descriptor descriptors[] = {
        {0, 20, {0, 0, 0}},    // BodyFont
        {1, 28, {0, 0, 128}},  // HeadingFont
        {1, 20, {0, 0, 0}},    // BoldFont
    };
    Bytes b;
    Put16(b, 1);                          // face names
    Put16(b, std::size(descriptors));
    Put16(b, 8);                          // face names start
    Put16(b, 8 + FaceSize);               // descriptors start
    PutFixed(b, "Arial", FaceSize);
    for (const Descriptor& d : descriptors) {
        Put8(b, d.attributes);
        Put8(b, d.halfPoints);
        Put8(b, 3); // swiss
        Put16(b, 0);
        for (std::uint8_t c : d.rgb)
            Put8(b, c);
        for (int i = 0; i < 3; ++i)
            Put8(b, 0xFF); // background: white
    }
    return b;
}

} // namespace

std::int32_t ContextHash(std::string_view contextId)
{
    std::uint32_t hash = 0;
    for (char c : contextId) {
        std::uint32_t v = 0;
        if (c >= 'A' && c <= 'Z')
            v = static_cast<std::uint32_t>(c - 'A') + 17;
        else if (c >= 'a' && c <= 'z')
            v = static_cast<std::uint32_t>(c - 'a') + 17;
        else if (c >= '1' && c <= '9')
            v = static_cast<std::uint32_t>(c - '0');
        else if (c == '0')
            v = 10;
        else if (c == '.')
            v = 12;
        else if (c == '_')
            v = 13;
        else
            throw std::runtime_error("context id '" + std::string(contextId) + "' has a character without a hash value");
        hash = hash * 43 + v;
    }
    return static_cast<std::int32_t>(hash);
}

Bytes Lz77Compress(const Bytes& data)
{
    constexpr std::size_t Window = 4096, MinMatch = 3, MaxMatch = 18, MaxChain = 256;
    const std::size_t n = data.size();
    // Chains of earlier positions with the same three leading bytes.
    std::vector<std::int32_t> head(1 << 14, -1), previous(n, -1);
    auto key = [&](std::size_t i) {
        return ((data[i] << 8) ^ (data[i + 1] << 4) ^ data[i + 2]) & ((1 << 14) - 1);
    };
    std::size_t inserted = 0;
    auto insertUpTo = [&](std::size_t end) {
        for (; inserted < end && inserted + MinMatch <= n; ++inserted) {
            const auto k = key(inserted);
            previous[inserted] = head[k];
            head[k] = static_cast<std::int32_t>(inserted);
        }
    };

    Bytes out;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t flagAt = out.size();
        out.push_back(0);
        for (int bit = 0; bit < 8 && i < n; ++bit) {
            insertUpTo(i);
            std::size_t bestLength = 0, bestDistance = 0;
            if (i + MinMatch <= n) {
                const std::size_t limit = std::min(MaxMatch, n - i);
                std::size_t chain = 0;
                for (std::int32_t c = head[key(i)]; c >= 0 && chain < MaxChain; c = previous[c], ++chain) {
                    const std::size_t distance = i - static_cast<std::size_t>(c);
                    if (distance > Window)
                        break;
                    std::size_t length = 0;
                    while (length < limit && data[c + length] == data[i + length])
                        ++length;
                    if (length > bestLength) {
                        bestLength = length;
                        bestDistance = distance;
                        if (length == limit)
                            break;
                    }
                }
            }
            if (bestLength >= MinMatch) {
                const unsigned code = static_cast<unsigned>(((bestLength - MinMatch) << 12) | (bestDistance - 1));
                Put16(out, code);
                out[flagAt] |= static_cast<std::uint8_t>(1u << bit);
                i += bestLength;
            } else {
                out.push_back(data[i]);
                ++i;
            }
        }
    }
    return out;
}

Bytes WriteHelpFile(const HelpSource& source)
{
    if (source.topics.empty())
        throw std::runtime_error("no topics");
    std::optional<TopicLayout> laidOut;
    for (std::uint32_t margin = FirstPlacementMargin; !laidOut && margin <= LastPlacementMargin; margin *= 2)
        laidOut = LayOutTopics(source, margin);
    if (!laidOut)
        throw std::runtime_error("the topics do not fit their blocks");
    const TopicLayout& topics = *laidOut;

    std::map<std::int32_t, std::uint32_t> contexts; // sorted as readers search
    for (std::size_t t = 0; t < source.topics.size(); ++t) {
        const std::int32_t hash = ContextHash(source.topics[t].contextId);
        if (!contexts.emplace(hash, topics.topicOffsets[t]).second)
            throw std::runtime_error("context id '" + source.topics[t].contextId + "' hashes like another one");
    }
    std::vector<Bytes> contextEntries;
    for (const auto& [hash, offset] : contexts) {
        Bytes e;
        Put32(e, static_cast<std::uint32_t>(hash));
        Put32(e, offset);
        contextEntries.push_back(e);
    }

    Bytes map;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> mapped;
    for (std::size_t t = 0; t < source.topics.size(); ++t)
        if (source.topics[t].mapNumber)
            mapped.emplace_back(*source.topics[t].mapNumber, topics.topicOffsets[t]);
    Put16(map, static_cast<unsigned>(mapped.size()));
    for (const auto& [number, offset] : mapped) {
        Put32(map, number);
        Put32(map, offset);
    }

    // Internal files by name; the directory lists them in byte order.
    const std::map<std::string, Bytes> files = {
        {"|CONTEXT", SingleLeafTree("L4", 0x0002, 2048, contextEntries)},
        {"|CTXOMAP", map},
        {"|FONT", FontFile()},
        {"|SYSTEM", SystemFile(source, topics.topicOffsets.front())},
        {"|TOPIC", topics.file},
    };

    Bytes out(16, 0);
    std::vector<Bytes> directory;
    for (const auto& [name, content] : files) {
        Bytes e;
        PutString(e, name);
        Put32(e, static_cast<std::uint32_t>(out.size()));
        directory.push_back(e);
        Append(out, InternalFile(content));
    }
    const auto directoryStart = static_cast<std::uint32_t>(out.size());
    Append(out, InternalFile(SingleLeafTree("z4", 0x0402, 1024, directory), 4));

    Set32(out, 0, 0x00035F3F);
    Set32(out, 4, directoryStart);
    Set32(out, 8, None); // no free list
    Set32(out, 12, static_cast<std::uint32_t>(out.size()));
    return out;
}

} // namespace help
