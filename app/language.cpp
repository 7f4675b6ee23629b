#include "language.h"

#include "bounded_text.h"
#include "user_language.h"

namespace
{
const DialogCaptions kGerman = {L"Setzen", L"Entfernen", L"&Abbrechen", L"Passwort:"};
// English keeps "Esc" and "Password:" from the template.
const DialogCaptions kEnglish = {L"Set", L"Remove", nullptr, nullptr};

} // namespace

int EnglishFlagForLangId(unsigned int langId)
{
    return PrefersGermanTexts(langId) ? 0 : 1;
}

const DialogCaptions& CaptionsFor(int englishFlag)
{
    return englishFlag == 0 ? kGerman : kEnglish;
}

bool ComposeWindowTitle(wchar_t* out, std::size_t capacity, const wchar_t* product,
                        const wchar_t* version)
{
    // The title says which build this is: a 32-bit one runs on 64-bit Windows too.
    const wchar_t* const architecture = sizeof(void*) == 8 ? L" - x64" : L" - x86";
    const bool fits = CopyText(out, capacity, product) && AppendText(out, capacity, L" ") &&
                      AppendText(out, capacity, version) && AppendText(out, capacity, architecture);
    if (!fits && capacity != 0)
        out[0] = L'\0';
    return fits;
}
