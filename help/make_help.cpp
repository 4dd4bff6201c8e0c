// make_help <source.txt> <output.HLP>
//
// Builds the program's help file from its readable source. Writes nothing
// when the source has a mistake, so that a stale build step fails loudly.
#include "HelpSource.h"
#include "HelpWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make_help <source.txt> <output.HLP>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot open\n";
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();

    help::Bytes file;
    try {
        file = help::WriteHelpFile(help::ParseHelpSource(text.str()));
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }

    const std::string temporary = std::string(argv[2]) + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        if (!out) {
            std::cerr << temporary << ": cannot write\n";
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), argv[2]) != 0) {
        std::cerr << argv[2] << ": cannot replace\n";
        return 1;
    }
    return 0;
}
