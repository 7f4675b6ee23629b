// The words of keep, and of status's line about it, in English and German: UTF-8, "{}" for
// the detail the code fills in, as in texts.h.
#pragma once

struct KeepTexts
{
    const char* steps[3];      // would or did: copy the program to {}, record {}, register the task
    const char* removals[3];   // likewise for keep off: the copy, the record, the task
    const char* wouldChange;   // before the steps of --check
    const char* keptNow;       // keep on done: {} the account
    const char* keptAlready;   // {} the account
    const char* notKept;       // keep off or run: nothing is kept
    const char* keptNoMore;    // keep off done
    const char* restored;      // keep run: before the values it changed
    const char* nothingLost;   // keep run: nothing differed
    const char* secretGone;    // keep run: no password stored, keeping switched off
    const char* refusals[4];   // not on, no password, a logon count, others may write: {} path
    const char* failed;        // + the step's words + the error
    const char* putBack;       // after a failure: everything put back
    const char* label;         // status: "Kept: "
    const char* taskStates[6]; // status: absent, other, unknown, disabled, queued/ready, running
    const char* lastResult;    // status: {} the number
    const char* countWhileKept; // set --logon-count while kept
};

const KeepTexts& KeepTextsFor(bool german);
