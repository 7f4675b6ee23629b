// What the other commands ask of keeping: remove switches it off first, set keeps the new
// account, a logon count is refused while it is on, and status shows it.
#pragma once
#include "status_verdict.h"
#include "text_buffer.h"

// Switches keeping off (task, record and copy) where anything of it is left, and records it;
// with `check` only looks. False, with the error's words in `words`, when that failed.
bool KeepingOff(bool check, TextBuffer& words);
// Whether a record says that automatic logon is kept.
bool IsKept();
// Where automatic logon is kept, records the account a set has just switched it on for.
void KeepAccount(const wchar_t* domain, const wchar_t* user);
// Fills the snapshot's keep fields: the record, and what the Task Scheduler says of the task.
void ReadKeepStatus(StatusSnapshot& snapshot);
