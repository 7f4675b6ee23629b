// set and remove. The order is what a script expects:
// the command line first (2), then administrator rights (4) before the password is read, so
// that a job without rights does not consume its input; then the password (2) and the
// credential check (3); then the machine's state is read and compared with the one wanted,
// and only what differs is written (or, with --check, listed: 7 when anything would change).
#include <cwchar>

#include "bounded_text.h"
#include "change_apply.h"
#include "change_json.h"
#include "change_report.h"
#include "commands.h"
#include "console_io.h"
#include "error_text.h"
#include "exit_codes.h"
#include "help_text.h"
#include "keep_command.h"
#include "keep_texts.h"
#include "text_buffer.h"

namespace
{
// The stable names of the credential check's reasons, by CredentialReason.
const char* const kReasonIds[] = {nullptr,
                                  "wrong-name-or-password",
                                  "password-expired",
                                  "account-restricted",
                                  "logon-type-not-granted",
                                  "not-checked"};

// One answer of the command before it reads the machine: the sentence on standard error and,
// with --json, the same as one object on standard output.
class Answer
{
  public:
    explicit Answer(const Arguments& arguments) : arguments_(arguments)
    {
        line_.Add(L"tarvelin-cli: ");
    }

    TextBuffer& Line() { return line_; }

    int Give(int exitCode, const char* error, unsigned long number = 0,
             const char* reason = nullptr)
    {
        WriteErr(line_.Text());
        if (arguments_.json)
        {
            wchar_t storage[256];
            TextBuffer json(storage, ARRAYSIZE(storage));
            const bool set = arguments_.command == Command::Set;
            ComposeErrorJson(set ? "set" : "remove", arguments_.check, error, number, reason, json);
            WriteOut(json.Text());
        }
        return exitCode;
    }

