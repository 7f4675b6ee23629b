// The password prompt of tarvelin-cli set on Wine's real console. Each case gets a console of
// its own: a window console, as cmd.exe has, or Wine's console without a window, which a
// Unix terminal gives (made here as a pseudo console). Keys go into its input as a user types
// them; the case reads back what the console shows and its mode. Where Wine's console cannot
// answer as a Windows one does, the case stands in for one console call of the prompt and
// says which. Set runs with --no-verify on the writer tests' scratch machine and secret store.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commands.h"
#include "console_io.h"
#include "writer_fixture.h"

namespace
{
constexpr DWORD kModeBefore = ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT |
                              ENABLE_INSERT_MODE | ENABLE_EXTENDED_FLAGS; // not Wine's default

INPUT_RECORD Key(wchar_t ch, WORD vk, DWORD state = 0, BOOL down = TRUE)
{
    INPUT_RECORD record = {};
    record.EventType = KEY_EVENT;
    record.Event.KeyEvent.bKeyDown = down;
    record.Event.KeyEvent.wRepeatCount = 1;
    record.Event.KeyEvent.wVirtualKeyCode = vk;
    record.Event.KeyEvent.wVirtualScanCode = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    record.Event.KeyEvent.uChar.UnicodeChar = ch;
    record.Event.KeyEvent.dwControlKeyState = state;
    return record;
}

const INPUT_RECORD kCtrlC = Key(3, 'C', LEFT_CTRL_PRESSED);
const INPUT_RECORD kShift = Key(0, VK_SHIFT); // a key that types nothing

void Press(HANDLE input, const INPUT_RECORD& key)
{
    DWORD written = 0;
    EXPECT_TRUE(WriteConsoleInputW(input, &key, 1, &written)) << GetLastError();
}

// Each character pressed and released; '\r' is Enter.
void Type(HANDLE input, const std::wstring& text)
{
    for (wchar_t ch : text)
    {
        const WORD vk = ch == L'\r' ? VK_RETURN : static_cast<WORD>(VkKeyScanW(ch) & 0xFF);
        Press(input, Key(ch, vk));
        Press(input, Key(ch, vk, 0, FALSE));
    }
}

// A console program that stays on a console while it lives and reads nothing from it: the
// system's find.exe, reading a pipe that stays open. A process can attach to a console only
// through a process that is on it, and a console ends with its last process.
class ConsoleClient
{
  public:
    explicit ConsoleClient(void* pseudoConsole = nullptr)
    {
        SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
        HANDLE readEnd = nullptr;
        CreatePipe(&readEnd, &feed_, &inherit, 0);
        SetHandleInformation(feed_, HANDLE_FLAG_INHERIT, 0);
        HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inherit, OPEN_EXISTING, 0, nullptr);
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        std::vector<char> list(size);
        auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(list.data());
        InitializeProcThreadAttributeList(attributes, 1, 0, &size);
        constexpr DWORD_PTR kPseudoConsole = 0x20016; // PROC_THREAD_ATTRIBUTE_PSEUDOCONSOLE
        if (pseudoConsole != nullptr)
            UpdateProcThreadAttribute(attributes, 0, kPseudoConsole, pseudoConsole,
                                      sizeof pseudoConsole, nullptr, nullptr);
        STARTUPINFOEXW startup = {};
        startup.StartupInfo.cb = sizeof startup;
        startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
        startup.StartupInfo.hStdInput = readEnd;
        startup.StartupInfo.hStdOutput = nul;
        startup.StartupInfo.hStdError = nul;
        startup.lpAttributeList = attributes;
        wchar_t system[MAX_PATH] = {};
        GetSystemDirectoryW(system, MAX_PATH);
        std::wstring command = L"\"" + std::wstring(system) + L"\\find.exe\" \"x\"";
        PROCESS_INFORMATION process = {};
        EXPECT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE,
                                   EXTENDED_STARTUPINFO_PRESENT, nullptr, nullptr,
                                   &startup.StartupInfo, &process))
            << GetLastError();
        DeleteProcThreadAttributeList(attributes);
        CloseHandle(readEnd);
        CloseHandle(nul);
        CloseHandle(process.hThread);
        process_ = process.hProcess;
        id_ = process.dwProcessId;
    }
    ~ConsoleClient()
    {
        CloseHandle(feed_); // the end of find's input
        WaitForSingleObject(process_, 10000);
        CloseHandle(process_);
    }
    ConsoleClient(const ConsoleClient&) = delete;
    ConsoleClient& operator=(const ConsoleClient&) = delete;

    DWORD id() const { return id_; }

  private:
    HANDLE feed_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

