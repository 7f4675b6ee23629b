// The auto-logon writer's rules that need no Windows: what it tells the user, how long a
// field may be, and the lengths of the password secret. Tested natively.
#pragma once
#include <cstddef>
#include <cstdint>

// The longest text a field may hold: the longest password Windows accepts for a logon. The
// fields are limited to it, and a longer text (set by another program) is refused, never cut.
constexpr std::size_t kFieldLimit = 256;

enum class WriterOutcome
{
    MissingInput, // Set without password or user name
    Failed,       // anything went wrong; the machine is as it was (Remove: auto-logon off)
    SetDone,
    RemoveDone,
    NotRestored // Set failed, and some of the values it had saved could not be put back
};

// A Winlogon value that a failed Set could not put back, and the registry's error code.
struct UnrestoredValue
{
    const wchar_t* name;
    long error;
};

// What Set or Remove did. After NotRestored, the values that were not put back, in the
// order they were tried; Set changes five values, so five places are enough.
struct WriterResult
{
    WriterOutcome outcome;
    std::size_t unrestoredCount;
    UnrestoredValue unrestored[5];
};

struct WriterMessage
{
    const wchar_t* text;
    const wchar_t* caption;
    bool error; // error icon; otherwise a plain OK box
};

// The box the writer shows for an outcome, in the language the English flag picks.
WriterMessage MessageFor(WriterOutcome outcome, int englishFlag);

// Byte lengths of a secret value of `characters` UTF-16 code units: the text without its
// terminator, and that plus the terminator. False, with both left untouched, when the text
// does not fit the 16-bit length fields.
bool SecretLengths(std::size_t characters, std::uint16_t& length, std::uint16_t& maximumLength);
