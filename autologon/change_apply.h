// Carrying out a change plan step by step, and nothing beyond it: the console program's set
// and remove, and their dry run. What the plan keeps is not touched, so a run that finds
// nothing to do writes nothing, and a dry run tells exactly what the real run would do.
#pragma once
#include "change_plan.h"
#include "change_result.h"

#include <cstdint>

// What a set asks for; a remove asks for nothing.
struct SetWanted
{
    const wchar_t* domain;
    const wchar_t* user;
    const wchar_t* password;  // null: the secret is left as it is (keep run restores the rest)
    std::uint32_t logonCount; // 0: none
};

// How far a run goes: the change itself; the dry run, which also opens what the change would
// write; or the comparison alone, which opens nothing for writing.
enum class RunKind
{
    Apply,
    Probe,
    Compare
};

// One set (`wanted`) or remove (null) from reading to writing: the state it found, its plan,
// and what carrying it out (or probing it) gave; `ran` is false when nothing was opened for
// writing.
struct ChangeRun
{
    ChangeState before;
    ChangePlan plan;
    ChangeResult result;
    bool ran = false;
    bool keepingOff = false; // a remove switched keeping off first (or, in a dry run, would)
};

// Reads the state, plans, and goes as far as `kind` says. The change carries out exactly the
// plan's steps: a set saves each value it changes first and, on any failure, puts them all
// back (listing those that could not be); a remove writes AutoAdminLogon "0" first and deletes
// the secret even after a registry failure, since switching off is always safe. The dry run
// opens what the change would write, with the same access, and closes it unused, so that a
// missing right fails it at the step, and with the error, the change would meet.
void RunChangePlan(const SetWanted* wanted, RunKind kind, ChangeRun& run);
