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
    Dsc, // an operation of the DSC v3 resource: the instance comes as JSON on standard input
    Fix, // repairs causes that status names
    Keep // keeps automatic logon on with a scheduled task
};

// The command words in the order help lists them; each is taken in any letter case.
struct CommandRow
{
    const char* word;
    Command command;
    const char* operands; // what follows the word in its usage line, before the options
};
extern const CommandRow kCommands[];
extern const std::size_t kCommandCount;
// The row of a command; null for None.
const CommandRow* CommandRowOf(Command command);

// The operations of the DSC v3 resource, as its manifest names them (set --check: what-if).
enum class DscMethod
{
    None,
    Get,
    Set,
    Test,
    Export
};

// keep's operations.
enum class KeepAction
{
    None,
    On,
    Off,
    Run
};

enum class ArgumentError
{
    None,
    NoCommand,      // nothing at all
    UnknownCommand, // `offending` is the word when it looks like a command word, else only
                    // its `position`; `suggestion` the command it is close to, if any
    UnknownOption,  // `offending` is the option's name (never a value glued to it), or
                    // only its `position` when it does not look like an option's name;
                    // `suggestion` the long option a single-dash word spells; `other` is
                    // set when another command takes that option
    UnexpectedWord, // a word that is no option, after the command: only its `position`
    MissingValue,   // `offending` is the option that needs one
    Repeated,       // `offending` is the option given twice
    PasswordOption, // the password was offered on the command line
    MissingUser,    // set without --user
    EmptyUser,      // --user "" or --user DOMAIN\ (no name after the backslash)
    BadUser,        // --user with an empty domain before the backslash, or two backslashes
    DomainTwice,    // --user DOMAIN\name together with --domain
    TooLong,        // `offending` is the option whose value exceeds kFieldLimit
    BadLogonCount,  // --logon-count without a whole number
    NoOperation,    // dsc without get, set, test or export, keep without on, off or run (the
                    // word is not shown)
    ValueGiven,     // `offending` is an option that takes no value, given one after = or :
    OutOfRange,     // --logon-count with a whole number outside 1 to kLogonCountLimit
    UnknownCause,   // fix with a word that names no cause: `offending` when it looks like a
                    // cause's name, else only its `position`; `suggestion` a close one
};

// The most automatic logons --logon-count takes.
constexpr std::uint32_t kLogonCountLimit = 999999;

struct Arguments
{
    Command command = Command::None;
    Command requested = Command::None; // the command word given, also when refused
    Command topic = Command::None;     // help: the command it is about; None: all of them
    ArgumentError error = ArgumentError::None;
    // The word or option the error is about: points into the arguments, `offendingLength`
    // characters long. A refused word may be a password typed in the wrong place, so an
    // option is named only up to its "=" or ":" and only when it looks like an option's name,
    // a command word only when it looks like one, and a bare word not at all: `position` (1
    // for the first argument after the program's name) says where it stands.
    const wchar_t* offending = nullptr;
    std::size_t offendingLength = 0;
    int position = 0;
    const char* suggestion = nullptr; // "did you mean ...?": a command word or an option name
    bool other = false;               // UnknownOption: another command takes it

    // --json: also set when the command line is refused, so that the refusal is JSON too.
    bool json = false;
    DscMethod dscMethod = DscMethod::None; // dsc: which operation
    KeepAction keepAction = KeepAction::None;
    bool check = false;           // set, remove and dsc set --check: a dry run (also when refused)
    bool noVerify = false;        // set --no-verify
    std::uint32_t logonCount = 0; // set --logon-count N; 0 when not given
    bool domainGiven = false;
    wchar_t user[kFieldLimit + 1] = {};
    wchar_t domain[kFieldLimit + 1] = {};
    // set --password-file PATH: points into the arguments; never shown, since a password
    // typed in the wrong place may stand there.
    const wchar_t* passwordFile = nullptr;
    unsigned int fixCauses = 0; // fix NAME...: the CauseBit of each cause named
};

// The account of --user: NAME, NAME@DOMAIN, or DOMAIN\NAME, whose domain goes to `domain`
// (`split` says so). None, or EmptyUser, BadUser or TooLong; on a refusal the fields may hold
// a part of the text.
ArgumentError SplitUser(const wchar_t* value, wchar_t (&user)[kFieldLimit + 1],
                        wchar_t (&domain)[kFieldLimit + 1], bool& split);

// Parses the arguments after the program name. The first is the command (in any letter case),
// or --help, -h, /?, -?, --version; options follow it, each value either as the next argument
// or after "=". --help after a command, and help COMMAND, ask for that command's help.
void ParseArguments(int count, const wchar_t* const* arguments, Arguments& parsed);

// The option table as help shows it: one row per option, in the order of the usage lines.
struct OptionHelp
{
    const char* name;        // "--user"
    const char* placeholder; // what its value is called ("[DOMAIN\\]NAME"), null for a flag
    bool required;           // needed by every command that takes it
};
constexpr std::size_t kOptionCount = 7;
const OptionHelp& OptionRow(std::size_t row); // row < kOptionCount
// Whether `command` takes the option of row `row`.
bool TakesOption(Command command, std::size_t row);

// The long options' names: one per row of the option table ("--json", ...), then "--help" and
// "--version"; null past the last.
const char* OptionName(std::size_t row);

// How many edits (a letter added, dropped, replaced, or two swapped) make `word` into `name`,
// ASCII letters in any case; more than `most` counts as most + 1.
std::size_t EditDistance(const wchar_t* word, std::size_t length, const char* name,
                         std::size_t most);
