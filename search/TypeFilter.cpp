#include "search/TypeFilter.h"

#include <algorithm>

bool PassesTypeFilter(std::string_view lowerName, const TypeFlags& flags)
{
    if (std::none_of(flags.begin(), flags.end(), [](int flag) { return flag == 1; }))
        return true;
    bool ofTickedType = false;
    for (int t = 0; t < kFileTypeCount; ++t) {
        if (lowerName.find(kTypeExtensions[t]) == std::string_view::npos)
            continue;
        if (flags[t] != 1)
            return false;
        ofTickedType = true;
    }
    return ofTickedType;
}
