// The commands of tarvelin-cli. Each writes its output and returns the exit code.
#pragma once
#include "arguments.h"
#include "credential_check.h"
#include "texts.h"

// Usage, help, version and refused command lines.
int RunHelp(const CliTexts& texts);
int RunVersion();
int RunRefusal(const Arguments& arguments, const CliTexts& texts);

// status [--json]: reads, judges and reports; changes nothing.
int RunStatus(bool json, const CliTexts& texts);

// set and remove. `administrator` is whether the process may change the machine; it is
// asked before anything else, so a prompt without rights never reads the password. `logon`
// is LogonUserW, or a test's double.
int RunChange(const Arguments& arguments, const CliTexts& texts, bool administrator,
              LogonFunction logon);

// LogonUserW, for the program; the end-to-end tests' build of it links a stand-in instead,
// since Wine's accepts every user and password.
LogonFunction SystemLogon();
