// What set and remove tell: done or nothing to do (standard output), or which step failed with
// the system's error and what state that leaves the machine in (standard error).
// Free of Windows headers: tested natively.
#pragma once
#include "change_apply.h"
#include "change_plan.h"
#include "change_result.h"
#include "text_buffer.h"

// Enough for every failure line and five values not put back, or for a plan with every
// value at its longest before and after.
constexpr std::size_t kChangeReportCapacity = 4096;

// One set or remove, as both reports tell it.
struct ChangeReport
{
    bool set = true;                 // set, or remove
    bool check = false;              // --check: a dry run
    const wchar_t* domain = nullptr; // set: the account
    const wchar_t* user = nullptr;
    const ChangeState* before = nullptr;  // as read
    const ChangePlan* plan = nullptr;     // what differs
    const ChangeResult* result = nullptr; // the change or, in a dry run, the opening of what
                                          // it would write; null when nothing was to change

    bool Failed() const { return result != nullptr && !result->Done(); }
};

// The report of a run of the core: `wanted` null for a remove.
ChangeReport ReportOf(const ChangeRun& run, const SetWanted* wanted, bool check);

// Composes what a set or remove says, in German or English: done; or, when nothing differs,
// "already set up" or "already off"; or with --check the values that would change, one a line
// ("AutoAdminLogon: 0 -> 1"), and the secret, never a password nor its length; or the step
// that failed, with the system's error and the state that leaves the machine in. True for
// standard output; false for a failure (standard error, exit code 1).
bool ComposeChangeReport(const ChangeReport& report, bool german, TextBuffer& out);

// "name: before -> after" as a dry run lists a value, in German or English: a number for a
// count (and any DWORD), a text for the names, a plain-text password never by its text.
void AddValueChange(TextBuffer& out, const wchar_t* name, const ValueForm& before, bool unreadable,
                    const ValueForm& after, bool german);

// The words of a failed step: "the value X could not be written (error 5: ...)".
void AddStepWords(const StepFailure& failure, bool german, TextBuffer& out);
// The words for what a failed change put back: everything, or the values that could not be.
void AddPutBack(const UnrestoredValue* unrestored, std::size_t count, bool german, TextBuffer& out);

// Whether automatic logon is off after a remove, whatever failed: it was off already, or
// AutoAdminLogon "0", which is written first, was written.
bool RemoveLeavesOff(const ChangeReport& report);

// Whether no password is left in the secret after a remove: there was none, or it was
// deleted.
bool RemoveLeavesNoSecret(const ChangeReport& report);
