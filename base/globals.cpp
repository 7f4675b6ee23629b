#include "globals.h"

int g_englishFlag = 1;
HINSTANCE g_module = nullptr;

const wchar_t kProductName[] = L"Tarvelin";
const wchar_t kVersionText[] = L"1.01";
