// What the other commands ask of keeping: remove switches it off first, set keeps the new
// account, a logon count is refused while it is on, and status shows it.
#pragma once
#include "status_verdict.h"
#include "text_buffer.h"

// Switches keeping off (task, record and copy) where anything of it is left, records it, and
// says so in `words`; with `check` only looks and says it would. `ended` tells whether there
// was anything to switch off. False, with the error's words in `words`, when that failed.
bool KeepingOff(bool check, bool german, TextBuffer& words, bool& ended);
// Whether a record says that automatic logon is kept.
bool IsKept();
// Where automatic logon is kept, records the account a set has just switched it on for.
void KeepAccount(const wchar_t* domain, const wchar_t* user);
// Fills the snapshot's keep fields: the record, and what the Task Scheduler says of the task.
void ReadKeepStatus(StatusSnapshot& snapshot);
