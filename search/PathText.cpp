#include "search/PathText.h"

std::string ReduceDoubledBackslash(std::string path)
{
    const auto pair = path.find("\\\\");
    if (pair != std::string::npos)
        path.erase(pair, 1);
    return path;
}

std::string OwnLibraryName(std::string_view entryName)
{
    const auto stop = entryName.rfind('.');
    std::string name(stop == std::string_view::npos ? std::string_view() : entryName.substr(0, stop));
    LowerAscii(name);
    name += ".dll";
    return name;
}

void LowerAscii(std::string& text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
}
