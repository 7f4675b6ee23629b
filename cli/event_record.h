// The record every change of tarvelin-cli leaves in the Application log, source Tarvelin: what
// was changed, value by value, by whom, and the outcome. The texts live in the program's
// message table; the source names a copy of the program in a folder only administrators may
// change, so that Event Viewer still shows them after this program has been moved or deleted.
#pragma once
#include "change_apply.h"
#include "text_buffer.h"

// The event ids, as the message table numbers them.
enum class EventKind : unsigned short
{
    Set = 1,
    Remove = 2,
    Fix = 3,
    KeepOn = 4,
    KeepOff = 5,
    KeepRestored = 6,
    KeepEnded = 7, // keep run found no password and switched keeping off
    DscSet = 8,
};

// Enough for every value of a change, before and after, and its outcome.
constexpr std::size_t kEventTextCapacity = 4096;

// Writes one event: `changes` one value a line, `outcome` the program's English words for how
// it ended; an error event when `failed`. A failure to write it fails nothing: it is said on
// standard error.
void RecordEvent(EventKind kind, bool failed, const wchar_t* changes, const wchar_t* outcome);

// The lines of a set's or remove's run for an event: each value it changed, before and after,
// and the secret (never the password).
void AddRunChanges(const ChangeRun& run, TextBuffer& out);
