// What the dialog tells the user after Set and Remove. Free of Windows headers: tested
// natively.
#pragma once
#include "change_result.h"

enum class WriterOutcome
{
    MissingInput, // Set without password or user name
    Failed,       // anything went wrong; the machine is as it was (Remove: auto-logon off)
    SetDone,
    RemoveDone,
    NotRestored // Set failed, and some of the values it had saved could not be put back
};

// The box that reports a change: done, failed, or failed without everything put back.
WriterOutcome OutcomeOf(const ChangeResult& result, bool set);

struct WriterMessage
{
    const wchar_t* text;
    const wchar_t* caption;
    bool error; // error icon; otherwise a plain OK box
};

// The box the writer shows for an outcome, in the language the English flag picks.
WriterMessage MessageFor(WriterOutcome outcome, int englishFlag);
