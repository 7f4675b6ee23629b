// The dialog's step before the password secret is stored: it enables every privilege of the
// process's own token that it holds. The console program does without: administrator access
// to the Winlogon key and the policy is all that Set and Remove need.
#pragma once
#include <cstddef>

// The privileges tried, in order. Three of them stand twice; the second try changes nothing.
constexpr std::size_t kPrivilegeCount = 33;
extern const wchar_t* const kPrivilegeNames[kPrivilegeCount];

// Constructing one enables every listed privilege that the token holds. Each entry opens the
// token anew, and every failure (token not openable, name unknown, privilege not held) is
// silent and limited to its entry. Enabled privileges stay enabled until the process ends.
class PrivilegeEnabler
{
  public:
    PrivilegeEnabler() noexcept;
};

// Constructs one PrivilegeEnabler the first time it is called in the process, whatever that
// attempt achieved; later calls do nothing, so privileges switched off meanwhile stay off.
void EnablePrivilegesOnce();
