#include <gtest/gtest.h>

#include "language.h"
#include "user_language.h"

// Both programs must pick the same language on every locale: the console program's rule
// and the dialog's English flag agree on every language id there is.
TEST(UserLanguage, AgreesWithTheDialogsEnglishFlagOnEveryLanguageId)
{
    int german = 0;
    for (unsigned int langId = 0; langId <= 0xFFFF; ++langId)
    {
        ASSERT_EQ(PrefersGermanTexts(langId), EnglishFlagForLangId(langId) == 0) << langId;
        german += PrefersGermanTexts(langId) ? 1 : 0;
    }
    EXPECT_EQ(german, 64) << "one per sublanguage value of primary language 7";
    EXPECT_TRUE(PrefersGermanTexts(0x0807));
    EXPECT_FALSE(PrefersGermanTexts(0x0409));
}