enum class ConsoleKind
{
    Window,  // AllocConsole: a console window
    Terminal // Wine's console without a window, as in a Unix terminal: a pseudo console
};

// A console of the case's own, attached to this process while it lives. A console the
// process had before (a run from a terminal) is kept alive by a client meanwhile and attached
// again afterwards, so that the test's own output still reaches it.
class TestConsole
{
  public:
    explicit TestConsole(ConsoleKind kind)
    {
        DWORD ids[8] = {};
        if (GetConsoleProcessList(ids, ARRAYSIZE(ids)) > 0)
        {
            keeper_ = std::make_unique<ConsoleClient>();
            WaitUntilOnConsole(keeper_->id());
        }
        for (int i = 0; i < 3; ++i)
        {
            saved_[i] = GetStdHandle(kStd[i]);
            SetStdHandle(kStd[i], nullptr); // FreeConsole closes the console's own ones
        }
        FreeConsole();
        if (kind == ConsoleKind::Window)
            AllocConsole();
        else
            OpenTerminal();
        input_ =
            CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        output_ =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        DWORD mode = 0;
        ready_ = GetConsoleMode(input_, &mode) && SetConsoleMode(input_, kModeBefore);
    }
    ~TestConsole()
    {
        CloseHandle(input_);
        CloseHandle(output_);
        FreeConsole();
        client_.reset();
        if (pseudoConsole_ != nullptr)
        {
            using Close = void(WINAPI*)(void*);
            reinterpret_cast<Close>(reinterpret_cast<void*>(GetProcAddress(
                GetModuleHandleW(L"kernel32.dll"), "ClosePseudoConsole")))(pseudoConsole_);
            drain_.join();
            CloseHandle(keys_);
        }
        if (keeper_)
            AttachConsole(keeper_->id());
        for (int i = 0; i < 3; ++i)
            SetStdHandle(kStd[i], saved_[i]);
    }
    TestConsole(const TestConsole&) = delete;
    TestConsole& operator=(const TestConsole&) = delete;

    // False where Wine made no working console: it needs an X display (make test has Xvfb).
    bool ready() const { return ready_; }
    HANDLE input() const { return input_; }

