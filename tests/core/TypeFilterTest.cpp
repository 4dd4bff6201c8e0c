#include "search/TypeFilter.h"

#include <gtest/gtest.h>

namespace {

TypeFlags Only(std::initializer_list<FileType> types)
{
    TypeFlags flags{};
    for (FileType t : types)
        flags[t] = 1;
    return flags;
}

TEST(TypeFilter, NamesContainingTickedAndNoUntickedExtension)
{
    struct Case {
        const char* name;
        TypeFlags flags;
        bool passes;
    };
    const Case cases[] = {
        {"prog.exe", Only({kExe}), true},
        {"tool.exe.bak", Only({kExe}), true},
        {"lib.dll", Only({kExe}), false},
        {"readme", Only({kExe}), false},
        {"prog.dll.exe", Only({kExe}), false},
        {"prog.dll.exe", Only({kExe, kDll}), true},
        {"a.company.txt", Only({kCom}), true},
        {"vxd.386", Only({k386}), true},
        {"readme", Only({}), true},
        {"lib.dll", Only({}), true},
        {"x.ocx", Only({kOcx, kVbx}), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PassesTypeFilter(c.name, c.flags), c.passes) << c.name;
}

}  // namespace
