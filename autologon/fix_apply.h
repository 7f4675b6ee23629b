// Reading what `fix` needs to know and carrying its plan out, step by step: every value it
// changes saved first, everything put back when a later step fails, all of it read back.
#pragma once
#include "fix_plan.h"
#include "status_verdict.h"

// Reads the facts of a fix: the status as `status` reads it (into `snapshot`), the Winlogon
// values of both views, the secret and the sign-in setting. False when a value could not be
// read (the snapshot names it).
bool ReadFixFacts(StatusSnapshot& snapshot, FixFacts& facts);

struct FixResult
{
    StepFailure failure;        // the first step that failed (ReadBack: did not hold)
    std::size_t failedStep = 0; // its index in the plan
    // What could not be put back after a failure, in the order tried.
    std::size_t unrestoredCount = 0;
    UnrestoredValue unrestored[kFixStepLimit] = {};

    bool Done() const { return failure.step == ChangeStep::None; }
};

// Carries the plan out for `user` (the local account of the account steps), or, with `probe`,
// opens what it would write with the same access and closes it unused, changing nothing.
FixResult ApplyFix(const FixPlan& plan, const wchar_t* user, bool probe);