    DWORD Mode() const
    {
        DWORD mode = 0xdeadbeef;
        GetConsoleMode(input_, &mode);
        return mode;
    }
    DWORD EventsLeft() const
    {
        DWORD events = 0xdeadbeef;
        GetNumberOfConsoleInputEvents(input_, &events);
        return events;
    }
    // The characters of the key presses that nobody has read yet (a console window under the
    // mouse also queues mouse records: they are not counted).
    std::wstring UnreadKeys() const
    {
        std::vector<INPUT_RECORD> records(EventsLeft() + 1);
        DWORD count = 0;
        PeekConsoleInputW(input_, records.data(), static_cast<DWORD>(records.size()), &count);
        std::wstring keys;
        for (DWORD i = 0; i < count; ++i)
        {
            if (records[i].EventType == KEY_EVENT && records[i].Event.KeyEvent.bKeyDown &&
                records[i].Event.KeyEvent.uChar.UnicodeChar != 0)
                keys += records[i].Event.KeyEvent.uChar.UnicodeChar;
        }
        return keys;
    }
    // The rows up to the cursor's, without trailing blanks.
    std::vector<std::wstring> Screen(COORD* cursor = nullptr) const
    {
        CONSOLE_SCREEN_BUFFER_INFO info = {};
        GetConsoleScreenBufferInfo(output_, &info);
        std::vector<std::wstring> rows;
        for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y)
        {
            std::wstring row(info.dwSize.X, L' ');
            DWORD read = 0;
            ReadConsoleOutputCharacterW(output_, &row[0], info.dwSize.X, {0, y}, &read);
            rows.push_back(row.substr(0, row.find_last_not_of(L' ') + 1));
        }
        if (cursor != nullptr)
            *cursor = info.dwCursorPosition;
        return rows;
    }

  private:
    static constexpr DWORD kStd[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};

    static void WaitUntilOnConsole(DWORD id)
    {
        for (int waited = 0; waited < 10000; waited += 50)
        {
            DWORD ids[16] = {};
            const DWORD count = GetConsoleProcessList(ids, ARRAYSIZE(ids));
            for (DWORD i = 0; i < count && i < ARRAYSIZE(ids); ++i)
                if (ids[i] == id)
                    return;
            Sleep(50);
        }
        ADD_FAILURE() << "process " << id << " did not come onto the console";
    }

    // A pseudo console: Wine runs it without a window, as it runs the console of a Unix
    // terminal, and gives both a message-only console window. Its screen goes out through a
    // pipe as terminal sequences, read and dropped here.
    void OpenTerminal()
    {
        using Create = HRESULT(WINAPI*)(COORD, HANDLE, HANDLE, DWORD, void**);
        auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreatePseudoConsole")));
        HANDLE keysIn = nullptr;
        HANDLE screenOut = nullptr;
        HANDLE screenIn = nullptr;
        CreatePipe(&keysIn, &keys_, nullptr, 0);
        CreatePipe(&screenIn, &screenOut, nullptr, 0);
        ASSERT_NE(create, nullptr);
        ASSERT_EQ(create({80, 25}, keysIn, screenOut, 0, &pseudoConsole_), S_OK);
        CloseHandle(keysIn);
        CloseHandle(screenOut);
        drain_ = std::thread([screenIn] {
            char bytes[4096];
            DWORD read = 0;
            while (ReadFile(screenIn, bytes, sizeof bytes, &read, nullptr) && read > 0)
            {
            }
            CloseHandle(screenIn);
        });
        client_ = std::make_unique<ConsoleClient>(pseudoConsole_);
        for (int waited = 0; !AttachConsole(client_->id()) && waited < 10000; waited += 50)
            Sleep(50);
    }

    std::unique_ptr<ConsoleClient> keeper_;
    std::unique_ptr<ConsoleClient> client_;
    HANDLE saved_[3] = {};
    void* pseudoConsole_ = nullptr;
    HANDLE keys_ = nullptr;
    std::thread drain_;
    HANDLE input_ = INVALID_HANDLE_VALUE;
    HANDLE output_ = INVALID_HANDLE_VALUE;
    bool ready_ = false;
};

// Waits until the prompt is up and its read has taken the keys typed so far (a read that is
// under way takes every key at once); a Shift press stands in when nothing is to be typed.
void TypeWhenAsked(const TestConsole& console, const std::wstring& keys)
{
    for (int waited = 0; waited < 10000; waited += 20)
    {
        const std::vector<std::wstring> screen = console.Screen();
        if (!screen.empty() && screen.back() == L"Password:")
            break;
        Sleep(20);
    }
    Type(console.input(), keys);
    Press(console.input(), kShift);
    for (int waited = 0; console.EventsLeft() != 0 && waited < 10000; waited += 20)
        Sleep(20);
}

LONG g_strayBreaks = 0;
// Registered before the prompt's handler, so it sees only what that one lets through, and
// keeps the test process alive where the default handler would end it. It stays registered:
// a break can arrive after the run that caused it.
BOOL WINAPI CountStrayBreak(DWORD)
{
    InterlockedIncrement(&g_strayBreaks);
    return TRUE;
}

struct PromptRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
    std::vector<std::wstring> screen;
    COORD cursor = {-1, -1};
    DWORD mode = 0xdeadbeef;
    std::wstring unreadKeys;
    std::vector<StoredSecret> stored;
    LONG strayBreaks = -1;
};

