// Diagnostic lines on standard output, seen only when whoever started the program
// redirected it.
#pragma once
#include <windows.h>

// Writes "<what> <subject> <code>\n", the code in unsigned decimal ("Failed call to
// LsaOpenPolicy 5"), at once. Nothing is written without a standard output.
void WriteDiagnostic(const char* what, const wchar_t* subject, DWORD code);
