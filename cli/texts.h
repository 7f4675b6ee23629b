// Every sentence tarvelin-cli shows, in English and German: German when the user's locale
// is German, as in the dialog. Only the usage lines and the JSON keys are the same in both.
// The texts are UTF-8: half the size of UTF-16 in the program, which must stay small.
#pragma once
#include "credential_reason.h"
#include "status_verdict.h"

struct CliTexts
{
    const char* help;          // what the program does, before the usage lines
    const char* commandHelp;   // the commands and exit codes, after them
    const char* seeHelp;       // after a refused command line
    const char* causeLists[2]; // before the names of the problems, and of the warnings

    // Refused command lines; each is preceded by "tarvelin-cli: ".
    const char* noCommand;
    const char* unknownCommand;    // + the word
    const char* unknownOption;     // + the option
    const char* unexpectedWord[2]; // [0] + position + [1]
    const char* missingValue;      // + the option
    const char* repeated;          // + the option
    const char* passwordOption;
    const char* missingUser;
    const char* emptyUser;
    const char* badUser;
    const char* domainTwice;
    const char* badLogonCount;
    const char* noOperation;
    const char* tooLong[3]; // [0] option [1] limit [2]

    // set and remove.
    const char* needsAdministrator;
    const char* prompt;
    const char* noPassword;
    const char* passwordTooLong[2]; // [0] limit [1]
    const char* passwordNotUtf8;
    const char* passwordUnreadable; // + error number + ")."
    const char* noComputerName;     // + error number + closing
    const char* noComputerNameEnd;
    const char* credentialsAccepted;
    const char* credentialsNotChecked;
    const char* credentialRefused; // before the reason
    const char* reasons[6];        // by CredentialReason; NotChecked: + error number
    const char* notCheckedEnd;     // after the error number
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
    const char* problem;
    const char* warning;
    const char* causes[kCauseCount]; // by Cause; "{}" stands for the cause's detail
    const char* results[3];          // on and clear, off, on but stopped
    const char* unreadable[2];       // + key\value + [0] + error number + [1]

    // set's console prompt; each is preceded by "tarvelin-cli: ".
    const char* promptCancelled;
    const char* echoStaysOn;
    const char* consoleUnseen;

    bool german; // the language of these texts, for the reports composed elsewhere
};

const CliTexts& TextsFor(bool german);

// The usage lines, the same in every language.
extern const char kUsage[];
