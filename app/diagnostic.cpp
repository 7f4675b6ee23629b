#include "diagnostic.h"

void WriteDiagnostic(const char* what, const wchar_t* subject, DWORD code)
{
    // Written through at once: a buffered line would be lost if the program is ended while
    // the dialog is still open. The subjects are short names of calls and values.
    char line[160];
    const int length = wsprintfA(line, "%s %ls %lu\n", what, subject, code);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (length <= 0 || output == nullptr || output == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(output, line, static_cast<DWORD>(length), &written, nullptr);
}
