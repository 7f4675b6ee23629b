#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bounded_text.h"

TEST(BoundedText, AppendFitsExactlyOrLeavesTheBufferAsItWas)
{
    char buffer[8] = "abc";
    EXPECT_TRUE(AppendText(buffer, 8, "defg")); // 7 characters and the terminator
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(AppendText(buffer, 8, "h"));
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_TRUE(AppendText(buffer, 8, ""));

    wchar_t wide[4] = L"ab";
    EXPECT_FALSE(AppendText(wide, 4, L"cd"));
    EXPECT_STREQ(wide, L"ab");
    // A buffer whose text already fills it, or one of no size, takes nothing.
    EXPECT_FALSE(AppendText(wide, 2, L"x"));
    EXPECT_FALSE(AppendText(wide, 0, L""));
}

TEST(BoundedText, CopyTakesAPrefixOrLeavesAnEmptyText)
{
    char buffer[7];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_TRUE(CopyText(buffer, 7, "C:\\dir\\Tarvelin.exe", 6));
    EXPECT_STREQ(buffer, "C:\\dir");
    EXPECT_FALSE(CopyText(buffer, 6, "C:\\dir\\Tarvelin.exe", 6)); // no room for the terminator
    EXPECT_STREQ(buffer, "");
    const std::string shortText = "ab";
    EXPECT_TRUE(CopyText(buffer, 7, shortText.c_str(), 100)); // the count may exceed the text
    EXPECT_STREQ(buffer, "ab");
    EXPECT_FALSE(CopyText(buffer, 7, "abcdefg"));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(CopyText(buffer, 0, "a"));
    EXPECT_EQ(TextLength(L"Tarvelin"), 8u);
    EXPECT_EQ(TextLength(""), 0u);
}
