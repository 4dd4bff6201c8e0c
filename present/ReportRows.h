// The rows that present one search: the lines of the two report sections,
// which are also the rows of the results window's two lists. Built in one
// place so the file and the window can never disagree.
//
// Portable code: no <windows.h>.
#pragma once

#include "search/ReferenceTables.h"

#include <string>
#include <string_view>

inline constexpr std::string_view kSearchedFilesHeading =
    "Searched files with the DLL's found on the system and referenced in them";
inline constexpr std::string_view kFoundLibrariesHeading =
    "DLL's found on the system and searched files sharing them";
inline constexpr std::string_view kNoLibraryRow = "   No DLL found";

// Calls row(std::string_view) for every row of a section, in table order:
// the entry's name, its chain as indented rows ("   No DLL found" for a
// searched file without one), then an empty row. The view is valid only
// during the call.
template <class Row>
void ForEachRow(const NameTable& table, bool searchedFiles, Row&& row)
{
    std::string line;
    for (std::int32_t i = 0; i < table.count(); ++i) {
        const NameNode& entry = table[i];
        row(std::string_view(entry.name));
        if (!entry.next && searchedFiles)
            row(kNoLibraryRow);
        for (const NameNode* node = entry.next; node; node = node->next) {
            line.assign("   ");
            line += node->name;
            row(std::string_view(line));
        }
        row(std::string_view());
    }
}

template <class Row>
void ForEachSearchedFileRow(const ReferenceTables& tables, Row&& row)
{
    ForEachRow(tables.SearchedFileTable(), true, row);
}

template <class Row>
void ForEachFoundLibraryRow(const ReferenceTables& tables, Row&& row)
{
    ForEachRow(tables.FoundLibraryTable(), false, row);
}
