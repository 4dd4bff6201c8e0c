// Entry point of the tests that run under Wine. No test may leave a real
// message box waiting for a user who is not there: a box shown without a
// script fails the test at once.
#include "framework/MessageBox.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    SetMessageBoxScript([](const std::string& text, const std::string&, UINT) {
        ADD_FAILURE() << "unexpected message box: " << text;
        return IDCANCEL;
    });
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
