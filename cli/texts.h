// Every sentence tarvelin-cli shows, in English and German: German when the user's locale
// is German, as in the dialog. Only the JSON keys, the command and option names and the
// placeholders of the usage lines are the same in both.
// The texts are UTF-8: half the size of UTF-16 in the program, which must stay small. In a
// sentence, "{}" stands for the next detail that the code fills in, "{0}" and "{1}" for the
// first and second (help_text.h, AddFilled).
#pragma once
#include "arguments.h"
#include "credential_reason.h"
#include "status_verdict.h"

// The exit codes help lists, one row a meaning (help_text.cpp holds which commands give it).
constexpr std::size_t kExitRowCount = 17;

// Where the password came from, for the refusals that name it.
enum class PasswordSource
{
    Input, // standard input (a pipe, a file, or the console's prompt)
    File,  // --password-file
};

struct CliTexts
{
    // help: the paragraphs are wrapped where they are shown.
    const char* about;                    // what the program does, before the commands
    const char* usage;                    // "Usage: "
    const char* headings[3];              // commands, options, exit codes
    const char* summaries[8];             // by kCommands row: one line each
    const char* details[8];               // by kCommands row: the command's own help
    const char* options[kOptionCount];    // by option row
    const char* exitCodes[kExitRowCount]; // by exit row
    const char* moreHelp;                 // after the overview
    const char* commandHelp;              // after a refusal: {} the command word
    const char* causeLists[2];            // before the names of the problems, and of the warnings

    // Refused command lines; each is preceded by "tarvelin-cli: ".
    const char* noCommand;
    const char* unknownCommand;   // {} the word
    const char* unknownCommandAt; // {} its position
    const char* didYouMean;       // {} a command or an option: after unknownCommand/Option
    const char* unknownOption;    // {} the option
    const char* unknownOptionAt;  // {} its position
    const char* otherOption;      // {0} the command, {1} the option it does not take
    const char* unexpectedWord;   // {} its position
    const char* missingValue;     // {} the option
    const char* valueGiven;       // {} the option
    const char* repeated;         // {} the option
    const char* passwordOption;
    const char* missingUser; // also for dsc: a plain sentence
    const char* emptyUser;   // likewise
    const char* badUser;     // likewise
    const char* domainTwice; // likewise
    const char* badLogonCount;
    const char* logonCountRange;
    const char* noOperation;
    const char* tooLong;        // {0} the option, {1} the limit
    const char* unknownCause;   // {} the word
    const char* unknownCauseAt; // {} its position

    // set and remove.
    const char* needsAdministrator;
    const char* prompt;
    const char* promptAgain;
    const char* passwordsDiffer;
    const char* noPassword[2];         // by PasswordSource
    const char* passwordTooLong;       // {} the limit
    const char* passwordNotText[2];    // by PasswordSource: neither UTF-8 (nor UTF-16LE) text
    const char* passwordUtf16[2];      // by PasswordSource: UTF-16 where it is not read
    const char* passwordUnreadable[2]; // by PasswordSource: {} the error
    const char* noComputerName;        // {} the error
    const char* credentialsAccepted;
    const char* credentialsNotChecked;
    const char* credentialRefused; // before the reason
    const char* reasons[4]; // by CredentialReason, WrongNameOrPassword to LogonTypeNotGranted
    const char* credentialsUnchecked; // NotChecked: {} the error
    const char* nothingChanged;

    // status: labels end in ": ".
    const char* autoLogon;
    const char* on;
    const char* off;
    const char* domain;
    const char* user;
    const char* none;
    const char* secret;
    const char* secretStates[3]; // by SecretState
    const char* plainText;
    const char* yes;
    const char* no;
    const char* logonCount;
    const char* notSet;
    const char* problem; // "Problem (name): " is composed from it
    const char* warning;
    const char* causes[kCauseCount]; // by Cause; "{}" stands for the cause's details
    const char* weekdays[7];         // from Sunday
    const char* results[3];          // on and clear, off, on but stopped
    const char* unreadable;          // {0} key\value, {1} the error

    // fix.
    const char* fixHeadings[3]; // would fix, fixed, left as it is
    const char* nothingToFix;
    const char* secretMoves;           // the plain-text password moves into the secret
    const char* accountSteps[2];       // {} the account: never expires, unlocked
    const char* leftBecause[4];        // by FixKind, from NamedOnly; {} the name or where it lives
    const char* fixWhere[kCauseCount]; // by Cause: where a policy sets it, or what to do
    const char* notRepaired;           // {0} the cause, {1} why
    const char* undecided;             // a plain-text password, but the secret unreadable
    const char* fixFailed;             // + the step that failed

    // set's console prompt; each is preceded by "tarvelin-cli: ".
    const char* promptCancelled;
    const char* echoStaysOn;
    const char* consoleUnseen;

    bool german; // the language of these texts, for the reports composed elsewhere
};

const CliTexts& TextsFor(bool german);
