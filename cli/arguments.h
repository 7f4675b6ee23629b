// The command line of tarvelin-cli, parsed from the arguments as Windows splits them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "change_result.h"

enum class Command
{
    None, // the command line was refused: see ArgumentError
    Help,
    Version,
    Status,
    Set,
    Remove,
    Dsc // an operation of the DSC v3 resource: the instance comes as JSON on standard input
};

// The operations of the DSC v3 resource, as its manifest names them (set --check: what-if).
enum class DscMethod
{
    None,
    Get,
    Set,
    Test,
    Export
};

enum class ArgumentError
{
    None,
    NoCommand,      // nothing at all
    UnknownCommand, // `offending` is the word
    UnknownOption,  // `offending` is the option's name (never a value glued to it), or
                    // only its `position` when it does not look like an option's name
    UnexpectedWord, // a word that is no option, after the command: only its `position`
    MissingValue,   // `offending` is the option that needs one
    Repeated,       // `offending` is the option given twice
    PasswordOption, // the password was offered on the command line
    MissingUser,    // set without --user
    EmptyUser,      // --user "" or --user DOMAIN\ (no name after the backslash)
    BadUser,        // --user with an empty domain before the backslash, or two backslashes
    DomainTwice,    // --user DOMAIN\name together with --domain
    TooLong,        // `offending` is the option whose value exceeds kFieldLimit
    BadLogonCount,  // --logon-count without a whole number from 1 to kLogonCountLimit
    NoOperation     // dsc without get, set, test or export (the word is not shown)
};

// The most automatic logons --logon-count takes.
constexpr std::uint32_t kLogonCountLimit = 999999;

struct Arguments
{
    Command command = Command::None;
    Command requested = Command::None; // the command word given, also when refused
    ArgumentError error = ArgumentError::None;
    // The word or option the error is about: points into the arguments, `offendingLength`
    // characters long. A refused word may be a password typed in the wrong place, so an
    // option is named only up to its "=" or ":" and only when it looks like an option's name,
    // and a bare word not at all: `position` (1 for the first argument after the program's
    // name) says where it stands.
    const wchar_t* offending = nullptr;
    std::size_t offendingLength = 0;
    int position = 0;

    // --json: also set when the command line is refused, so that the refusal is JSON too.
    bool json = false;
    DscMethod dscMethod = DscMethod::None; // dsc: which operation
    bool check = false;           // set, remove and dsc set --check: a dry run (also when refused)
    bool noVerify = false;        // set --no-verify
    std::uint32_t logonCount = 0; // set --logon-count N; 0 when not given
    bool domainGiven = false;
    wchar_t user[kFieldLimit + 1] = {};
    wchar_t domain[kFieldLimit + 1] = {};
};

// The account of --user: NAME, NAME@DOMAIN, or DOMAIN\NAME, whose domain goes to `domain`
// (`split` says so). None, or EmptyUser, BadUser or TooLong; on a refusal the fields may hold
// a part of the text.
ArgumentError SplitUser(const wchar_t* value, wchar_t (&user)[kFieldLimit + 1],
                        wchar_t (&domain)[kFieldLimit + 1], bool& split);

// Parses the arguments after the program name. The first is the command, or --help, -h, /?,
// -?, --version; options follow it, each value either as the next argument or after "=".
// --help after a command shows the help as well.
void ParseArguments(int count, const wchar_t* const* arguments, Arguments& parsed);

// The long options' names: one per row of the option table ("--json", ...), then "--help" and
// "--version"; null past the last.
const char* OptionName(std::size_t row);
