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
#include "exit_codes.h"
#include "status_reader.h"
#include "status_report.h"

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

// The instance as dsc writes it to standard input, read whole and wiped when done: it may
// hold the password. Kept out of the heap, and out of the file (it is zeros until read).
unsigned char g_instance[kDscInputLimit + 1];

// Reads the instance into g_instance and says how many bytes came: more than kDscInputLimit
// means too large, and the rest was read and dropped, so that dsc's write does not fail before
// the resource has said why it refuses. A console is no input: dsc never hands one. False, with
// the Win32 error, when the read fails.
bool ReadInstance(std::size_t& size, DWORD& error)
{
    size = 0;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (input == nullptr || input == INVALID_HANDLE_VALUE || GetConsoleMode(input, &mode))
        return true;
    for (;;)
    {
        // Once full, the last byte takes (and loses) what follows.
        const std::size_t at = size < sizeof g_instance ? size : sizeof g_instance - 1;
        DWORD read = 0;
        if (!ReadFile(input, g_instance + at, static_cast<DWORD>(sizeof g_instance - at), &read,
                      nullptr))
        {
            error = GetLastError();
            return error == ERROR_BROKEN_PIPE;
        }
        if (read == 0)
            return true;
        size += read;
    }
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

// The state as status reads it (after `plan`, where one is given), on standard output; false
// when a value could not be read, which is said on standard error.
bool PrintState(const CliTexts& texts, const DscLog& log, const ChangeRun* after = nullptr,
                const bool* inDesiredState = nullptr)
{
    StatusSnapshot snapshot;
    ReadStatusSnapshot(snapshot);
    if (after != nullptr && snapshot.unreadableValue == nullptr)
    {
        SnapshotAfterPlan(after->before, after->plan, snapshot);
        snapshot.domainIsThisComputer = IsThisComputer(snapshot.domain);
    }
    const StatusVerdict verdict = JudgeStatus(snapshot);
    wchar_t storage[kStatusReportCapacity];
    TextBuffer out(storage, ARRAYSIZE(storage));
    const bool composed = inDesiredState != nullptr
                              ? ComposeDscTestState(snapshot, verdict, *inDesiredState, out)
                              : ComposeDscState(snapshot, verdict, out);
    if (composed)
    {
        WriteOut(out.Text());
        return true;
    }
    TextBuffer words(storage, ARRAYSIZE(storage));
    ComposeStatusText(snapshot, verdict, texts, words);
    log.Lines(DscLevel::Error, words.Text());
    return false;
}

// The account of an instance with _exist true, as set --user and --domain take it. False,
// with the exit code, when it is refused.
bool ResolveAccount(const DscInstance& instance, const CliTexts& texts, const DscLog& log,
                    wchar_t (&user)[kFieldLimit + 1], wchar_t (&domain)[kFieldLimit + 1],
                    int& exitCode)
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
        log.Line(DscLevel::Error, refusal);
        exitCode = kExitBadCommandLine;
        return false;
    }
    const wchar_t* given = split                               ? named
                           : instance.Has(DscProperty::Domain) ? instance.domain
                                                               : nullptr;
    wchar_t storage[512];
    TextBuffer why(storage, ARRAYSIZE(storage));
    if (SetDomain(user, given, domain, texts, why) == ERROR_SUCCESS)
        return true;
    log.Lines(DscLevel::Error, why.Text());
    exitCode = kExitChangeFailed;
    return false;
}

// test: whether set would change nothing, compared as set compares; the password in memory
// only, and never LogonUserW, which a stale password would lock out when tested again and
// again.
int Test(const SetWanted* wanted, const CliTexts& texts, const DscLog& log)
{
    ChangeRun run;
    RunChangePlan(wanted, RunKind::Compare, run);
    const bool inDesiredState = !run.plan.Changes();
    return PrintState(texts, log, nullptr, &inDesiredState) ? kExitDone : kExitChangeFailed;
}

// set, and with `dryRun` its what-if: the credential check first (unless the instance turns
// it off), then exactly what set or remove would change.
int Set(const DscInstance& instance, const SetWanted* wanted, bool dryRun, const CliTexts& texts,
        const DscLog& log, LogonFunction logon)
{
    if (wanted != nullptr && !instance.checkCredentials)
        log.Line(DscLevel::Info, texts.credentialsNotChecked);
    else if (wanted != nullptr)
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
    const bool done = ChangeAndSay(wanted, dryRun, texts, run, words);
    log.Lines(done ? DscLevel::Info : DscLevel::Error, words.Text());
    if (!done)
        return kExitChangeFailed;
    return PrintState(texts, log, dryRun ? &run : nullptr) ? kExitDone : kExitChangeFailed;
}
} // namespace

int RunDsc(const Arguments& arguments, const CliTexts& texts, bool administrator,
           LogonFunction logon)
{
    const DscLog log;
    const DscOperation operation = OperationOf(arguments);
    // test reads the secret to compare it, which only an administrator may.
    const bool reads = operation == DscOperation::Get || operation == DscOperation::Export;
    if (!reads && !administrator)
    {
        log.Line(DscLevel::Error, texts.needsAdministrator);
        return kExitNeedsAdministrator;
    }

    DscInstance instance;
    std::size_t size = 0;
    DWORD readError = 0;
    const bool read = ReadInstance(size, readError);
    const DscInputProblem problem =
        read ? ReadDscInstance(g_instance, size, operation, instance) : DscInputProblem();
    SecureZeroMemory(g_instance, sizeof g_instance);
    if (!read || problem.error != DscInputError::None)
    {
        wchar_t storage[kDscLineCapacity / 2];
        TextBuffer line(storage, ARRAYSIZE(storage));
        if (read)
            ComposeDscInputError(problem, operation, DscTextsFor(texts.german), line);
        else
            line.Add(DscTextsFor(texts.german).inputUnreadable).AddNumber(readError).Add(L").");
        log.Lines(DscLevel::Error, line.Text());
        return read ? kExitBadCommandLine : kExitChangeFailed;
    }

    if (reads)
        return PrintState(texts, log) ? kExitDone : kExitChangeFailed;

    wchar_t user[kFieldLimit + 1] = {};
    wchar_t domain[kFieldLimit + 1] = {};
    int exitCode = kExitDone;
    if (instance.exist && !ResolveAccount(instance, texts, log, user, domain, exitCode))
        return exitCode;
    const SetWanted wanted = {domain, user, instance.password,
                              instance.Has(DscProperty::LogonCount) ? instance.logonCount : 0};
    const SetWanted* account = instance.exist ? &wanted : nullptr;
    if (operation == DscOperation::Test)
        return Test(account, texts, log);
    return Set(instance, account, operation == DscOperation::WhatIf, texts, log, logon);
}
