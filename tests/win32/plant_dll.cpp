// A DLL of the tests' own, planted where a program that loads DLLs by name would find it.
// When it is loaded it says so on standard error, which a test reads. Planted as
// netapi32.dll it also offers the three routines tarvelin-cli once imported from there, so
// that a program importing them starts with it and its code runs.
#include <windows.h>

extern "C" __declspec(dllexport) int TarvelinPlant();
extern "C" __declspec(dllexport) DWORD WINAPI NetUserGetInfo(LPCWSTR, LPCWSTR, DWORD, LPBYTE*);
extern "C" __declspec(dllexport) DWORD WINAPI NetGetJoinInformation(LPCWSTR, LPWSTR*, int*);
extern "C" __declspec(dllexport) DWORD WINAPI NetApiBufferFree(LPVOID);
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID);

int TarvelinPlant()
{
    return 1;
}

// Each answers "access denied".
DWORD WINAPI NetUserGetInfo(LPCWSTR, LPCWSTR, DWORD, LPBYTE*)
{
    return ERROR_ACCESS_DENIED;
}

DWORD WINAPI NetGetJoinInformation(LPCWSTR, LPWSTR*, int*)
{
    return ERROR_ACCESS_DENIED;
}

DWORD WINAPI NetApiBufferFree(LPVOID)
{
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
    {
        const char line[] = "the planted DLL ran\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, sizeof line - 1, &written, nullptr);
    }
    return TRUE;
}
