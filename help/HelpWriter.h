// Writes a help file in the WinHelp 3.1 format (the one winhlp32 and WinHelp
// read) from a parsed HelpSource:
//
//   |SYSTEM   title, copyright, contents topic, the "main" window
//   |FONT     the three fonts the topics use
//   |TOPIC    the topics, LZ77 compressed in 4 KB blocks
//   |CONTEXT  context-id hash -> topic offset (jumps land here)
//   |CTXOMAP  map number -> topic offset (HELP_CONTEXT lands here)
//
// and the internal directory that names them.
#pragma once

#include "HelpSource.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace help {

using Bytes = std::vector<std::uint8_t>;

// Layout of |TOPIC: each block on disk is TopicBlockSize bytes (a 12-byte
// header and compressed data); a block's data decompresses to at most
// DecompressSize bytes, and topic positions count in that decompressed space.
inline constexpr std::uint32_t TopicBlockSize = 4096;
inline constexpr std::uint32_t TopicBlockHeaderSize = 12;
inline constexpr std::uint32_t DecompressSize = 16384;

// The value the help viewer derives from a context id; jumps and the
// |CONTEXT tree carry it.
std::int32_t ContextHash(std::string_view contextId);

// The help file's LZ77: a flag byte for each eight items, low bit first; a set
// bit is a two-byte reference (12 bits distance-1, 4 bits length-3), a clear
// bit one literal byte.
Bytes Lz77Compress(const Bytes& data);

// The complete file. Throws std::runtime_error when the source cannot be laid
// out (a paragraph larger than a topic block, colliding context hashes).
Bytes WriteHelpFile(const HelpSource& source);

} // namespace help
