#include "user_language.h"

bool PrefersGermanTexts(unsigned int langId)
{
    constexpr unsigned int kPrimaryLanguageMask = 0x3FF;
    constexpr unsigned int kLangGerman = 0x07;
    return (langId & kPrimaryLanguageMask) == kLangGerman;
}