  private:
    const Arguments& arguments_;
    wchar_t storage_[1024] = {};
    TextBuffer line_{storage_, ARRAYSIZE(storage_)};
};

int PasswordRefused(const Arguments& arguments, LineStatus status, const PasswordProblem& problem,
                    const CliTexts& texts)
{
    Answer answer(arguments);
    TextBuffer& line = answer.Line();
    // The prompt's own stops first: the line's status alone does not tell them.
    const struct
    {
        PromptStop stop;
        const char* CliTexts::*sentence;
        const char* error;
    } stops[] = {
        {PromptStop::Cancelled, &CliTexts::promptCancelled, "cancelled"},
        {PromptStop::EchoStaysOn, &CliTexts::echoStaysOn, "cannot-hide-typing"},
        {PromptStop::Unseen, &CliTexts::consoleUnseen, "console-unseen"},
    };
    for (const auto& stop : stops)
    {
        if (problem.stop == stop.stop)
        {
            line.Add(texts.*stop.sentence);
            return answer.Give(kExitBadCommandLine, stop.error);
        }
    }
    const auto source = static_cast<int>(arguments.passwordFile != nullptr ? PasswordSource::File
                                                                           : PasswordSource::Input);
    wchar_t storage[320];
    TextBuffer detail(storage, CountOf(storage));
    const char* error = "password-not-utf8";
    if (status == LineStatus::Empty)
    {
        line.Add(texts.noPassword[source]);
        error = "no-password";
    }
    else if (status == LineStatus::TooLong)
    {
        AddFilled(line, texts.passwordTooLong, {FillerOf(detail.AddNumber(kFieldLimit))});
        error = "password-too-long";
    }
    else if (status == LineStatus::Utf16)
    {
        line.Add(texts.passwordUtf16[source]);
        error = "password-utf16";
    }
    else if (problem.error != 0)
    {
        AddErrorNumber(detail, problem.error);
        AddFilled(line, texts.passwordUnreadable[source], {FillerOf(detail)});
        line.Add(L' ').Add(texts.nothingChanged);
        return answer.Give(kExitBadCommandLine, "password-unreadable", problem.error);
    }
    else
        line.Add(texts.passwordNotText[source]);
    line.Add(L' ').Add(texts.nothingChanged);
    return answer.Give(kExitBadCommandLine, error);
}

// The password from --password-file, or from standard input, or typed at the prompt (twice
// where nothing else checks it). Ok, or the exit code of the refusal in `exitCode`.
bool ReadThePassword(const Arguments& arguments, const CliTexts& texts, PasswordBuffer& password,
                     int& exitCode)
{
    PasswordProblem problem;
    LineStatus status = LineStatus::Ok;
    if (arguments.passwordFile != nullptr)
        status = ReadPasswordFile(arguments.passwordFile, password, problem.error);
    else
    {
        // Without the credential check, a typo at a prompt that does not echo would be stored.
        const bool twice = arguments.noVerify && InputIsConsole();
        status = ReadPassword(texts.prompt, password, problem);
        if (status == LineStatus::Ok && twice)
        {
            PasswordBuffer again;
            status = ReadPassword(texts.promptAgain, again, problem);
            const auto bytes = [](const PasswordBuffer& buffer) {
                return reinterpret_cast<const unsigned char*>(buffer.text);
            };
            if (status == LineStatus::Ok &&
                !SameSecretBytes(bytes(password), TextLength(password.text) * sizeof(wchar_t),
                                 bytes(again), TextLength(again.text) * sizeof(wchar_t)))
            {
                Answer answer(arguments);
                answer.Line().Add(texts.passwordsDiffer).Add(L' ').Add(texts.nothingChanged);
                exitCode = answer.Give(kExitBadCommandLine, "passwords-differ");
                return false;
            }
        }
    }
    if (status == LineStatus::Ok)
        return true;
    exitCode = PasswordRefused(arguments, status, problem, texts);
    return false;
}

int CredentialsRefused(const Arguments& arguments, DWORD error, const CliTexts& texts)
{
    Answer answer(arguments);
    const char* reason = ComposeCredentialRefusal(error, texts, answer.Line());
    return answer.Give(kExitCredentials, "credentials-refused", error, reason);
}

// A note along the way (the credential check's outcome): on standard output in words, but on
// standard error when standard output is for JSON alone.
void Note(const Arguments& arguments, const char* text)
{
    if (arguments.json)
        WriteErr(text);
    else
        WriteOut(text);
}

// Compares, then changes what differs or, with --check, opens what the change would write and
// lists what differs; and says so, in words or JSON.
int Conclude(const Arguments& arguments, const SetWanted* wanted, const CliTexts& texts)
{
    ChangeRun run;
    wchar_t words[kChangeReportCapacity];
    TextBuffer text(words, ARRAYSIZE(words));
    const bool done = ChangeAndSay(wanted, arguments.check, texts, run, text,
                                   wanted != nullptr ? EventKind::Set : EventKind::Remove);
    const ChangeReport report = ReportOf(run, wanted, arguments.check);
    // A failure goes to standard error in words, beside JSON too; otherwise standard output
    // gets the words or the JSON.
    if (!done)
        WriteErr(text.Text());
    if (arguments.json)
    {
        wchar_t storage[kChangeJsonCapacity];
        TextBuffer json(storage, ARRAYSIZE(storage));
        ComposeChangeJson(report, json);
        WriteOut(json.Text());
    }
    else if (done)
        WriteOut(text.Text());
    if (!done)
        return kExitChangeFailed;
    return arguments.check && (run.plan.Changes() || run.keepingOff) ? kExitWouldChange : kExitDone;
}
} // namespace

