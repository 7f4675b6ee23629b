// Language choice and the texts that depend on it. Free of Windows headers, so that the
// rules can be tested natively.
#pragma once
#include <cstddef>

// The English flag for a user default language id: 0 (German) when the primary language,
// the low 10 bits, is German (7); 1 otherwise. The sublanguage does not matter.
int EnglishFlagForLangId(unsigned int langId);

// Captions the dialog sets by language. A null entry keeps the template's own caption.
struct DialogCaptions
{
    const wchar_t* set;
    const wchar_t* remove;
    const wchar_t* esc;
    const wchar_t* password;
};
const DialogCaptions& CaptionsFor(int englishFlag);

// Writes "<product> <version> - x64" into out (capacity in characters, terminator
// included). Returns false and writes an empty text when it does not fit.
bool ComposeWindowTitle(wchar_t* out, std::size_t capacity, const wchar_t* product,
                        const wchar_t* version);
