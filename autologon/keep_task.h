// The scheduled task that keeps automatic logon: registered through the Task Scheduler's COM
// interface in the folder \Vestrakona\, run as SYSTEM with the highest run level at every
// start of Windows, whenever Windows Update reports an installed update, and once a day.
#pragma once
#include <windows.h>

// What the Task Scheduler holds under the task's name.
enum class KeepTaskFound
{
    Absent,
    Ours,       // runs `program` with "keep run" as SYSTEM, on the three triggers
    Other,      // a task of that name that does something else: registering replaces it
    Unreadable, // the Task Scheduler could not be asked: `error`
};

// TASK_STATE's values that status tells apart.
constexpr long kTaskDisabled = 1;
constexpr long kTaskRunning = 4;

struct KeepTaskInfo
{
    KeepTaskFound found = KeepTaskFound::Unreadable;
    HRESULT error = S_OK;
    long state = 0;      // TASK_STATE: 1 disabled, 2 queued, 3 ready, 4 running
    long lastResult = 0; // the last run's exit code, or the Task Scheduler's HRESULT
    bool ran = false;    // whether it has run at all (else lastResult means nothing)
};

// The task's folder and name, as the Task Scheduler shows them.
extern const wchar_t kKeepTaskFolder[];
extern const wchar_t kKeepTaskName[];

// Asks the Task Scheduler for the task; `program` is the protected copy it should run.
KeepTaskInfo ReadKeepTask(const wchar_t* program);

// Registers the task (replacing one of the same name) to run `program`; S_OK or the error.
HRESULT RegisterKeepTask(const wchar_t* program);

// Deletes the task, and its folder once that is empty. S_OK also when there was none.
HRESULT DeleteKeepTask();
