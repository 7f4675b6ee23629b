#include "language.h"

namespace
{
constexpr unsigned int kPrimaryLanguageMask = 0x3FF;
constexpr unsigned int kLangGerman = 0x07;

const DialogCaptions kGerman = {L"Setzen", L"Entfernen", L"&Abbrechen", L"Passwort:"};
// English keeps "Esc" and "Password:" from the template.
const DialogCaptions kEnglish = {L"Set", L"Remove", nullptr, nullptr};

// Appends src at out[pos]; false when it would not fit together with a terminator.
bool Append(wchar_t* out, std::size_t capacity, std::size_t& pos, const wchar_t* src)
{
    for (; *src != L'\0'; ++src)
    {
        if (pos + 1 >= capacity)
            return false;
        out[pos++] = *src;
    }
    return true;
}
} // namespace

int EnglishFlagForLangId(unsigned int langId)
{
    return (langId & kPrimaryLanguageMask) == kLangGerman ? 0 : 1;
}

const DialogCaptions& CaptionsFor(int englishFlag)
{
    return englishFlag == 0 ? kGerman : kEnglish;
}

bool ComposeWindowTitle(wchar_t* out, std::size_t capacity, const wchar_t* product,
                        const wchar_t* version)
{
    if (capacity == 0)
        return false;
    std::size_t pos = 0;
    const bool fits = Append(out, capacity, pos, product) && Append(out, capacity, pos, L" ") &&
                      Append(out, capacity, pos, version) && Append(out, capacity, pos, L" - x64");
    out[fits ? pos : 0] = L'\0';
    return fits;
}
