// The floor for the console program: a bare console program that imports the same system
// DLLs as tarvelin-cli, starts at the same entry point and writes one line, as `status` does.
// The calls under the condition never run; they only make the linker import each DLL, since
// loading and initialising a DLL is part of what start-up costs.
#include <windows.h>

#include <lm.h>

int wmain(int argc, wchar_t** argv);

int wmain(int /*argc*/, wchar_t** /*argv*/)
{
    if (GetTickCount() == 1) // never true at the moment it matters; keeps the imports
    {
        RegCloseKey(nullptr);      // advapi32
        NetApiBufferFree(nullptr); // netapi32
        GetProcessWindowStation(); // user32
    }
    const char line[] = "Automatic logon: off\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line, sizeof line - 1, &written, nullptr);
    return 5;
}
