#include "HelpSource.h"

#include <charconv>
#include <set>
#include <sstream>

namespace help {

SourceError::SourceError(int line, const std::string& what)
    : std::runtime_error("line " + std::to_string(line) + ": " + what), line_(line)
{
}

namespace {

std::string Trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

// Splits off the first blank-separated word of `rest`.
std::string NextWord(std::string& rest)
{
    rest = Trim(rest);
    const auto end = rest.find_first_of(" \t");
    std::string word = rest.substr(0, end);
    rest = end == std::string::npos ? std::string() : Trim(rest.substr(end));
    return word;
}

bool IsContextChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
}

void CheckContextId(int line, const std::string& id)
{
    if (id.empty())
        throw SourceError(line, "missing context id");
    for (char c : id)
        if (!IsContextChar(c))
            throw SourceError(line, "context id '" + id + "' may use only letters, digits, '_' and '.'");
}

long ParseNumber(int line, const std::string& word)
{
    int base = 10;
    std::string digits = word;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    long value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty())
        throw SourceError(line, "'" + word + "' is not a number");
    return value;
}

// Splits paragraph text into runs: **bold**, [shown](target) jumps.
std::vector<Run> ParseInline(int line, const std::string& text)
{
    std::vector<Run> runs;
    Run current;
    auto flush = [&] {
        if (!current.text.empty())
            runs.push_back(current);
        current.text.clear();
    };
    bool bold = false;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "**") == 0) {
            flush();
            bold = !bold;
            current.bold = bold;
            i += 2;
            continue;
        }
        if (text[i] == '[') {
            const auto close = text.find(']', i + 1);
            if (close != std::string::npos && close + 1 < text.size() && text[close + 1] == '(') {
                const auto end = text.find(')', close + 2);
                if (end == std::string::npos)
                    throw SourceError(line, "jump without closing ')'");
                flush();
                Run jump;
                jump.text = text.substr(i + 1, close - i - 1);
                jump.jumpTo = text.substr(close + 2, end - close - 2);
                if (jump.text.empty())
                    throw SourceError(line, "jump without text");
                CheckContextId(line, jump.jumpTo);
                runs.push_back(jump);
                current.bold = bold;
                i = end + 1;
                continue;
            }
        }
        current.text += text[i++];
    }
    if (bold)
        throw SourceError(line, "'**' left open");
    flush();
    return runs;
}

} // namespace

HelpSource ParseHelpSource(const std::string& text)
{
    HelpSource source;
    std::istringstream in(text);
    std::string raw;
    int lineNo = 0;

    std::string pending; // text of the paragraph being collected
    Paragraph::Kind pendingKind = Paragraph::Kind::Body;
    int pendingLine = 0;
    std::vector<std::pair<int, std::string>> jumps; // line, target

    auto endParagraph = [&] {
        if (pending.empty())
            return;
        if (source.topics.empty())
            throw SourceError(pendingLine, "text before the first .topic");
        Paragraph p;
        p.kind = pendingKind;
        p.runs = ParseInline(pendingLine, pending);
        for (const Run& r : p.runs)
            if (!r.jumpTo.empty())
                jumps.emplace_back(pendingLine, r.jumpTo);
        source.topics.back().paragraphs.push_back(std::move(p));
        pending.clear();
    };

    while (std::getline(in, raw)) {
        ++lineNo;
        for (unsigned char c : raw)
            if (c >= 0x80 || (c < 0x20 && c != '\t' && c != '\r'))
                throw SourceError(lineNo, "only printable ASCII is allowed");
        const std::string line = Trim(raw);
        if (line.empty()) {
            endParagraph();
            continue;
        }
        if (line[0] == '#')
            continue;
        if (line[0] == '.') {
            endParagraph();
            std::string rest = line;
            const std::string directive = NextWord(rest);
            if (directive == ".title") {
                source.title = rest;
            } else if (directive == ".copyright") {
                source.copyright = rest;
            } else if (directive == ".window") {
                WindowPlacement w;
                w.x = static_cast<int>(ParseNumber(lineNo, NextWord(rest)));
                w.y = static_cast<int>(ParseNumber(lineNo, NextWord(rest)));
                w.width = static_cast<int>(ParseNumber(lineNo, NextWord(rest)));
                w.height = static_cast<int>(ParseNumber(lineNo, NextWord(rest)));
                if (!rest.empty())
                    throw SourceError(lineNo, ".window takes four numbers");
                source.window = w;
            } else if (directive == ".topic") {
                Topic t;
                t.contextId = NextWord(rest);
                CheckContextId(lineNo, t.contextId);
                const std::string map = NextWord(rest);
                if (map.empty())
                    throw SourceError(lineNo, ".topic needs a map number or '-'");
                if (map != "-")
                    t.mapNumber = static_cast<std::uint32_t>(ParseNumber(lineNo, map));
                t.title = rest;
                if (t.title.empty())
                    throw SourceError(lineNo, ".topic needs a title");
                for (const Topic& other : source.topics) {
                    if (other.contextId == t.contextId)
                        throw SourceError(lineNo, "context id '" + t.contextId + "' used twice");
                    if (t.mapNumber && other.mapNumber == t.mapNumber)
                        throw SourceError(lineNo, "map number " + map + " used twice");
                }
                Paragraph heading;
                heading.kind = Paragraph::Kind::Heading;
                heading.runs.push_back(Run{t.title, false, {}});
                t.paragraphs.push_back(std::move(heading));
                source.topics.push_back(std::move(t));
            } else {
                throw SourceError(lineNo, "unknown directive " + directive);
            }
            continue;
        }
        if (line.size() >= 2 && line[0] == '*' && line[1] == ' ') {
            endParagraph();
            pendingKind = Paragraph::Kind::Bullet;
            pendingLine = lineNo;
            pending = Trim(line.substr(2));
            continue;
        }
        if (pending.empty()) {
            pendingKind = Paragraph::Kind::Body;
            pendingLine = lineNo;
            pending = line;
        } else {
            pending += ' ';
            pending += line;
        }
    }
    endParagraph();

    if (source.title.empty())
        throw SourceError(lineNo, "no .title");
    if (source.topics.empty())
        throw SourceError(lineNo, "no .topic");
    std::set<std::string> ids;
    for (const Topic& t : source.topics)
        ids.insert(t.contextId);
    for (const auto& [line, target] : jumps)
        if (!ids.count(target))
            throw SourceError(line, "jump to unknown topic '" + target + "'");
    return source;
}

} // namespace help
