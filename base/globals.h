// Process-wide values shared by the parts of the program.
#pragma once
#include <windows.h>

// 1 = English texts, 0 = German texts. Set once at start-up, before the dialog exists.
extern int g_englishFlag;
// The program's own module, stored once at start-up.
extern HINSTANCE g_module;

extern const wchar_t kProductName[]; // "Tarvelin"
extern const wchar_t kVersionText[]; // "1.01"
