// set and remove in JSON, for configuration-management engines: one object on one line, for
// success, a dry run and failure alike. Free of Windows headers: tested natively.
#pragma once
#include "change_plan.h"
#include "text_buffer.h"

// Enough for every value before and after, each at its longest and escaped, and a failure.
constexpr std::size_t kChangeJsonCapacity = 20480;

struct ChangeReport
{
    bool set = true;                 // set, or remove
    bool check = false;              // --check: nothing was to be changed
    const wchar_t* domain = nullptr; // set: the account
    const wchar_t* user = nullptr;
    std::uint32_t logonCount = 0;         // set: 0 when none is wanted
    const ChangeState* before = nullptr;  // as read
    const ChangePlan* plan = nullptr;     // what differs
    const ChangeResult* result = nullptr; // the change, when one was made
};

// {"command":"set"|"remove","check":bool,"changed":bool,"domain":..,"user":..,
//  "logonCount":n|null,"before":{..},"after":{..}|null,"error":null|step, ...}
// On failure also "errorNumber", "value", and for set "restored" and "unrestored", for
// remove "off" and "secretBlanked". The line end is included.
void ComposeChangeJson(const ChangeReport& report, TextBuffer& out);

// An error before anything was read: {"command":..,"check":..,"changed":false,"error":..}
// with "errorNumber" when `number` is not 0 and "reason" when `reason` is not null.
void ComposeErrorJson(const char* command, bool check, const char* error, unsigned long number,
                      const char* reason, TextBuffer& out);
