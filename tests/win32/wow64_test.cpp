// The 64-bit build on 64-bit Windows is not under WOW64: it keeps the native registry view.
// The 32-bit build is driven from the end-to-end tests (Wow64Writer).
#include <gtest/gtest.h>

#include "test_dialog.h"
#include "wow64.h"

TEST(Wow64, SixtyFourBitProcessKeepsTheNativeRegistryView)
{
    BOOL wow64 = TRUE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    ASSERT_FALSE(wow64) << "this test program is 64-bit";
    EXPECT_FALSE(QueryWow64());
    TestDialog dialog;
    ASSERT_NE(dialog.hwnd(), nullptr);
    EXPECT_EQ(g_registryView, 0u);
    // The redirection call exists but has nothing to switch in a 64-bit process.
    SetFsRedirection(TRUE);
    EXPECT_FALSE(QueryWow64());
}
