// Every sentence tarvelin-cli shows, in English and German: German when the user's locale
// is German, as in the dialog. Only the usage lines and the JSON keys are the same in both.
#pragma once
#include "credential_reason.h"
#include "status_verdict.h"

struct CliTexts
{
    const wchar_t* help;        // what the program does, before the usage lines
    const wchar_t* commandHelp; // the commands and exit codes, after them
    const wchar_t* seeHelp;     // after a refused command line

    // Refused command lines; each is preceded by "tarvelin-cli: ".
    const wchar_t* noCommand;
    const wchar_t* unknownCommand; // + the word
    const wchar_t* unknownOption;  // + the option
    const wchar_t* missingValue;   // + the option
    const wchar_t* repeated;       // + the option
    const wchar_t* passwordOption;
    const wchar_t* missingUser;
    const wchar_t* emptyUser;
    const wchar_t* badUser;
    const wchar_t* domainTwice;
    const wchar_t* tooLong[3]; // [0] option [1] limit [2]

    // set and remove.
    const wchar_t* needsAdministrator;
    const wchar_t* prompt;
    const wchar_t* noPassword;
    const wchar_t* passwordTooLong[2]; // [0] limit [1]
    const wchar_t* passwordNotUtf8;
    const wchar_t* passwordUnreadable; // + error number + ")."
    const wchar_t* noComputerName;     // + error number + closing
    const wchar_t* noComputerNameEnd;
    const wchar_t* credentialsAccepted;
    const wchar_t* credentialsNotChecked;
    const wchar_t* credentialRefused; // before the reason
    const wchar_t* reasons[6];        // by CredentialReason; NotChecked: + error number
    const wchar_t* notCheckedEnd;     // after the error number
    const wchar_t* nothingChanged;

    // status: labels end in ": ".
    const wchar_t* autoLogon;
    const wchar_t* on;
    const wchar_t* off;
    const wchar_t* domain;
    const wchar_t* user;
    const wchar_t* none;
    const wchar_t* secret;
    const wchar_t* secretStates[3]; // by SecretState
    const wchar_t* plainText;
    const wchar_t* yes;
    const wchar_t* no;
    const wchar_t* logonCount;
    const wchar_t* notSet;
    const wchar_t* problem;
    const wchar_t* problems[kProblemKinds]; // by bit, lowest first
    const wchar_t* warning;
    const wchar_t* warnings[kWarningKinds]; // the logon count's: + count + logonCountEnd
    const wchar_t* logonCountEnd;
    const wchar_t* results[3]; // on and clear, off, on but stopped

    bool german; // the language of these texts, for the reports composed elsewhere
};

const CliTexts& TextsFor(bool german);

// The usage lines, the same in every language.
extern const wchar_t kUsage[];
