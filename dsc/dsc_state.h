// The state the dsc operations print: what status reads, in the terms of the instance schema
// (tarvelin.dsc.resource.json.in). Never a password: the schema's password is write-only.
#pragma once
#include "change_plan.h"
#include "status_verdict.h"
#include "text_buffer.h"

// One object on one line, with its line end, for get, export and set:
// {"user":string,"domain":string,"logonCount":n,"_exist":bool,"problems":[...],
//  "warnings":[...]}. _exist is whether automatic logon is on. logonCount stands only where
// the schema's 1 to 999,999 holds it: a count used up (0) is named by the problem
// logon-count-used-up, and any count by the warning logon-count. Names longer than a logon
// uses end in the cut mark, as in status. False, with nothing written, when a value could not
// be read (the verdict's exit code 1): nothing is judged then, and that is an error to report.
bool ComposeDscState(const StatusSnapshot& snapshot, const StatusVerdict& verdict, TextBuffer& out);

// test's state: the same with "_inDesiredState" after "_exist".
bool ComposeDscTestState(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                         bool inDesiredState, TextBuffer& out);

// What status would read once `plan` has run over `before`, for the dry run (what-if): the
// values as the plan leaves them, and the secret stored or gone. The account's own causes
// (disabled, locked, unknown, another domain) are not judged for an account the plan changes.
void SnapshotAfterPlan(const ChangeState& before, const ChangePlan& plan, StatusSnapshot& snapshot);
