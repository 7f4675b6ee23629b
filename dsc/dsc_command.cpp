// tarvelin-cli dsc get|set|test|export: the operations of the DSC v3 resource. They run the
// same steps as status, set and remove, through the same code; only the input (one JSON
// instance on standard input) and the output (the state as JSON, errors as dsc's trace lines)
// are their own. Rights come first and the input after, as with set: a job without rights does
// not consume its input.
#include <windows.h>

#include "account_check.h"
#include "account_name.h"
#include "change_apply.h"
#include "change_report.h"
#include "change_state.h"
#include "commands.h"
#include "console_io.h"
#include "dsc_instance.h"
#include "dsc_lines.h"
#include "dsc_state.h"
#include "dsc_texts.h"
#include "exit_codes.h"
#include "fix_report.h"
#include "folder_rights.h"
#include "keep_command.h"
#include "keep_texts.h"
#include "status_reader.h"
#include "status_report.h"
#include "unique_handle.h"

namespace
{
// Standard error as dsc reads it: one trace line a line of text, at the levels
// DSC_TRACE_LEVEL asks for (errors always).
class DscLog
{
  public:
    DscLog()
    {
        wchar_t value[16] = {};
        const DWORD length = GetEnvironmentVariableW(L"DSC_TRACE_LEVEL", value, ARRAYSIZE(value));
        wanted_ = DscTraceLevel(length > 0 && length < ARRAYSIZE(value) ? value : nullptr);
    }

    void Lines(DscLevel level, const wchar_t* text) const
    {
        while (DscWrites(level, wanted_) && *text != L'\0')
        {
            std::size_t length = 0;
            while (text[length] != L'\0' && text[length] != L'\n')
                ++length;
            wchar_t storage[kDscLineCapacity];
            TextBuffer message(storage, kDscLineCapacity / 2);
            message.Add(text, length);
            TextBuffer line(storage + kDscLineCapacity / 2, kDscLineCapacity / 2);
            ComposeDscLine(level, message.Text(), line);
            WriteErr(line.Text());
            text += text[length] == L'\n' ? length + 1 : length;
        }
    }

    void Line(DscLevel level, const char* utf8) const
    {
        wchar_t storage[kDscLineCapacity / 2];
        TextBuffer text(storage, ARRAYSIZE(storage));
        Lines(level, text.Add(utf8).Text());
    }

