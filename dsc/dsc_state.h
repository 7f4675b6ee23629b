// The state the dsc operations print: what status reads, in the terms of the instance schema
// (tarvelin.dsc.resource.json.in). Never a password: the schema's password is write-only.
#pragma once
#include "change_plan.h"
#include "dsc_instance.h"
#include "status_verdict.h"
#include "text_buffer.h"

// What a state answers beside the machine's values, for dsc to compare with the desired
// instance: the instance given (null: none) with its account as set resolves it (null: not
// resolved), and test's verdict (null: not test).
struct DscAnswer
{
    const DscInstance* instance = nullptr;
    const wchar_t* user = nullptr;
    const wchar_t* domain = nullptr;
    const bool* inDesiredState = nullptr;
    unsigned int repaired = 0; // what-if: the causes fix would repair, as though it had
};

// dsc takes test's verdict from _inDesiredState, but lists the properties that differ by
// comparing the desired instance with the state as JSON values: so where the machine holds
// what the instance asks for, the state gives it as the instance wrote it. The user (and the
// domain, where the instance gives one) as written when both name the machine's account as
// `sameName` compares names ("CORP\kiosk" stays so, beside the domain "CORP"); logonCount as
// written when the machine's count stands from 1 to it.
void ShapeAsDesired(const DscAnswer& answer, SameNameFunction sameName, StatusSnapshot& snapshot);

// One object on one line, with its line end, for get, export, set and test:
// {"user":string,"domain":string,"logonCount":n,"checkCredentials":bool,"_exist":bool,
//  "fix":[...],"_inDesiredState":bool,"problems":[...],"warnings":[...]}. _exist is whether
// automatic logon is on; checkCredentials stands where the instance gave it, and fix, the
// causes it names that are no longer found (all of them, as dsc compares it, where the
// machine is as wanted); _inDesiredState for test.
// logonCount stands only where the schema's 1 to 999,999 holds it: a count used up (0) is
// named by the problem logon-count-used-up, and any count by the warning logon-count. Names
// longer than a logon uses end in the cut mark, as in status. False, with nothing written,
// when a value could not be read (the verdict's exit code 1): nothing is judged then, and that
// is an error to report.
bool ComposeDscState(const StatusSnapshot& snapshot, const StatusVerdict& verdict,
                     const DscAnswer& answer, TextBuffer& out);

// What status would read once `plan` has run over `before`, for the dry run (what-if): the
// values as the plan leaves them, and the secret stored or gone. The account's own causes
// (disabled, locked, unknown, another domain) are not judged for an account the plan changes.
void SnapshotAfterPlan(const ChangeState& before, const ChangePlan& plan, StatusSnapshot& snapshot);
