// What set and remove tell after the change: done (standard output), or which step failed
// with the system's error and what state that leaves the machine in (standard error).
// Free of Windows headers: tested natively.
#pragma once
#include "change_plan.h"
#include "change_result.h"
#include "text_buffer.h"

// Enough for every failure line and five values not put back, or for a plan with every
// value at its longest before and after.
constexpr std::size_t kChangeReportCapacity = 4096;

// Composes the report of a Set (`set`, for the account `domain`\`user`) or a Remove, in
// German or English. True when the change was done (the report is for standard output);
// false when it failed (standard error, exit code 1).
bool ComposeChangeReport(const ChangeResult& result, bool set, const wchar_t* domain,
                         const wchar_t* user, bool german, TextBuffer& out);

// What a set or remove found to do, before (or instead of) doing it: "already set up" or
// "already off" when nothing differs; with `check`, the values that would change, one a line
// ("AutoAdminLogon: 0 -> 1"), and the secret. Never a password, nor its length.
void ComposePlanReport(const ChangeState& before, const ChangePlan& plan, bool set, bool check,
                       const wchar_t* domain, const wchar_t* user, bool german, TextBuffer& out);

// Whether a Remove, whatever failed, left automatic logon off: AutoAdminLogon "0" is written
// first, so only a failure at or before that write leaves it as it was.
bool RemoveLeftOff(const ChangeResult& result);