// tarvelin-cli set --user kiosk --domain PC (with --no-verify: the password typed twice), with
// the console (or `input`) as
// standard input, output and error to files; `typist` runs beside it on a thread of its own.
// A read that does not end by itself within 10 s is ended with an Enter.
PromptRun RunSet(const TestConsole& console, const std::function<void()>& typist = nullptr,
                 HANDLE input = nullptr, bool noVerify = false)
{
    PromptRun run;
    ScratchMachine machine;
    ResetLsaDouble();
    const wchar_t* words[] = {L"set", L"--user", L"kiosk", L"--domain", L"PC", L"--no-verify"};
    Arguments arguments;
    ParseArguments(static_cast<int>(ARRAYSIZE(words)) - (noVerify ? 0 : 1), words, arguments);
    StdFile out(STD_OUTPUT_HANDLE);
    StdFile err(STD_ERROR_HANDLE);
    HANDLE previousInput = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, input != nullptr ? input : console.input());
    static const BOOL counting = SetConsoleCtrlHandler(CountStrayBreak, TRUE);
    EXPECT_TRUE(counting);
    g_strayBreaks = 0;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread helper([&] {
        if (typist)
            typist();
        if (WaitForSingleObject(done, 10000) != WAIT_OBJECT_0)
            Type(console.input(), L"\r");
    });
    run.exitCode = RunChange(arguments, TextsFor(false), true, LogonUserW);
    SetEvent(done);
    helper.join();
    CloseHandle(done);
    SetStdHandle(STD_INPUT_HANDLE, previousInput);
    run.out = out.Text();
    run.err = err.Text();
    run.screen = console.Screen(&run.cursor);
    run.mode = console.Mode();
    run.unreadKeys = console.UnreadKeys();
    run.stored = Lsa().stores;
    run.strayBreaks = g_strayBreaks;
    return run;
}

std::string Shown(const std::vector<std::wstring>& screen)
{
    std::string text;
    for (const std::wstring& row : screen)
        text += "[" + std::string(row.begin(), row.end()) + "]";
    return text;
}

const std::string kStored = "Credential check: Windows accepts this user name and password.\n"
                            "Automatic logon is on for PC\\kiosk.\n"
                            "The password is stored as the LSA secret DefaultPassword, not in "
                            "the registry.\n";
const std::string kPipeInstead = "Use --password-file, or pipe it to standard input (the first "
                                 "line, UTF-8). Nothing was changed.\n";

// Stands in for GetConsoleMode: a console that keeps echoing though asked not to.
BOOL WINAPI ModeWithEchoKept(HANDLE input, LPDWORD mode)
{
    const BOOL got = GetConsoleMode(input, mode);
    *mode |= ENABLE_ECHO_INPUT;
    return got;
}

HANDLE g_readEnded = nullptr; // an event
// Stands in for ReadConsoleW as Windows' console answers a read that Ctrl+C ends: at once,
// with nothing read, while the control handler comes a moment later on a thread of its own
// (raised by the case). Wine's console leaves the read waiting for the line end instead.
// (The type of its last parameter differs between SDKs.)
template <typename Control>
BOOL WINAPI ReadEndedByBreak(HANDLE, LPVOID, DWORD, LPDWORD read, Control)
{
    SetEvent(g_readEnded);
    *read = 0;
    SetLastError(ERROR_OPERATION_ABORTED);
    return TRUE;
}

HWND g_pseudoWindow = nullptr;
// Stands in for GetConsoleWindow as Windows answers it on a pseudo console (Windows Terminal,
// VS Code, SSH): a hidden top-level window of the class PseudoConsoleWindow. Wine's pseudo
// console has a message-only window instead.
HWND WINAPI PseudoConsoleWindow()
{
    return g_pseudoWindow;
}

// Stands in for GetUserObjectInformationW on a service's window station (OpenSSH's): hidden.
BOOL WINAPI ServiceWindowStation(HANDLE, int, PVOID flags, DWORD, LPDWORD)
{
    static_cast<USEROBJECTFLAGS*>(flags)->dwFlags = 0;
    return TRUE;
}
} // namespace

