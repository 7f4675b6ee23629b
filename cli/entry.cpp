// The console program's own entry point, for the mingw-w64 build. The C runtime's start-up
// code (TLS, pseudo-relocations, its exception filter, floating-point set-up, static
// constructors) is a seventh of this program and does nothing it needs: it writes with
// WriteFile, reads with ReadFile and keeps no static object that needs a constructor (the
// release check refuses one). The arguments come from msvcrt.dll exactly as the runtime's own
// start-up gets them, split by the Windows rules, without wildcard expansion.
#include <windows.h>

extern "C"
{
    // msvcrt.dll's, as the runtime start-up calls it; `startInfo` points at its new-handler mode.
    // NOLINTNEXTLINE(bugprone-reserved-identifier): msvcrt.dll's own name for it.
    int __cdecl __wgetmainargs(int* argc, wchar_t*** argv, wchar_t*** environment,
                               int expandWildcards, int* startInfo);
    void __cdecl TarvelinCliEntry();
}

int wmain(int argc, wchar_t** argv);

// Kept through link-time optimisation, which does not count the linker's entry as a use; and
// realigned, since Windows enters a 32-bit program with the stack aligned to 4 bytes only.
#if defined(__GNUC__)
__attribute__((used, externally_visible))
#if defined(__i386__)
__attribute__((force_align_arg_pointer))
#endif
#endif
void __cdecl TarvelinCliEntry()
{
    int argc = 0;
    wchar_t** argv = nullptr;
    wchar_t** environment = nullptr;
    int startInfo = 0;
    if (__wgetmainargs(&argc, &argv, &environment, 0, &startInfo) < 0)
        ExitProcess(ERROR_NOT_ENOUGH_MEMORY);
    ExitProcess(static_cast<UINT>(wmain(argc, argv)));
}
