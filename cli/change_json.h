// set and remove in JSON, for configuration-management engines: one object on one line, for
// success, a dry run and failure alike. Free of Windows headers: tested natively.
#pragma once
#include "change_report.h"
#include "json_text.h"
#include "text_buffer.h"

// Enough for every value before and after, each at its longest and escaped, and a failure.
constexpr std::size_t kChangeJsonCapacity = 20480;

// {"command":"set"|"remove","check":bool,"changed":bool,"domain":..,"user":..,
//  "logonCount":n|null,"before":{..},"after":{..}|null,"error":null|step, ...}
// On failure also "errorNumber", "errorText", "value", and for set "restored" and "unrestored", for
// remove "off" and "secretBlanked". The line end is included.
void ComposeChangeJson(const ChangeReport& report, TextBuffer& out);

// The stable name of a step, as JSON gives it ("write-value"); null for None.
const char* StepId(ChangeStep step);

// "errorNumber" and "errorText", Windows' own words for it (null where it has none).
void AddJsonError(JsonObject& json, std::uint32_t error);

// After a failed change: "restored" (whether everything was put back) and "unrestored", each
// value that could not be, with its error.
void AddJsonUnrestored(JsonObject& json, const UnrestoredValue* unrestored, std::size_t count);

// An error before anything was read: {"command":..,"check":..,"changed":false,"error":..}
// with "errorNumber" and "errorText" when `number` is not 0 and "reason" when `reason` is not null.
void ComposeErrorJson(const char* command, bool check, const char* error, unsigned long number,
                      const char* reason, TextBuffer& out);
