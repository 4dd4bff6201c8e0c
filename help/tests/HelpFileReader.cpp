#include "HelpFileReader.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace helptest {

namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

struct Cursor {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;

    void Need(std::size_t n) const
    {
        if (at + n > size)
            Fail("read past the end of a structure");
    }
    std::uint8_t U8()
    {
        Need(1);
        return data[at++];
    }
    std::uint16_t U16()
    {
        Need(2);
        const std::uint16_t v = static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
        at += 2;
        return v;
    }
    std::uint32_t U32()
    {
        const std::uint32_t lo = U16();
        return lo | (static_cast<std::uint32_t>(U16()) << 16);
    }
    std::string String()
    {
        std::string s;
        for (;;) {
            const char c = static_cast<char>(U8());
            if (!c)
                return s;
            s += c;
        }
    }
    std::string Fixed(std::size_t n)
    {
        Need(n);
        const char* p = reinterpret_cast<const char*>(data + at);
        at += n;
        return std::string(p, strnlen(p, n));
    }
    // The packed numbers of paragraph records.
    unsigned CompressedUnsignedShort()
    {
        Need(1);
        if (data[at] & 1)
            return U16() >> 1;
        return U8() >> 1;
    }
    int CompressedSignedShort()
    {
        Need(1);
        if (data[at] & 1)
            return static_cast<int>(U16() >> 1) - 16384;
        return static_cast<int>(U8() >> 1) - 64;
    }
    long CompressedSignedLong()
    {
        Need(2);
        if (data[at] & 1)
            return static_cast<long>(U32() >> 1) - 67108864L;
        return static_cast<long>(U16() >> 1) - 16384L;
    }
};

struct InternalFile {
    const std::uint8_t* data;
    std::size_t size;
};

InternalFile At(const Bytes& file, std::uint32_t offset)
{
    if (offset + 9ull > file.size())
        Fail("internal file header outside the file");
    Cursor c{file.data(), file.size(), offset};
    const std::uint32_t reserved = c.U32();
    const std::uint32_t used = c.U32();
    c.U8();
    if (used + 9ull > reserved)
        Fail("internal file uses more than it reserves");
    if (offset + static_cast<std::size_t>(reserved) > file.size())
        Fail("internal file runs past the end of the help file");
    return {file.data() + offset + 9, used};
}

// Walks a B+ tree's leaves in order, handing each entry to `entry`, which
// reads it from the cursor.
void WalkTree(InternalFile f, const char* expectedStructure, const std::function<void(Cursor&)>& entry)
{
    Cursor h{f.data, f.size};
    if (h.U16() != 0x293B)
        Fail("bad B+ tree magic");
    h.U16();
    const std::uint16_t pageSize = h.U16();
    const std::string structure = h.Fixed(16);
    if (structure != expectedStructure)
        Fail("B+ tree structure '" + structure + "'");
    h.U16();
    h.U16();
    std::uint16_t page = h.U16();
    h.U16();
    const std::uint16_t totalPages = h.U16();
    std::uint16_t levels = h.U16();
    const std::uint32_t total = h.U32();
    const std::size_t pagesAt = h.at;
    if (pagesAt + static_cast<std::size_t>(totalPages) * pageSize > f.size)
        Fail("B+ tree pages outside the file");
    auto pageCursor = [&](std::uint16_t p) {
        if (p >= totalPages)
            Fail("B+ tree page number out of range");
        return Cursor{f.data + pagesAt + static_cast<std::size_t>(p) * pageSize, pageSize};
    };
    for (; levels > 1; --levels) {
        Cursor c = pageCursor(page);
        c.U16();
        c.U16();
        page = c.U16(); // the leftmost child
    }
    std::uint32_t seen = 0;
    for (int guard = 0; page != 0xFFFF; ++guard) {
        if (guard > totalPages)
            Fail("B+ tree leaves loop");
        Cursor c = pageCursor(page);
        const std::uint16_t unused = c.U16();
        const std::uint16_t entries = c.U16();
        c.U16();
        const std::uint16_t next = c.U16();
        for (unsigned i = 0; i < entries; ++i)
            entry(c);
        if (c.at + unused != pageSize)
            Fail("B+ tree page's unused count disagrees with its entries");
        seen += entries;
        page = next;
    }
    if (seen != total)
        Fail("B+ tree holds a different number of entries than its header says");
}

} // namespace

Bytes Lz77Decompress(const std::uint8_t* data, std::size_t size, std::size_t limit)
{
    Bytes out;
    std::size_t i = 0;
    while (i < size && out.size() < limit) {
        const std::uint8_t flags = data[i++];
        for (int bit = 0; bit < 8 && i < size && out.size() < limit; ++bit) {
            if (flags & (1 << bit)) {
                if (i + 2 > size)
                    Fail("LZ77 reference cut off");
                const unsigned code = data[i] | (data[i + 1] << 8);
                i += 2;
                const std::size_t distance = (code & 0xFFF) + 1;
                const std::size_t length = (code >> 12) + 3;
                if (distance > out.size())
                    Fail("LZ77 reference before the start");
                for (std::size_t k = 0; k < length; ++k)
                    out.push_back(out[out.size() - distance]);
            } else {
                out.push_back(data[i++]);
            }
        }
    }
    if (out.size() > limit)
        out.resize(limit);
    return out;
}

