// The reference tables as plain values, for comparing in tests.
#pragma once

#include "search/ReferenceTables.h"

#include <string>
#include <utility>
#include <vector>

using Chain = std::vector<std::string>;
using Table = std::vector<std::pair<std::string, Chain>>;

inline Table Read(const NameTable& table)
{
    Table out;
    for (std::int32_t i = 0; i < table.count(); ++i) {
        Chain chain;
        for (const NameNode* node = table[i].next; node; node = node->next)
            chain.emplace_back(node->name);
        out.emplace_back(table[i].name, std::move(chain));
    }
    return out;
}

// The worked example of the program's documentation: a.exe names kernel32
// and user32, b.dll names nothing, c.exe names kernel32.
inline void FillWorkedExample(ReferenceTables& tables)
{
    tables.AddSearchedFile("c:\\work\\a.exe");
    tables.RecordReference("kernel32.dll");
    tables.RecordReference("user32.dll");
    tables.AddSearchedFile("c:\\work\\b.dll");
    tables.AddSearchedFile("c:\\work\\c.exe");
    tables.RecordReference("kernel32.dll");
}
