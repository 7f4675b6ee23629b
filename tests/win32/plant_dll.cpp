// A DLL of the tests' own, planted where a program that loads DLLs by bare name would find
// it. It only has to exist and load.
#include <windows.h>

extern "C" __declspec(dllexport) int TarvelinPlant();

int TarvelinPlant()
{
    return 1;
}
