// The commands of tarvelin-cli. Each writes its output and returns the exit code.
#pragma once
#include "arguments.h"
#include "change_apply.h"
#include "credential_check.h"
#include "event_record.h"
#include "text_buffer.h"
#include "texts.h"

// Usage, help, version and refused command lines.
// help: the overview for None, else the command's own.
int RunHelp(const CliTexts& texts, Command topic);
int RunVersion();
int RunRefusal(const Arguments& arguments, const CliTexts& texts);

// status [--json]: reads, judges and reports; changes nothing.
int RunStatus(bool json, const CliTexts& texts);

// set and remove. `administrator` is whether the process may change the machine; it is
// asked before anything else, so a prompt without rights never reads the password. `logon`
// is LogonUserW, or a test's double.
int RunChange(const Arguments& arguments, const CliTexts& texts, bool administrator,
              LogonFunction logon);

// keep on|off|run: automatic logon restored by a scheduled task.
int RunKeep(const Arguments& arguments, const CliTexts& texts, bool administrator);

// fix [NAME...]: repairs the causes named, or those that belong to automatic logon itself.
int RunFix(const Arguments& arguments, const CliTexts& texts, bool administrator);

// The steps of set that another front end of the program shares.
// The domain a set stores and checks: `given` (null: none given); else none for a user@domain
// name, which names its own domain and is checked that way; else this computer's name, as the
// dialog fills it in. ERROR_SUCCESS; or, when that name cannot be read, the Win32 error, with
// the sentence that says so in `why`.
DWORD SetDomain(const wchar_t* user, const wchar_t* given, wchar_t (&domain)[kFieldLimit + 1],
                const CliTexts& texts, TextBuffer& why);
// The sentence of a refused credential check, with its reason, and "Nothing was changed.";
// returns the reason's stable name.
const char* ComposeCredentialRefusal(DWORD error, const CliTexts& texts, TextBuffer& out);

// Changes what differs from `wanted` (null: a remove) or, with `check`, opens what that would
// write; holds Ctrl+C off meanwhile, and says what came of it in `words`. True when that is for
// standard output, false for a failure. A change is recorded as an event of `kind`; a set or
// remove also keeps keeping in step (a remove switches it off first, a set keeps its account).
bool ChangeAndSay(const SetWanted* wanted, bool check, const CliTexts& texts, ChangeRun& run,
                  TextBuffer& words, EventKind kind);

// The operations of the DSC v3 resource: the instance as JSON on standard input, the state
// as JSON on standard output, errors as dsc's trace lines on standard error. `administrator`
// and `logon` as for RunChange.
int RunDsc(const Arguments& arguments, const CliTexts& texts, bool administrator,
           LogonFunction logon);

// LogonUserW, for the program; the end-to-end tests' build of it links a stand-in instead,
// since Wine's accepts every user and password.
LogonFunction SystemLogon();