  private:
    DscLevel wanted_ = DscLevel::Warn;
};

// The instance as dsc writes it to standard input, wiped when done: it may hold the password.
// Kept out of the heap, and out of the file (it is zeros until read).
unsigned char g_instance[kDscInputLimit + 1];

// Past kDscInputLimit, bytes are only counted, through a scratch buffer wiped after each read,
// so that dsc's write does not fail before the resource has said why it refuses; at this many
// the reading stops (and a larger write may then fail).
constexpr std::size_t kDscInputCap = 1 << 20; // 1 MiB

// get and export take no input when none comes for this long: dsc before 3.2.2 lets them
// inherit its own standard input when it has no instance for them, which may be a pipe that
// never ends (command_resource.rs, run_process_async). When dsc has one, it writes it at once.
constexpr DWORD kDscQuietMilliseconds = 500;

// Standard input as ReadInput fills g_instance; `lock` guards all but `handle` and `arrived`.
struct InputState
{
    HANDLE handle;
    HANDLE arrived; // set after each read, when the reader waits for it
    SRWLOCK lock;
    std::size_t size;
    DWORD error; // of the read that ended it; ERROR_SUCCESS at the end of the input
    bool ended;
    bool abandoned; // no longer waited for: what comes later is dropped
};
InputState g_input;

DWORD WINAPI ReadInput(void*)
{
    unsigned char chunk[4096];
    for (bool more = true; more;)
    {
        DWORD read = 0;
        const BOOL ok = ReadFile(g_input.handle, chunk, sizeof chunk, &read, nullptr);
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        AcquireSRWLockExclusive(&g_input.lock);
        if (!g_input.abandoned)
        {
            if (g_input.size < sizeof g_instance)
            {
                const std::size_t room = sizeof g_instance - g_input.size;
                CopyMemory(g_instance + g_input.size, chunk, read < room ? read : room);
            }
            g_input.size += read;
            g_input.error = error == ERROR_BROKEN_PIPE ? ERROR_SUCCESS : error;
            g_input.ended = !ok || read == 0 || g_input.size > kDscInputCap;
        }
        more = !g_input.ended && !g_input.abandoned;
        ReleaseSRWLockExclusive(&g_input.lock);
        SecureZeroMemory(chunk, sizeof chunk);
        if (g_input.arrived != nullptr)
            SetEvent(g_input.arrived);
    }
    return 0;
}

// Reads the instance into g_instance and says how many bytes came: more than kDscInputLimit
// means too large. A console is no input: dsc never hands one. With `toEnd` (set and test,
// which dsc always gives an instance) up to the end of the input or kDscInputCap; otherwise
// only what comes without a pause of kDscQuietMilliseconds. False, with the Win32 error, when
// a read fails.
bool ReadInstance(bool toEnd, std::size_t& size, DWORD& error)
{
    size = 0;
    g_input.handle = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (g_input.handle == nullptr || g_input.handle == INVALID_HANDLE_VALUE ||
        GetConsoleMode(g_input.handle, &mode))
        return true;
    if (toEnd)
        ReadInput(nullptr);
    else
    {
        // A thread of its own, since a pipe's read cannot wait with a timeout (and Wine's
        // PeekNamedPipe does not answer for the pipes of its Unix processes). The event lives
        // as long as the process: the reader may still set it after the wait has ended.
        g_input.arrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        const UniqueKernelHandle reader(
            g_input.arrived == nullptr ? nullptr
                                       : CreateThread(nullptr, 0x10000, ReadInput, nullptr,
                                                      STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
        if (!reader)
        {
            error = GetLastError();
            return false;
        }
        for (bool waiting = true; waiting;)
        {
            const DWORD waited = WaitForSingleObject(g_input.arrived, kDscQuietMilliseconds);
            AcquireSRWLockExclusive(&g_input.lock);
            waiting = !g_input.ended && waited == WAIT_OBJECT_0;
            g_input.abandoned = waiting ? false : !g_input.ended;
            ReleaseSRWLockExclusive(&g_input.lock);
        }
    }
    AcquireSRWLockExclusive(&g_input.lock);
    size = g_input.size;
    error = g_input.error;
    ReleaseSRWLockExclusive(&g_input.lock);
    return error == ERROR_SUCCESS;
}

DscOperation OperationOf(const Arguments& arguments)
{
    switch (arguments.dscMethod)
    {
    case DscMethod::Set:
        return arguments.check ? DscOperation::WhatIf : DscOperation::Set;
    case DscMethod::Test:
        return DscOperation::Test;
    case DscMethod::Export:
        return DscOperation::Export;
    case DscMethod::Get:
    case DscMethod::None:
        break;
    }
    return DscOperation::Get;
}

// Whether fix finds something to repair of the causes `named`.
bool FixNeeded(unsigned int named)
{
    StatusSnapshot snapshot;
    FixFacts facts;
    if (named == 0 || !ReadFixFacts(snapshot, facts))
        return false; // an unreadable value fails the state that follows
    const FixPlan plan = PlanFix(facts, named);
    return plan.count > 0 || plan.undecided;
}

// Repairs the causes `named` as fix does (or, with `dryRun`, opens what that would write),
// and says so on standard error; `repaired` the causes it repairs. False when it failed.
bool Fix(unsigned int named, bool dryRun, const CliTexts& texts, const DscLog& log,
         unsigned int& repaired)
{
    StatusSnapshot snapshot;
    FixFacts facts;
    wchar_t storage[kFixReportCapacity];
    TextBuffer words(storage, ARRAYSIZE(storage));
    if (!ReadFixFacts(snapshot, facts))
    {
        ComposeStatusText(snapshot, JudgeStatus(snapshot), texts, words);
        log.Lines(DscLevel::Error, words.Text());
        return false;
    }
    const FixPlan plan = PlanFix(facts, named);
    FixResult result;
    FixReport report;
    report.check = dryRun;
    report.plan = &plan;
    report.user = snapshot.user;
    if (!plan.undecided && plan.count > 0)
    {
        const BreakHeld held;
        result = ApplyFix(plan, snapshot.user, dryRun);
        report.result = &result;
    }
    const bool done = ComposeFixText(report, texts, words);
    log.Lines(done ? DscLevel::Info : DscLevel::Error, words.Text());
    repaired = done ? plan.repaired : 0;
    return done;
}

// The state as status reads it (after `after`'s plan, where one is given), shaped for dsc's
// comparison with `answer`, on standard output; false when a value could not be read, which is
// said on standard error.
bool PrintState(const CliTexts& texts, const DscLog& log, const DscAnswer& answer,
                const ChangeRun* after = nullptr)
{
    StatusSnapshot snapshot;
    ReadStatusSnapshot(snapshot);
    if (after != nullptr && snapshot.unreadableValue == nullptr)
    {
        SnapshotAfterPlan(after->before, after->plan, snapshot);
        snapshot.domainIsThisComputer = IsThisComputer(snapshot.domain);
    }
    const StatusVerdict verdict = JudgeStatus(snapshot);
    ShapeAsDesired(answer, SameAccountName, snapshot);
    wchar_t storage[kStatusReportCapacity];
    TextBuffer out(storage, ARRAYSIZE(storage));
    if (ComposeDscState(snapshot, verdict, answer, out))
    {
        WriteOut(out.Text());
        return true;
    }
    TextBuffer words(storage, ARRAYSIZE(storage));
    ComposeStatusText(snapshot, verdict, texts, words);
    log.Lines(DscLevel::Error, words.Text());
    return false;
}

// The account of an instance with _exist true, as set --user and --domain take it.
// kExitDone; or, when it is refused, the exit code with the reason in `why`.
int ResolveAccount(const DscInstance& instance, const CliTexts& texts,
                   wchar_t (&user)[kFieldLimit + 1], wchar_t (&domain)[kFieldLimit + 1],
                   TextBuffer& why)
{
    wchar_t named[kFieldLimit + 1] = {};
    bool split = false;
    const ArgumentError error = SplitUser(instance.user, user, named, split);
    const char* refusal = error == ArgumentError::EmptyUser            ? texts.emptyUser
                          : error != ArgumentError::None               ? texts.badUser
                          : split && instance.Has(DscProperty::Domain) ? texts.domainTwice
                                                                       : nullptr;
    if (refusal != nullptr)
    {
        why.Add(refusal);
        return kExitBadCommandLine;
    }
    const wchar_t* given = split                               ? named
                           : instance.Has(DscProperty::Domain) ? instance.domain
                                                               : nullptr;
    return SetDomain(user, given, domain, texts, why) == ERROR_SUCCESS ? kExitDone
                                                                       : kExitChangeFailed;
}

// test: whether set would change nothing, compared as set compares; the password in memory
// only, and never LogonUserW, which a stale password would lock out when tested again and
// again.
int Test(const SetWanted* wanted, DscAnswer answer, const CliTexts& texts, const DscLog& log)
{
    ChangeRun run;
    RunChangePlan(wanted, RunKind::Compare, run);
    const bool inDesiredState =
        !run.plan.Changes() &&
        !FixNeeded(answer.instance != nullptr ? answer.instance->fixCauses : 0);
    answer.inDesiredState = &inDesiredState;
    return PrintState(texts, log, answer) ? kExitDone : kExitChangeFailed;
}

// set, and with `dryRun` its what-if: where something would change, the credential check
// first (unless the instance turns it off), then exactly what set or remove would change.
// Nothing to change needs no check: dsc resource set runs set without test first, and a
// logon refused there must not fail a machine that is as wanted.
int Set(const DscInstance& instance, const DscAnswer& answer, const SetWanted* wanted, bool dryRun,
        const CliTexts& texts, const DscLog& log, LogonFunction logon)
{
    if (wanted != nullptr && wanted->logonCount != 0 && IsKept())
    {
        log.Line(DscLevel::Error, KeepTextsFor(texts.german).countWhileKept);
        return kExitBadCommandLine;
    }
    ChangeRun preview;
    if (wanted != nullptr)
        RunChangePlan(wanted, RunKind::Compare, preview);
    if (wanted != nullptr && preview.plan.Changes() && !instance.checkCredentials)
        log.Line(DscLevel::Info, texts.credentialsNotChecked);
    else if (wanted != nullptr && preview.plan.Changes())
    {
        const DWORD error = CheckCredentials(wanted->domain, wanted->user, wanted->password, logon);
        if (error != ERROR_SUCCESS)
        {
            wchar_t storage[512];
            TextBuffer line(storage, ARRAYSIZE(storage));
            ComposeCredentialRefusal(error, texts, line);
            log.Lines(DscLevel::Error, line.Text());
            return kExitCredentials;
        }
        log.Line(DscLevel::Info, texts.credentialsAccepted);
    }

    ChangeRun run;
    wchar_t storage[kChangeReportCapacity];
    TextBuffer words(storage, ARRAYSIZE(storage));
    const bool done = ChangeAndSay(wanted, dryRun, texts, run, words, EventKind::DscSet);
    log.Lines(done ? DscLevel::Info : DscLevel::Error, words.Text());
    if (!done)
        return kExitChangeFailed;
    // The causes the instance names are repaired in the same run, as fix repairs them.
    DscAnswer state = answer;
    if (instance.fixCauses != 0 && !Fix(instance.fixCauses, dryRun, texts, log, state.repaired))
        return kExitChangeFailed;
    return PrintState(texts, log, state, dryRun ? &run : nullptr) ? kExitDone : kExitChangeFailed;
}

// An elevated engine runs the first tarvelin-cli.exe it finds and hands it the password, so
// where a standard user may change this program or its folder, one could have put another in
// its place: the program cannot catch that itself, only say where it stands.
void WarnWhereOthersWrite(const DscTexts& texts, const DscLog& log)
{
    wchar_t path[1024];
    const DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    if (length == 0 || length >= ARRAYSIZE(path))
        return;
    for (int pass = 0; pass < 2; ++pass)
    {
        bool writable = false;
        const DWORD error = OthersMayWrite(path, writable);
        wchar_t storage[kDscLineCapacity / 2];
        TextBuffer line(storage, ARRAYSIZE(storage));
        if (error != ERROR_SUCCESS)
            line.Add(texts.rightsUnreadable)
                .Add(path)
                .Add(texts.rightsUnreadableEnd)
                .AddNumber(error)
                .Add(L").");
        else if (writable)
            line.Add(texts.othersMayWrite).Add(path).Add(texts.othersMayWriteEnd);
        if (line.Length() > 0)
        {
            log.Lines(DscLevel::Warn, line.Text());
            return;
        }
        // Then the folder, where another program or DLL could be put beside this one.
        wchar_t* slash = nullptr;
        for (wchar_t* p = path; *p != L'\0'; ++p)
            slash = *p == L'\\' ? p : slash;
        if (slash == nullptr)
            return;
        *slash = L'\0';
    }
}
} // namespace

int RunDsc(const Arguments& arguments, const CliTexts& texts, bool administrator,
           LogonFunction logon)
{
    const DscLog log;
    const DscTexts& words = DscTextsFor(texts.german);
    const DscOperation operation = OperationOf(arguments);
    // test reads the secret to compare it, which only an administrator may.
    const bool reads = operation == DscOperation::Get || operation == DscOperation::Export;
    if (!reads && !administrator)
    {
        log.Line(DscLevel::Error, texts.needsAdministrator);
        return kExitNeedsAdministrator;
    }
    if (!reads)
        WarnWhereOthersWrite(words, log);

    DscInstance instance;
    std::size_t size = 0;
    DWORD readError = 0;
    const bool read = ReadInstance(!reads, size, readError);
    const DscInputProblem problem =
        read ? ReadDscInstance(g_instance, size, operation, instance) : DscInputProblem();
    SecureZeroMemory(g_instance, sizeof g_instance);
    if (!read || problem.error != DscInputError::None)
    {
        wchar_t storage[kDscLineCapacity / 2];
        TextBuffer line(storage, ARRAYSIZE(storage));
        if (read)
            ComposeDscInputError(problem, operation, words, line);
        else
            line.Add(words.inputUnreadable).AddNumber(readError).Add(L").");
        log.Lines(DscLevel::Error, line.Text());
        return read ? kExitBadCommandLine : kExitChangeFailed;
    }

    wchar_t user[kFieldLimit + 1] = {};
    wchar_t domain[kFieldLimit + 1] = {};
    DscAnswer answer;
    if (operation != DscOperation::Export && size > 0)
        answer.instance = &instance;
    wchar_t storage[512];
    TextBuffer why(storage, ARRAYSIZE(storage));
    const int resolved = instance.exist && instance.Has(DscProperty::User)
                             ? ResolveAccount(instance, texts, user, domain, why)
                             : kExitBadCommandLine;
    if (resolved == kExitDone)
    {
        answer.user = user;
        answer.domain = domain;
    }
    if (reads)
        return PrintState(texts, log, answer) ? kExitDone : kExitChangeFailed;
    if (instance.exist && resolved != kExitDone)
    {
        log.Lines(DscLevel::Error, why.Text());
        return resolved;
    }
    const SetWanted wanted = {domain, user, instance.password,
                              instance.Has(DscProperty::LogonCount) ? instance.logonCount : 0};
    const SetWanted* account = instance.exist ? &wanted : nullptr;
    if (operation == DscOperation::Test)
        return Test(account, answer, texts, log);
    return Set(instance, answer, account, operation == DscOperation::WhatIf, texts, log, logon);
}
