#include "console_io.h"

#include "bounded_text.h"
#include "text_buffer.h"
#include "unicode.h"
#include "unique_handle.h"

namespace
{
bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

void Write(DWORD which, const wchar_t* text)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    const auto length = static_cast<DWORD>(TextLength(text));
    DWORD done = 0;
    if (IsConsole(handle))
    {
        WriteConsoleW(handle, text, length, &done, nullptr);
        return;
    }
    // In pieces small enough for a stack buffer, never splitting a surrogate pair.
    constexpr DWORD kPiece = 512;
    char bytes[kPiece * 3];
    for (DWORD start = 0; start < length;)
    {
        DWORD count = length - start < kPiece ? length - start : kPiece;
        if (start + count < length && IsHighSurrogate(text[start + count - 1]))
            --count;
        const int size = WideCharToMultiByte(CP_UTF8, 0, text + start, static_cast<int>(count),
                                             bytes, sizeof bytes, nullptr, nullptr);
        if (size <= 0 || !WriteFile(handle, bytes, static_cast<DWORD>(size), &done, nullptr))
            return;
        start += count;
    }
}

// UTF-8 goes to a file or pipe as it is; a console gets it as UTF-16, in pieces that end
// where a character ends.
void Write(DWORD which, const char* utf8)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return;
    const auto length = static_cast<DWORD>(TextLength(utf8));
    DWORD done = 0;
    if (!IsConsole(handle))
    {
        WriteFile(handle, utf8, length, &done, nullptr);
        return;
    }
    constexpr DWORD kPiece = 512;
    wchar_t units[kPiece];
    for (DWORD start = 0; start < length;)
    {
        DWORD count = length - start < kPiece ? length - start : kPiece;
        while (start + count < length &&
               IsUtf8Continuation(static_cast<unsigned char>(utf8[start + count])))
            --count;
        const int size = MultiByteToWideChar(CP_UTF8, 0, utf8 + start, static_cast<int>(count),
                                             units, static_cast<int>(kPiece));
        if (size <= 0 || !WriteConsoleW(handle, units, static_cast<DWORD>(size), &done, nullptr))
            return;
        start += count;
    }
}

const PromptConsoleCalls kRealConsoleCalls = {GetConsoleMode, ReadConsoleW, GetConsoleWindow};
const PromptConsoleCalls* g_consoleCalls = &kRealConsoleCalls;

// What the control handler works with while the prompt is up.
HANDLE g_promptInput = nullptr;
DWORD g_promptMode = 0;
HANDLE g_promptCancelled = nullptr; // an event, set by Ctrl+C and Ctrl+Break

// Runs on a thread of its own. Windows' console ends the pending read on Ctrl+C by itself,
// often before this runs; Wine's keeps it waiting for the line end, so the read is cancelled
// here as well (where it has already ended, there is nothing to cancel).
BOOL WINAPI CancelPromptOnBreak(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)
    {
        SetEvent(g_promptCancelled);
        CancelIoEx(g_promptInput, nullptr);
        return TRUE;
    }
    // The console closes or the session ends: the process ends, the echo comes back.
    SetConsoleMode(g_promptInput, g_promptMode);
    return FALSE;
}

bool Signalled(HANDLE event, DWORD waitMs = 0)
{
    return WaitForSingleObject(event, waitMs) == WAIT_OBJECT_0;
}

// Nobody can see the console: the process's window station is not the interactive one (a
// service, a task that runs whether the user is logged on or not), or the console's window
// is hidden. A pseudo console (ConPTY: Windows Terminal, VS Code, an OpenSSH session) is shown
// by the program that made it, so it counts as seen before the window station is asked: an
// OpenSSH session runs on its service's window station. Its only sign is the stand-in window
// that conhost gives it, of the class PseudoConsoleWindow. A message-only window, as Wine's
// console in a Unix terminal has, and no window at all say nothing.
bool NobodySeesTheConsole(const PromptConsoleCalls& calls)
{
    HWND window = calls.window();
    wchar_t name[32] = {};
    if (window != nullptr && GetClassNameW(window, name, ARRAYSIZE(name)) != 0 &&
        CompareStringOrdinal(name, -1, L"PseudoConsoleWindow", -1, FALSE) == CSTR_EQUAL)
        return false;
    USEROBJECTFLAGS flags = {};
    DWORD size = 0;
    if (calls.objectInformation(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags,
                                &size) &&
        (flags.dwFlags & WSF_VISIBLE) == 0)
        return true;
    return window != nullptr && !IsWindowVisible(window) &&
           GetAncestor(window, GA_PARENT) == GetDesktopWindow();
}