int RunChange(const Arguments& arguments, const CliTexts& texts, bool administrator,
              LogonFunction logon)
{
    if (!administrator)
    {
        Answer answer(arguments);
        answer.Line().Add(texts.needsAdministrator);
        return answer.Give(kExitNeedsAdministrator, "needs-administrator");
    }
    if (arguments.command == Command::Remove)
        return Conclude(arguments, nullptr, texts);
    if (arguments.logonCount != 0 && IsKept())
    {
        Answer answer(arguments);
        answer.Line().Add(KeepTextsFor(texts.german).countWhileKept).Add(L'\n');
        return answer.Give(kExitBadCommandLine, "logon-count-while-kept");
    }

    wchar_t domain[kFieldLimit + 1] = {};
    Answer unnamed(arguments);
    DWORD error = SetDomain(arguments.user, arguments.domainGiven ? arguments.domain : nullptr,
                            domain, texts, unnamed.Line());
    if (error != ERROR_SUCCESS)
        return unnamed.Give(kExitChangeFailed, "computer-name-unreadable", error);

    PasswordBuffer password;
    int refused = kExitBadCommandLine;
    if (!ReadThePassword(arguments, texts, password, refused))
        return refused;

    if (arguments.noVerify)
        Note(arguments, texts.credentialsNotChecked);
    else
    {
        error = CheckCredentials(domain, arguments.user, password.text, logon);
        if (error != ERROR_SUCCESS)
            return CredentialsRefused(arguments, error, texts);
        Note(arguments, texts.credentialsAccepted);
    }
    const SetWanted wanted = {domain, arguments.user, password.text, arguments.logonCount};
    return Conclude(arguments, &wanted, texts);
}

DWORD SetDomain(const wchar_t* user, const wchar_t* given, wchar_t (&domain)[kFieldLimit + 1],
                const CliTexts& texts, TextBuffer& why)
{
    if (given != nullptr)
    {
        CopyText(domain, kFieldLimit + 1, given);
        return ERROR_SUCCESS;
    }
    domain[0] = L'\0';
    DWORD size = kFieldLimit + 1;
    if (wcschr(user, L'@') != nullptr || GetComputerNameW(domain, &size))
        return ERROR_SUCCESS;
    const DWORD error = GetLastError();
    wchar_t storage[320];
    TextBuffer detail(storage, CountOf(storage));
    AddFilled(why, texts.noComputerName, {FillerOf(AddErrorNumber(detail, error))});
    why.Add(L' ').Add(texts.nothingChanged);
    return error;
}

const char* ComposeCredentialRefusal(DWORD error, const CliTexts& texts, TextBuffer& out)
{
    const CredentialReason reason = ReasonForLogonError(error);
    // A check that could not be made is no refusal: it says why, and the way round it.
    if (reason == CredentialReason::NotChecked)
    {
        wchar_t storage[320];
        TextBuffer detail(storage, CountOf(storage));
        AddFilled(out, texts.credentialsUnchecked, {FillerOf(AddErrorNumber(detail, error))});
    }
    else
        out.Add(texts.credentialRefused).Add(texts.reasons[static_cast<int>(reason) - 1]);
    out.Add(texts.nothingChanged);
    return kReasonIds[static_cast<int>(reason)];
}

bool ChangeAndSay(const SetWanted* wanted, bool check, const CliTexts& texts, ChangeRun& run,
                  TextBuffer& words, EventKind kind)
{
    const bool front = kind != EventKind::KeepRestored;
    // Switched off, automatic logon must not be restored by the task: keeping goes first.
    if (front && wanted == nullptr && !KeepingOff(check, texts.german, words, run.keepingOff))
        return false;
    {
        const BreakHeld held;
        RunChangePlan(wanted, check ? RunKind::Probe : RunKind::Apply, run);
    }
    const ChangeReport report = ReportOf(run, wanted, check);
    const bool done = ComposeChangeReport(report, texts.german, words);
    if (front && done && wanted != nullptr && !check)
        KeepAccount(wanted->domain, wanted->user);
    if (!check && run.ran)
    {
        wchar_t changes[kEventTextCapacity];
        TextBuffer list(changes, CountOf(changes));
        AddRunChanges(run, list);
        wchar_t outcome[kChangeReportCapacity];
        TextBuffer english(outcome, CountOf(outcome));
        // keep run stores no password: its outcome is the restore, not set's words.
        if (kind == EventKind::KeepRestored && done)
            english.Add(L"Automatic logon is restored.");
        else
            ComposeChangeReport(report, false, english);
        RecordEvent(kind, !done, list.Text(), english.Text());
    }
    return done;
}
