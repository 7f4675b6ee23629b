// Which language the texts are shown in. Free of Windows headers, so that both programs can
// use it and the rule can be tested natively.
#pragma once

// True when the user's default language id (GetUserDefaultLangID: the locale, not the display
// language) is German: its primary language, the low 10 bits, is 7. The sublanguage does not
// matter, so German from Germany, Switzerland, Austria, Luxembourg and Liechtenstein all count.
bool PrefersGermanTexts(unsigned int langId);
