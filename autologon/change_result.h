// What the core's Set and Remove tell their caller: which step failed, with the system's own
// error code, and which values a failed Set could not put back. Plain data without Windows
// headers, so that each program's wording of it can be tested natively.
#pragma once
#include <cstddef>
#include <cstdint>

// The longest text a field may hold: the longest password Windows accepts for a logon. A
// longer text is refused, never cut: a cut password would make the logon fail.
constexpr std::size_t kFieldLimit = 256;

// The steps of a change, in the order they run.
enum class ChangeStep
{
    None,        // nothing failed
    Input,       // Set: an empty user name or password, or a text over kFieldLimit
    OpenKey,     // the Winlogon key could not be opened
    SaveValue,   // Set: a value could not be read to be saved; nothing was changed
    WriteValue,  // a Winlogon value could not be written or deleted
    OpenPolicy,  // the Local Security Authority did not open its policy
    StoreSecret, // the DefaultPassword secret could not be stored
    ReadBack,    // read back after the change, a value (or the secret) does not hold what
                 // was written: something else changed it meanwhile
    SetAccount,  // fix: the local account's flags could not be changed
};

struct StepFailure
{
    ChangeStep step = ChangeStep::None;
    std::uint32_t error = 0;        // the Win32 error code
    const wchar_t* value = nullptr; // SaveValue and WriteValue: the value's name
};

// A Winlogon value that a failed Set could not put back, and the registry's error code.
struct UnrestoredValue
{
    const wchar_t* name;
    std::uint32_t error;
};

struct ChangeResult
{
    // The Winlogon part (Input, OpenKey, SaveValue, WriteValue) and the secret part
    // (OpenPolicy, StoreSecret). Set stops at the first failure; Remove blanks the secret
    // even after a registry failure, so both parts can hold one.
    StepFailure registry;
    StepFailure secret;
    // After a failed Set: the values it could not put back, in the order tried. Set
    // changes five values and the secret.
    std::size_t unrestoredCount = 0;
    UnrestoredValue unrestored[6] = {};

    bool Done() const
    {
        return registry.step == ChangeStep::None && secret.step == ChangeStep::None;
    }
};

// Byte lengths of a secret value of `characters` UTF-16 code units: the text without its
// terminator, and that plus the terminator. False, with both left untouched, when the text
// does not fit the 16-bit length fields.
bool SecretLengths(std::size_t characters, std::uint16_t& length, std::uint16_t& maximumLength);
