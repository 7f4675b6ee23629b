// Overwrites what held a secret. The stores go through a volatile pointer, so the compiler
// keeps them even where nothing reads the memory again (a plain loop or memset just before a
// buffer's end may be left out). Free of Windows headers, for the portable code.
#pragma once
#include <cstddef>

template <typename T>
void Wipe(T* data, std::size_t count)
{
    volatile T* target = data;
    for (std::size_t i = 0; i < count; ++i)
        target[i] = T();
}
