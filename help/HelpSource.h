// The readable form of the help text (help/veltscan_help.txt) and its parser.
//
// The markup, one directive or text line at a time:
//
//   # comment                       ignored
//   .title <text>                   the help file's title
//   .copyright <text>               the notice shown by the viewer's About box
//   .window <x> <y> <width> <height>  where the main help window opens
//   .topic <context-id> <map-number|-> <title>
//                                   starts a topic; the map number is what a
//                                   program passes with HELP_CONTEXT
//   * <text>                        a bulleted paragraph
//   <text>                          ordinary paragraph text; consecutive lines
//                                   join with a space, a blank line ends the
//                                   paragraph
//
// Inside text, **bold** and [shown text](context-id) for a jump to a topic.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace help {

struct Run {
    std::string text;
    bool bold = false;
    std::string jumpTo; // context id of the target topic, empty for plain text
};

struct Paragraph {
    enum class Kind { Heading, Body, Bullet };
    Kind kind = Kind::Body;
    std::vector<Run> runs;
};

struct Topic {
    std::string contextId;
    std::optional<std::uint32_t> mapNumber;
    std::string title;
    std::vector<Paragraph> paragraphs; // the first is the title as a heading
};

struct WindowPlacement {
    int x = 0, y = 0, width = 0, height = 0;
};

struct HelpSource {
    std::string title;
    std::string copyright;
    std::optional<WindowPlacement> window;
    std::vector<Topic> topics;
};

// A mistake in the source, with the line it was found on.
class SourceError : public std::runtime_error {
public:
    SourceError(int line, const std::string& what);
    int line() const { return line_; }

private:
    int line_;
};

// Parses the markup and checks it: every jump names a topic, context ids and
// map numbers are unique, context ids use only the characters the help
// viewer hashes. Throws SourceError.
HelpSource ParseHelpSource(const std::string& text);

} // namespace help
