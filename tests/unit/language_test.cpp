#include <gtest/gtest.h>

#include <cwchar>

#include "language.h"

// Every German locale gives German texts, whatever the sublanguage; everything else English.
TEST(LanguageChoice, PrimaryLanguageSevenIsGerman)
{
    const struct
    {
        unsigned int langId;
        int englishFlag;
    } cases[] = {
        {0x0407, 0}, // Germany
        {0x0807, 0}, // Switzerland
        {0x0C07, 0}, // Austria
        {0x1007, 0}, // Luxembourg
        {0x1407, 0}, // Liechtenstein
        {0x0007, 0}, // neutral German
        {0xFC07, 0}, // any sublanguage bits
        {0x0409, 1}, // English (US)
        {0x040C, 1}, // French
        {0x0413, 1}, // Dutch
        {0x0000, 1}, // neutral
        {0x0207, 1}, // primary language 0x207, not 7: only the low 10 bits are the language
        {0x0017, 1}, // shares the low bits with German but is another language
    };
    for (const auto& c : cases)
        EXPECT_EQ(EnglishFlagForLangId(c.langId), c.englishFlag) << std::hex << c.langId;
}

TEST(LanguageChoice, GermanCaptionsReplaceAllFour)
{
    const DialogCaptions& german = CaptionsFor(0);
    EXPECT_STREQ(german.set, L"Setzen");
    EXPECT_STREQ(german.remove, L"Entfernen");
    EXPECT_STREQ(german.esc, L"&Abbrechen");
    EXPECT_STREQ(german.password, L"Passwort:");
}

TEST(LanguageChoice, EnglishKeepsTheTemplatesEscAndPasswordCaptions)
{
    // Any flag but 0 is English.
    for (int flag : {1, 2, -1})
    {
        const DialogCaptions& english = CaptionsFor(flag);
        EXPECT_STREQ(english.set, L"Set");
        EXPECT_STREQ(english.remove, L"Remove");
        EXPECT_EQ(english.esc, nullptr);
        EXPECT_EQ(english.password, nullptr);
    }
}

TEST(WindowTitle, ProductVersionAndSuffix)
{
    wchar_t title[64];
    ASSERT_TRUE(ComposeWindowTitle(title, 64, L"Tarvelin", L"1.01"));
    EXPECT_STREQ(title, L"Tarvelin 1.01 - x64");
}

TEST(WindowTitle, ExactFitAndOneShortAreTold)
{
    // "Tarvelin 1.01 - x64" has 19 characters: 20 with the terminator fits, 19 does not.
    wchar_t title[20];
    EXPECT_TRUE(ComposeWindowTitle(title, 20, L"Tarvelin", L"1.01"));
    EXPECT_STREQ(title, L"Tarvelin 1.01 - x64");

    wchar_t small[19];
    std::wmemset(small, L'#', 19);
    EXPECT_FALSE(ComposeWindowTitle(small, 19, L"Tarvelin", L"1.01"));
    EXPECT_STREQ(small, L"");
    EXPECT_FALSE(ComposeWindowTitle(small, 0, L"Tarvelin", L"1.01"));
}
