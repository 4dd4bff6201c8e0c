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
