// The causes of a status verdict by their names, in the table's order (problems first):
// "no-user plain-text-password". Shared by the native and the in-process status tests.
#pragma once
#include <string>

#include "status_verdict.h"

inline std::string CauseNames(const StatusVerdict& verdict)
{
    std::string names;
    for (unsigned int i = 0; i < kCauseCount; ++i)
    {
        if ((verdict.causes & (1u << i)) != 0)
            names += (names.empty() ? "" : " ") + std::string(kCauses[i].id);
    }
    return names;
}