// Reads whole lines in pieces; past the limit the rest of the line is read and dropped, so
// that it does not reach the next program that reads the console. Stops early on Ctrl+C.
LineStatus ReadTypedLine(HANDLE input, HANDLE cancelled, const PromptConsoleCalls& calls,
                         PasswordBuffer& password, DWORD& error)
{
    // Windows' console ends the read on Ctrl+C before the handler runs on its own thread, so a
    // read that ends with nothing waits this long for the handler's word, as Python's console
    // reader does. Only a failed read pays for it.
    constexpr DWORD kHandlerWaitMs = 1000;
    LineStatus status = LineStatus::Ok;
    DWORD length = 0;
    wchar_t piece[64];
    bool lineEnd = false;
    while (!lineEnd && !Signalled(cancelled))
    {
        DWORD read = 0;
        SetLastError(ERROR_SUCCESS);
        if (!calls.read(input, piece, ARRAYSIZE(piece), &read, nullptr) || read == 0)
        {
            error = GetLastError();
            if (error == ERROR_SUCCESS) // nothing read, and no reason given
                error = ERROR_READ_FAULT;
            if (!Signalled(cancelled, kHandlerWaitMs))
                status = LineStatus::Invalid;
            break;
        }
        for (DWORD i = 0; i < read && !lineEnd; ++i)
        {
            if (piece[i] == L'\r' || piece[i] == L'\n')
                lineEnd = true;
            else if (length < kFieldLimit)
                password.text[length++] = piece[i];
            else
                status = LineStatus::TooLong;
        }
        // A line end that came without its LF leaves the LF for the next read: take it.
        if (lineEnd && piece[read - 1] == L'\r')
            calls.read(input, piece, 1, &read, nullptr);
    }
    SecureZeroMemory(piece, sizeof piece);
    if (status == LineStatus::Ok && length == 0)
        status = LineStatus::Empty;
    return status;
}

// Switches the echo off and reads the mode back: a console that keeps echoing would show the
// password.
bool EchoSwitchedOff(HANDLE input, DWORD mode, const PromptConsoleCalls& calls)
{
    DWORD quiet = 0;
    return SetConsoleMode(input, (mode | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) &
                                     ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) &&
           calls.getMode(input, &quiet) && (quiet & ENABLE_ECHO_INPUT) == 0;
}

// The prompt goes to the console itself, so that redirected output stays clean.
void WriteToConsole(const wchar_t* text, std::size_t length)
{
    UniqueKernelHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    DWORD done = 0;
    if (console.Get() != INVALID_HANDLE_VALUE)
        WriteConsoleW(console.Get(), text, static_cast<DWORD>(length), &done, nullptr);
    else
        console.Release();
}

