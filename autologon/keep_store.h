// What keeping automatic logon leaves on the machine besides the task: the record of the kept
// account, and the copy of the program that the task runs, in a folder only administrators
// may change. A program that SYSTEM starts must not be one that a user can replace.
#pragma once
#include <windows.h>

#include "change_result.h"

// HKLM\SOFTWARE\Vestrakona\Tarvelin\Keep: the kept user and domain (never the password).
extern const wchar_t kKeepKey[];

struct KeptAccount
{
    wchar_t user[kFieldLimit + 1] = {};
    wchar_t domain[kFieldLimit + 1] = {};
};

// ERROR_SUCCESS with the record; ERROR_FILE_NOT_FOUND when nothing is kept; else the error.
LONG ReadKeepRecord(KeptAccount& kept);
LONG WriteKeepRecord(const KeptAccount& kept);
// ERROR_SUCCESS also when there was none.
LONG DeleteKeepRecord();

// %ProgramFiles%\Vestrakona\Tarvelin and the copy in it, tarvelin-cli.exe; false when the
// folder's name cannot be made.
struct KeepPaths
{
    wchar_t folder[MAX_PATH] = {};
    wchar_t copy[MAX_PATH] = {};
    wchar_t self[MAX_PATH] = {}; // the program that runs
};
bool FindKeepPaths(KeepPaths& paths);

enum class CopyFound
{
    Absent,
    Same,       // byte for byte the running program
    Different,  // another file, or another version: copying replaces it
    Unreadable, // `error`
};
CopyFound CompareFiles(const wchar_t* self, const wchar_t* copy, DWORD& error);

// Creates the folder (and those above it) where missing, copies the program there and compares
// the copy byte for byte. ERROR_SUCCESS or the error.
DWORD CopyProgram(const KeepPaths& paths);
// Deletes the copy, and the folders once empty. ERROR_SUCCESS also when there was none.
DWORD DeleteCopy(const KeepPaths& paths);
