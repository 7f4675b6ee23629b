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

// The console mode that the Ctrl+C handler puts back; the console read is under way while
// it is set.
HANDLE g_consoleInput = nullptr;
DWORD g_consoleMode = 0;

BOOL WINAPI RestoreEchoOnBreak(DWORD /*event*/)
{
    SetConsoleMode(g_consoleInput, g_consoleMode);
    return FALSE; // and let the default handler end the process
}

LineStatus ReadConsolePassword(HANDLE input, const char* prompt, PasswordBuffer& password,
                               DWORD& error)
{
    // The prompt goes to the console itself, so that redirected output stays clean.
    UniqueKernelHandle console(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr));
    if (console.Get() == INVALID_HANDLE_VALUE)
        console.Release();
    DWORD done = 0;
    wchar_t promptText[64];
    TextBuffer promptLine(promptText, ARRAYSIZE(promptText));
    promptLine.Add(prompt);
    if (console)
        WriteConsoleW(console.Get(), promptLine.Text(), static_cast<DWORD>(promptLine.Length()),
                      &done, nullptr);

    DWORD mode = 0;
    GetConsoleMode(input, &mode);
    g_consoleInput = input;
    g_consoleMode = mode;
    SetConsoleCtrlHandler(RestoreEchoOnBreak, TRUE);
    SetConsoleMode(input, (mode | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) &
                              ~static_cast<DWORD>(ENABLE_ECHO_INPUT));

    // Reads whole lines in pieces; past the limit the rest of the line is read and dropped,
    // so that it does not reach the next program that reads the console.
    LineStatus status = LineStatus::Ok;
    DWORD length = 0;
    wchar_t piece[64];
    bool lineEnd = false;
    while (!lineEnd)
    {
        DWORD read = 0;
        if (!ReadConsoleW(input, piece, ARRAYSIZE(piece), &read, nullptr) || read == 0)
        {
            error = GetLastError();
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
            ReadConsoleW(input, piece, 1, &read, nullptr);
    }
    SecureZeroMemory(piece, sizeof piece);

    SetConsoleMode(input, mode);
    SetConsoleCtrlHandler(RestoreEchoOnBreak, FALSE);
    if (console)
        WriteConsoleW(console.Get(), L"\r\n", 2, &done, nullptr); // the Enter that was not echoed
    if (status == LineStatus::Ok && length == 0)
        status = LineStatus::Empty;
    if (status != LineStatus::Ok)
        SecureZeroMemory(password.text, sizeof password.text);
    return status;
}

// The first line of a file or pipe. A line longer than any password is refused unread
// beyond this buffer: UTF-8 needs at most three bytes per UTF-16 unit, plus a byte-order
// mark and CR LF.
LineStatus ReadPipedPassword(HANDLE input, PasswordBuffer& password, DWORD& error)
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
        status = DecodeFirstLine(bytes, count, password.text, kFieldLimit);
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

LineStatus ReadPassword(const char* prompt, PasswordBuffer& password, DWORD& error)
{
    error = 0;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return LineStatus::Empty;
    if (IsConsole(input))
        return ReadConsolePassword(input, prompt, password, error);
    return ReadPipedPassword(input, password, error);
}