std::string Topic::Text() const
{
    std::string all;
    for (const ParagraphText& p : paragraphs)
        all += p.text;
    return all;
}

const Topic* HelpFile::TopicAt(std::uint32_t offset) const
{
    for (const Topic& t : topics)
        if (t.offset == offset && !t.title.empty())
            return &t;
    return nullptr;
}

HelpFile ReadHelpFile(const Bytes& file)
{
    HelpFile help;
    Cursor header{file.data(), file.size()};
    if (header.U32() != 0x00035F3F)
        Fail("not a help file");
    const std::uint32_t directoryAt = header.U32();
    header.U32();
    if (header.U32() != file.size())
        Fail("file size in the header is wrong");

    std::map<std::string, std::uint32_t> where;
    std::string previousName;
    WalkTree(At(file, directoryAt), "z4", [&](Cursor& c) {
        const std::string name = c.String();
        const std::uint32_t offset = c.U32();
        if (!help.internalFiles.empty() && !(previousName < name))
            Fail("directory not in byte order");
        previousName = name;
        help.internalFiles.push_back(name);
        where[name] = offset;
    });
    auto find = [&](const std::string& name) {
        const auto it = where.find(name);
        if (it == where.end())
            Fail("no internal file " + name);
        return At(file, it->second);
    };

    // |SYSTEM
    {
        const InternalFile f = find("|SYSTEM");
        Cursor c{f.data, f.size};
        if (c.U16() != 0x036C)
            Fail("bad |SYSTEM magic");
        help.minor = c.U16();
        if (c.U16() != 1)
            Fail("bad |SYSTEM major version");
        c.U32();
        help.flags = c.U16();
        if (help.minor <= 16)
            Fail("expected the 3.1 format");
        while (c.at < c.size) {
            const std::uint16_t type = c.U16();
            const std::uint16_t length = c.U16();
            c.Need(length);
            Cursor r{c.data + c.at, length};
            switch (type) {
            case 1: help.title = r.String(); break;
            case 2: help.copyright = r.String(); break;
            case 3: help.contents = r.U32(); break;
            case 6:
                if (length != 90)
                    Fail("window record of wrong size");
                r.U16();
                r.Fixed(10);
                help.windowName = r.Fixed(9);
                help.windowCaption = r.Fixed(51);
                break;
            default: break;
            }
            c.at += length;
        }
    }

    // |FONT
    {
        const InternalFile f = find("|FONT");
        Cursor c{f.data, f.size};
        const std::uint16_t faces = c.U16();
        help.fontCount = c.U16();
        const std::uint16_t facesAt = c.U16();
        const std::uint16_t descriptorsAt = c.U16();
        if (faces == 0 || descriptorsAt < facesAt || descriptorsAt + help.fontCount * 11 > f.size)
            Fail("bad |FONT layout");
        const std::size_t faceSize = (descriptorsAt - facesAt) / faces;
        for (unsigned i = 0; i < faces; ++i) {
            Cursor n{f.data + facesAt + i * faceSize, faceSize};
            help.fontFaces.push_back(n.Fixed(faceSize));
        }
        for (std::size_t i = 0; i < help.fontCount; ++i) {
            Cursor d{f.data + descriptorsAt + i * 11, 11};
            d.U8();
            d.U8();
            d.U8();
            if (d.U16() >= faces)
                Fail("font names a face that is not there");
        }
    }

    // |TOPIC
    {
        const bool compressed = help.flags == 4 || help.flags == 8;
        const std::size_t blockSize = help.flags == 8 ? 2048 : 4096;
        const std::size_t decompressSize = compressed ? 16384 : blockSize - 12;
        const InternalFile f = find("|TOPIC");
        std::vector<Bytes> blocks;
        for (std::size_t at = 0; at < f.size; at += blockSize) {
            const std::size_t n = std::min(blockSize, f.size - at);
            if (n < 12)
                Fail("topic block shorter than its header");
            Cursor c{f.data + at, n};
            BlockHeader h;
            h.lastLinkOfPrevious = c.U32();
            h.firstLink = c.U32();
            h.lastTopicHeader = c.U32();
            help.blocks.push_back(h);
            if (compressed)
                blocks.push_back(Lz77Decompress(f.data + at + 12, n - 12, decompressSize));
            else
                blocks.emplace_back(f.data + at + 12, f.data + at + n);
        }
        if (blocks.empty())
            Fail("empty |TOPIC");

        std::uint32_t position = help.blocks[0].firstLink;
        std::uint32_t previous = 0xFFFFFFFF;
        std::size_t currentBlock = SIZE_MAX;
        std::uint32_t charsInBlock = 0;
        for (int guard = 0; position != 0xFFFFFFFF; ++guard) {
            if (guard > 100000)
                Fail("topic links loop");
            if (position < 12)
                Fail("topic position below the block header");
            const std::size_t block = (position - 12) / decompressSize;
            const std::size_t offset = (position - 12) % decompressSize;
            if (block >= blocks.size())
                Fail("topic position past the last block");
            if (block != currentBlock) {
                currentBlock = block;
                charsInBlock = 0;
            }
            const Bytes& b = blocks[block];
            Cursor link{b.data(), b.size(), offset};
            const std::uint32_t size = link.U32();
            const std::uint32_t length2 = link.U32();
            const std::uint32_t prev = link.U32();
            const std::uint32_t next = link.U32();
            const std::uint32_t length1 = link.U32();
            const std::uint8_t type = link.U8();
            if (prev != previous)
                Fail("topic link's back pointer is wrong");
            if (length1 < 21 || size != length1 + length2)
                Fail("topic link sizes disagree");
            if (offset + size > b.size())
                Fail("topic link runs past its block");
            Cursor d1{b.data() + offset + 21, length1 - 21};
            Cursor d2{b.data() + offset + length1, length2};
            help.links.push_back({position, type});

            if (type == 2) {
                Topic t;
                t.position = position;
                t.offset = static_cast<std::uint32_t>(block * 0x8000 + charsInBlock);
                d1.U32();
                d1.U32();
                d1.U32();
                t.number = d1.U32();
                d1.U32();
                t.scroll = d1.U32();
                t.nextTopic = d1.U32();
                if (length2)
                    t.title = d2.String();
                help.topics.push_back(t);
            } else if (type == 0x20) {
                if (help.topics.empty())
                    Fail("text before the first topic header");
                d1.CompressedSignedLong();
                const unsigned topicLength = d1.CompressedUnsignedShort();
                d1.U8();
                d1.U8();
                d1.U16();
                const std::uint16_t bits = d1.U16();
                if (bits & 0x0001)
                    d1.CompressedSignedLong();
                for (unsigned bit : {0x0002u, 0x0004u, 0x0008u, 0x0010u, 0x0020u, 0x0040u})
                    if (bits & bit)
                        d1.CompressedSignedShort();
                if (bits & 0x0100) {
                    d1.U8();
                    d1.U16();
                }
                if (bits & 0x0200) {
                    const int stops = d1.CompressedSignedShort();
                    for (int i = 0; i < stops; ++i)
                        if (d1.CompressedUnsignedShort() & 0x4000)
                            d1.CompressedUnsignedShort();
                }
                ParagraphText p;
                unsigned shown = 0;
                bool inJump = false;
                for (;;) {
                    const std::string s = d2.String();
                    p.text += s;
                    shown += static_cast<unsigned>(s.size());
                    if (inJump)
                        p.jumps.back().shown += s;
                    const std::uint8_t command = d1.U8();
                    if (command == 0xFF)
                        break;
                    switch (command) {
                    case 0x80: d1.U16(); break;
                    case 0x81: p.text += '\n'; ++shown; break;
                    case 0x82: p.text += '\n'; ++shown; break;
                    case 0x83: p.text += '\t'; ++shown; break;
                    case 0x89:
                        if (!inJump)
                            Fail("end of a hotspot that never started");
                        inJump = false;
                        break;
                    case 0xE2:
                    case 0xE3:
                    case 0xE6:
                    case 0xE7:
                        p.jumps.push_back({static_cast<std::int32_t>(d1.U32()), {}});
                        inJump = true;
                        break;
                    default:
                        Fail("formatting command the reader does not know: " + std::to_string(command));
                    }
                }
                if (inJump)
                    Fail("hotspot left open");
                if (d1.at != d1.size || d2.at != d2.size)
                    Fail("text record has bytes left over");
                if (shown != topicLength)
                    Fail("text record's character count is wrong");
                charsInBlock += topicLength;
                help.topics.back().paragraphs.push_back(std::move(p));
            } else {
                Fail("unknown topic link type");
            }
            previous = position;
            position = next;
        }
    }

    // |CONTEXT
    {
        bool first = true;
        std::int32_t last = 0;
        WalkTree(find("|CONTEXT"), "L4", [&](Cursor& c) {
            const auto hash = static_cast<std::int32_t>(c.U32());
            const std::uint32_t offset = c.U32();
            if (!first && !(last < hash))
                Fail("|CONTEXT not sorted by hash");
            first = false;
            last = hash;
            help.contexts[hash] = offset;
        });
    }

    // |CTXOMAP
    {
        const InternalFile f = find("|CTXOMAP");
        Cursor c{f.data, f.size};
        const std::uint16_t n = c.U16();
        for (unsigned i = 0; i < n; ++i) {
            const std::uint32_t number = c.U32();
            help.map.emplace_back(number, c.U32());
        }
        if (c.at != f.size)
            Fail("|CTXOMAP size disagrees with its count");
    }
    return help;
}

Bytes ReadBinaryFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace helptest