TEST(CliPrompt, TypedPasswordIsReadWithoutEchoAndTheModeIsPutBack)
{
    const std::wstring longest(kFieldLimit, L'p');
    const struct
    {
        const char* name;
        std::wstring keys;
        int exitCode;
        std::wstring stored; // empty: nothing stored
        std::string err;
        std::wstring unread; // the next line stays for the next program that reads the console
        bool twice = false;  // --no-verify: nothing else checks what is typed
    } cases[] = {
        {"a password", L"Pw 7-\u00e4\u20ac\r", 0, L"Pw 7-\u00e4\u20ac", "", L""},
        {"many pieces long, up to the limit", longest + L"\r", 0, longest, "", L""},
        {"an empty line", L"\r", 2, L"",
         "tarvelin-cli: no password given: the first line of standard input is empty. Nothing "
         "was changed.\n",
         L""},
        {"over the limit, then a next line", longest + L"q\rnext\r", 2, L"",
         "tarvelin-cli: the password is longer than 256 characters; it is refused, not cut. "
         "Nothing was changed.\n",
         L"next\r"},
        {"twice, the same", L"Pw-9\rPw-9\r", 0, L"Pw-9", "", L"", true},
        {"twice, differing", L"Pw-9\rPw-6\r", 2, L"",
         "tarvelin-cli: the two passwords typed differ. Nothing was changed.\n", L"", true},
    };
    for (const auto& c : cases)
    {
        TestConsole console(ConsoleKind::Window);
        ASSERT_TRUE(console.ready()) << "no working console: Wine needs an X display for it";
        Type(console.input(), c.keys);
        const PromptRun run = RunSet(console, nullptr, nullptr, c.twice);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
        const std::string skipped = "Credential check skipped (--no-verify): the user name and "
                                    "password were not checked.\n";
        const std::string stored =
            c.twice ? skipped + kStored.substr(kStored.find('\n') + 1) : kStored;
        EXPECT_EQ(run.out, c.exitCode == 0 ? stored : "") << c.name << ": no prompt in it";
        ASSERT_EQ(run.stored.size(), c.stored.empty() ? 0u : 1u) << c.name;
        if (!c.stored.empty())
        {
            EXPECT_EQ(run.stored[0].bytes, Utf16Bytes(c.stored)) << c.name;
        }
        // The prompt and the line end only; every typed key left unshown.
        const std::vector<std::wstring> prompts = {L"Password:", L"Password again:", L""};
        EXPECT_EQ(run.screen, c.twice ? prompts : std::vector<std::wstring>({L"Password:", L""}))
            << c.name << ": " << Shown(run.screen);
        EXPECT_EQ(run.cursor.X, 0) << c.name;
        EXPECT_EQ(run.mode, kModeBefore) << c.name << ": mode 0x" << std::hex << run.mode;
        EXPECT_EQ(run.unreadKeys, c.unread) << c.name;
    }
}

// A Ctrl+C after the prompt, while the machine is being changed, waits: ending the process
// half-way would leave it half-configured. The change ends as it would have.
TEST(CliPrompt, CtrlCWhileTheChangeIsWrittenWaits)
{
    TestConsole console(ConsoleKind::Window);
    ASSERT_TRUE(console.ready()) << "no working console: Wine needs an X display for it";
    const PromptRun run = RunSet(console, [&] {
        Lsa().duringStore = [] {
            EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
            Sleep(500); // the break reaches the handlers on a thread of its own
        };
        Type(console.input(), L"Pw-8\r"); // only now: the store comes after the password
    });
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, kStored);
    ASSERT_EQ(run.stored.size(), 1u);
    EXPECT_EQ(run.strayBreaks, 0) << "the break was let through during the change";
}