LineStatus ReadConsolePassword(HANDLE input, const char* prompt, PasswordBuffer& password,
                               PasswordProblem& problem)
{
    const PromptConsoleCalls& calls = *g_consoleCalls;
    if (NobodySeesTheConsole(calls))
    {
        problem.stop = PromptStop::Unseen;
        return LineStatus::Empty;
    }
    UniqueKernelHandle cancelled(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!cancelled)
    {
        problem.error = GetLastError();
        return LineStatus::Invalid;
    }
    // Without the mode there is nothing to put back, so the echo is not touched either.
    DWORD mode = 0;
    if (!calls.getMode(input, &mode))
    {
        problem.stop = PromptStop::EchoStaysOn;
        return LineStatus::Empty;
    }
    g_promptInput = input;
    g_promptMode = mode;
    g_promptCancelled = cancelled.Get();
    SetConsoleCtrlHandler(CancelPromptOnBreak, TRUE);

    LineStatus status = LineStatus::Empty;
    if (!EchoSwitchedOff(input, mode, calls))
        problem.stop = PromptStop::EchoStaysOn;
    else
    {
        wchar_t promptText[64];
        TextBuffer promptLine(promptText, ARRAYSIZE(promptText));
        promptLine.Add(prompt);
        WriteToConsole(promptLine.Text(), promptLine.Length());
        status = ReadTypedLine(input, cancelled.Get(), calls, password, problem.error);
        WriteToConsole(L"\r\n", 2); // the Enter that was not echoed, or the Ctrl+C
    }

    SetConsoleMode(input, mode);
    SetConsoleCtrlHandler(CancelPromptOnBreak, FALSE);
    g_promptCancelled = nullptr;
    // A Ctrl+C that came while the line was being taken cancels it all the same.
    if (Signalled(cancelled.Get()))
    {
        problem.stop = PromptStop::Cancelled;
        status = LineStatus::Empty;
    }
    if (status != LineStatus::Invalid)
        problem.error = 0;
    if (status != LineStatus::Ok)
        SecureZeroMemory(password.text, sizeof password.text);
    return status;
}

// The first line of a file or pipe. A line longer than any password is refused unread
// beyond this buffer: UTF-8 needs at most three bytes per UTF-16 unit, plus a byte-order
// mark and CR LF (UTF-16 needs less). Only a password file is read as UTF-16 too: standard
// input that is UTF-16 is told apart, so that the refusal can name the way that reads it.
LineStatus ReadPipedPassword(HANDLE input, PasswordBuffer& password, DWORD& error, bool utf16)
{
    constexpr DWORD kBytes = kFieldLimit * 3 + 3 + 2;
    unsigned char bytes[kBytes + 1];
    DWORD count = 0;
    bool lineEnd = false;
    while (!lineEnd && count < sizeof bytes)
    {
        DWORD read = 0;
        if (!ReadFile(input, bytes + count, sizeof bytes - count, &read, nullptr))
        {
            error = GetLastError();
            // A pipe whose writer has closed it is the end of the input, not a failure.
            if (error != ERROR_BROKEN_PIPE)
            {
                SecureZeroMemory(bytes, sizeof bytes);
                return LineStatus::Invalid;
            }
            error = 0;
            break;
        }
        if (read == 0)
            break;
        for (DWORD i = count; i < count + read; ++i)
            lineEnd = lineEnd || bytes[i] == '\n';
        count += read;
    }
    LineStatus status = LineStatus::TooLong;
    if (lineEnd || count < sizeof bytes)
        status = DecodePasswordLine(bytes, count, password.text, kFieldLimit, utf16);
    SecureZeroMemory(bytes, sizeof bytes);
    return status;
}
} // namespace

void WriteOut(const wchar_t* text)
{
    Write(STD_OUTPUT_HANDLE, text);
}

void WriteErr(const wchar_t* text)
{
    Write(STD_ERROR_HANDLE, text);
}

void WriteOut(const char* utf8)
{
    Write(STD_OUTPUT_HANDLE, utf8);
}

void WriteErr(const char* utf8)
{
    Write(STD_ERROR_HANDLE, utf8);
}

LineStatus ReadPassword(const char* prompt, PasswordBuffer& password, PasswordProblem& problem)
{
    problem = PasswordProblem();
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return LineStatus::Empty;
    if (IsConsole(input))
        return ReadConsolePassword(input, prompt, password, problem);
    return ReadPipedPassword(input, password, problem.error, false);
}

LineStatus ReadPasswordFile(const wchar_t* path, PasswordBuffer& password, DWORD& error)
{
    error = 0;
    UniqueKernelHandle file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                        nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE)
    {
        error = GetLastError();
        file.Release(); // nothing was opened
        return LineStatus::Invalid;
    }
    return ReadPipedPassword(file.Get(), password, error, true);
}

bool InputIsConsole()
{
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    return input != nullptr && input != INVALID_HANDLE_VALUE && IsConsole(input);
}

void UsePromptConsoleCalls(const PromptConsoleCalls* calls)
{
    g_consoleCalls = calls != nullptr ? calls : &kRealConsoleCalls;
}
