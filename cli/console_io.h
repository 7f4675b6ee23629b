// Standard output, standard error and the password: a console gets UTF-16 through the
// console calls; a file or pipe gets UTF-8 without a byte-order mark.
#pragma once
#include <windows.h>

#include "change_result.h"
#include "utf8_line.h"

void WriteOut(const wchar_t* text);
void WriteErr(const wchar_t* text); // errors and refusals
// The program's own UTF-8 texts.
void WriteOut(const char* utf8);
void WriteErr(const char* utf8);

// A password of at most kFieldLimit characters. Wiped when it goes out of scope.
struct PasswordBuffer
{
    PasswordBuffer() = default;
    ~PasswordBuffer() { SecureZeroMemory(text, sizeof text); }
    PasswordBuffer(const PasswordBuffer&) = delete;
    PasswordBuffer& operator=(const PasswordBuffer&) = delete;

    wchar_t text[kFieldLimit + 1] = {};
};

// Why the console prompt gave no password, where the line's status does not say it.
enum class PromptStop
{
    None,        // the status says it all
    Cancelled,   // Ctrl+C or Ctrl+Break at the prompt
    EchoStaysOn, // the console would show the typing: no prompt, nothing read
    Unseen,      // nobody can see the console, so nobody can type: no prompt, nothing read
};

struct PasswordProblem
{
    PromptStop stop = PromptStop::None;
    DWORD error = 0; // with Invalid and no stop: the Win32 error of the failed read
};

// Reads the password: typed at the prompt without echo when standard input is a console
// (its mode is put back on every path), otherwise the first line of standard input as UTF-8.
// Every intermediate copy is wiped. On any status but Ok, `problem` says why where the
// status alone does not (Invalid without an error: not UTF-8).
LineStatus ReadPassword(const char* prompt, PasswordBuffer& password, PasswordProblem& problem);

// Reads the password from the first line of the file at `path`: UTF-8 with or without a
// byte-order mark, or UTF-16LE with one. Invalid with `error` when the file cannot be opened or
// read; every copy of its bytes is wiped.
LineStatus ReadPasswordFile(const wchar_t* path, PasswordBuffer& password, DWORD& error);

// Whether standard input is a console, where the password is typed at a prompt.
bool InputIsConsole();

// The console calls of the prompt whose answers Wine's console cannot give as some Windows
// consoles do: a test stands in for one of them. The program always uses the real ones.
struct PromptConsoleCalls
{
    decltype(&GetConsoleMode) getMode;
    decltype(&ReadConsoleW) read; // its last parameter's type differs between SDKs
    decltype(&GetConsoleWindow) window;
    // Asked for the window station's flags: Wine has no pseudo console on a service's one.
    decltype(&GetUserObjectInformationW) objectInformation = GetUserObjectInformationW;
};
// Null puts the real calls back.
void UsePromptConsoleCalls(const PromptConsoleCalls* calls);

// While the machine is being changed, Ctrl+C and Ctrl+Break wait: ending the process half-way
// would leave it half-configured. (A closing console or a shutdown cannot be held off.)
inline BOOL WINAPI HoldBreak(DWORD event)
{
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? TRUE : FALSE;
}

class BreakHeld
{
  public:
    BreakHeld() { SetConsoleCtrlHandler(HoldBreak, TRUE); }
    ~BreakHeld() { SetConsoleCtrlHandler(HoldBreak, FALSE); }
    BreakHeld(const BreakHeld&) = delete;
    BreakHeld& operator=(const BreakHeld&) = delete;
};