// Wine only: its first row needs SetConsoleMode to refuse an input handle opened for reading
// only, as Wine's console does; Microsoft documents GENERIC_READ as enough for that call.
TEST(CliPromptWineOnly, RefusedWhenTheConsoleCannotHideTheTyping)
{
    const PromptConsoleCalls echoKept = {ModeWithEchoKept, ReadConsoleW, GetConsoleWindow};
    const struct
    {
        const char* name;
        bool readOnlyInput;
        const PromptConsoleCalls* calls;
    } cases[] = {
        // Wine refuses SetConsoleMode on an input handle opened for reading only.
        {"SetConsoleMode fails", true, nullptr},
        // Wine reads back the mode it was given.
        {"the mode read back keeps the echo", false, &echoKept},
    };
    for (const auto& c : cases)
    {
        TestConsole console(ConsoleKind::Window);
        ASSERT_TRUE(console.ready()) << "no working console: Wine needs an X display for it";
        HANDLE readOnly = CreateFileW(L"CONIN$", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
        Type(console.input(), L"Pw-7\r");
        UsePromptConsoleCalls(c.calls);
        const PromptRun run = RunSet(console, nullptr, c.readOnlyInput ? readOnly : nullptr);
        UsePromptConsoleCalls(nullptr);
        CloseHandle(readOnly);
        EXPECT_EQ(run.exitCode, 2) << c.name;
        EXPECT_EQ(run.err, "tarvelin-cli: this console cannot hide the typing, so the password "
                           "is not asked for here. " +
                               kPipeInstead)
            << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_TRUE(run.stored.empty()) << c.name;
        EXPECT_EQ(run.screen, std::vector<std::wstring>({L""})) << c.name << Shown(run.screen);
        EXPECT_EQ(run.unreadKeys, L"Pw-7\r") << c.name << ": the typed keys are left unread";
        EXPECT_EQ(run.mode, kModeBefore) << c.name << ": mode 0x" << std::hex << run.mode;
    }
}

// Wine only: its first three rows rely on how Wine's console takes a Ctrl+C written into its
// input: it raises the break, and the read goes on waiting for the line end. Windows ends the
// read at once (the last row stands in for that); whether a written Ctrl+C raises the break
// there at all was never seen.
TEST(CliPromptWineOnly, CtrlCCancelsAndSaysSoOnly)
{
    const PromptConsoleCalls endedByBreak = {GetConsoleMode, ReadEndedByBreak, GetConsoleWindow};
    const struct
    {
        const char* name;
        std::wstring keys; // typed before the break
        std::function<void(HANDLE)> breakIn;
        const PromptConsoleCalls* calls;
    } cases[] = {
        {"Ctrl+C after part of the password", L"Pw-7", [](HANDLE in) { Press(in, kCtrlC); },
         nullptr},
        {"Ctrl+C at the empty prompt", L"", [](HANDLE in) { Press(in, kCtrlC); }, nullptr},
        {"Ctrl+C raised by a program", L"Pw",
         [](HANDLE) { EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)); }, nullptr},
        {"the read ended by Windows before the handler ran", L"",
         [](HANDLE) {
             ASSERT_EQ(WaitForSingleObject(g_readEnded, 10000), WAIT_OBJECT_0);
             Sleep(100);
             EXPECT_TRUE(GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0));
         },
         &endedByBreak},
    };
    g_readEnded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    for (const auto& c : cases)
    {
        TestConsole console(ConsoleKind::Window);
        ASSERT_TRUE(console.ready()) << "no working console: Wine needs an X display for it";
        UsePromptConsoleCalls(c.calls);
        const PromptRun run = RunSet(console, [&] {
            if (c.calls == nullptr)
                TypeWhenAsked(console, c.keys);
            c.breakIn(console.input());
        });
        UsePromptConsoleCalls(nullptr);
        EXPECT_EQ(run.exitCode, 2) << c.name;
        EXPECT_EQ(run.err, "tarvelin-cli: cancelled.\n") << c.name;
        EXPECT_EQ(run.out, "") << c.name;
        EXPECT_TRUE(run.stored.empty()) << c.name;
        EXPECT_EQ(run.strayBreaks, 0) << c.name << ": the prompt let the break through";
        EXPECT_EQ(run.screen, std::vector<std::wstring>({L"Password:", L""}))
            << c.name << ": " << Shown(run.screen);
        EXPECT_EQ(run.cursor.X, 0) << c.name;
        EXPECT_EQ(run.mode, kModeBefore) << c.name << ": mode 0x" << std::hex << run.mode;
    }
    CloseHandle(g_readEnded);
}

// Wine only: its terminal row asserts the message-only window of Wine's pseudo console; a
// Windows pseudo console has a hidden top-level window instead (the PseudoWindow row).
TEST(CliPromptWineOnly, RefusedAtOnceWhereNobodySeesTheConsole)
{
    WNDCLASSW pseudoClass = {};
    pseudoClass.lpfnWndProc = DefWindowProcW;
    pseudoClass.hInstance = GetModuleHandleW(nullptr);
    pseudoClass.lpszClassName = L"PseudoConsoleWindow";
    RegisterClassW(&pseudoClass);
    g_pseudoWindow = CreateWindowExW(0, L"PseudoConsoleWindow", L"", WS_OVERLAPPEDWINDOW, 0, 0, 0,
                                     0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(g_pseudoWindow, nullptr) << GetLastError();
    const PromptConsoleCalls pseudo = {GetConsoleMode, ReadConsoleW, PseudoConsoleWindow,
                                       ServiceWindowStation};

    enum Setting
    {
        Visible,
        HiddenWindow,
        OtherWindowStation,
        PseudoWindow,
        Terminal
    };
    const struct
    {
        const char* name;
        Setting setting;
        bool refused;
    } cases[] = {
        {"a window station that is not interactive", OtherWindowStation, true},
        {"a hidden console window", HiddenWindow, true},
        {"a visible console window", Visible, false},
        {"ConPTY's pseudo console on a service's window station (OpenSSH)", PseudoWindow, false},
        // Wine's console in a Unix terminal has a message-only window.
        {"Wine's console of a terminal", Terminal, false},
    };
    for (const auto& c : cases)
    {
        TestConsole console(c.setting == Terminal ? ConsoleKind::Terminal : ConsoleKind::Window);
        ASSERT_TRUE(console.ready()) << "no working console: Wine needs an X display for it";
        HWINSTA interactive = GetProcessWindowStation();
        HWINSTA other = nullptr;
        if (c.setting == OtherWindowStation)
        {
            other = CreateWindowStationW(L"TarvelinPromptTest", 0, WINSTA_ALL_ACCESS, nullptr);
            ASSERT_TRUE(other != nullptr && SetProcessWindowStation(other)) << GetLastError();
        }
        if (c.setting == HiddenWindow)
        {
            ShowWindow(GetConsoleWindow(), SW_HIDE);
            ASSERT_FALSE(IsWindowVisible(GetConsoleWindow()));
        }
        if (c.setting == Terminal) // never visible, and no top-level window
        {
            ASSERT_NE(GetConsoleWindow(), nullptr);
            EXPECT_FALSE(IsWindowVisible(GetConsoleWindow()));
            EXPECT_NE(GetAncestor(GetConsoleWindow(), GA_PARENT), GetDesktopWindow());
        }
        UsePromptConsoleCalls(c.setting == PseudoWindow ? &pseudo : nullptr);
        Type(console.input(), L"Pw-7\r");
        const PromptRun run = RunSet(console);
        UsePromptConsoleCalls(nullptr);
        if (other != nullptr)
        {
            SetProcessWindowStation(interactive);
            CloseWindowStation(other);
        }
        EXPECT_EQ(run.exitCode, c.refused ? 2 : 0) << c.name << ": " << run.err;
        EXPECT_EQ(run.err, c.refused ? "tarvelin-cli: nobody can see this console (its window "
                                       "station is not interactive, or its window is hidden), "
                                       "so nobody could type the password at a prompt. " +
                                           kPipeInstead
                                     : "")
            << c.name;
        EXPECT_EQ(run.stored.size(), c.refused ? 0u : 1u) << c.name;
        // Refused before the prompt: the typed keys are left unread.
        EXPECT_EQ(run.unreadKeys, c.refused ? L"Pw-7\r" : L"") << c.name;
        EXPECT_EQ(run.mode, kModeBefore) << c.name << ": mode 0x" << std::hex << run.mode;
    }
    DestroyWindow(g_pseudoWindow);
    UnregisterClassW(L"PseudoConsoleWindow", GetModuleHandleW(nullptr));
}
