// set and remove. The order is what a script expects:
// the command line first (2), then administrator rights (4) before the password is read, so
// that a job without rights does not consume its input; then the password (2) and the
// credential check (3); then the machine's state is read and compared with the one wanted,
// and only what differs is written (or, with --check, listed: 7 when anything would change).
#include <cwchar>

#include "change_apply.h"
#include "change_json.h"
#include "change_report.h"
#include "change_state.h"
#include "commands.h"
#include "console_io.h"
#include "exit_codes.h"
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

// The domain the dialog would prefill: this computer's name.
bool ComputerName(wchar_t (&domain)[kFieldLimit + 1], DWORD& error)
{
    DWORD size = ARRAYSIZE(domain);
    if (GetComputerNameW(domain, &size))
        return true;
    error = GetLastError();
    return false;
}

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
    if (status == LineStatus::Empty)
    {
        line.Add(texts.noPassword);
        return answer.Give(kExitBadCommandLine, "no-password");
    }
    if (status == LineStatus::TooLong)
    {
        line.Add(texts.passwordTooLong[0]).AddNumber(kFieldLimit).Add(texts.passwordTooLong[1]);
        line.Add(texts.nothingChanged);
        return answer.Give(kExitBadCommandLine, "password-too-long");
    }
    if (problem.error != 0)
    {
        line.Add(texts.passwordUnreadable).AddNumber(problem.error).Add(L").\n");
        return answer.Give(kExitBadCommandLine, "password-unreadable", problem.error);
    }
    line.Add(texts.passwordNotUtf8);
    return answer.Give(kExitBadCommandLine, "password-not-utf8");
}

int CredentialsRefused(const Arguments& arguments, DWORD error, const CliTexts& texts)
{
    const CredentialReason reason = ReasonForLogonError(error);
    Answer answer(arguments);
    TextBuffer& line = answer.Line();
    line.Add(texts.credentialRefused).Add(texts.reasons[static_cast<int>(reason)]);
    if (reason == CredentialReason::NotChecked)
        line.AddNumber(error).Add(texts.notCheckedEnd);
    line.Add(texts.nothingChanged);
    return answer.Give(kExitCredentials, "credentials-refused", error,
                       kReasonIds[static_cast<int>(reason)]);
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

// While the machine is being changed, Ctrl+C and Ctrl+Break wait: ending the process half-way
// would leave it half-configured. (A closing console or a shutdown cannot be held off.)
BOOL WINAPI HoldBreak(DWORD event)
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

// The account a set wants, or none for a remove.
struct Wanted
{
    const wchar_t* domain;
    const wchar_t* user;
    const wchar_t* password;
};

// Compares, then changes what differs or, with --check, opens what the change would write and
// lists what differs; and says so, in words or JSON.
int Conclude(const Arguments& arguments, const Wanted* wanted, const CliTexts& texts)
{
    const bool set = wanted != nullptr;
    ChangeRun run;
    {
        const BreakHeld held;
        if (wanted != nullptr)
        {
            const SetWanted account = {wanted->domain, wanted->user, wanted->password,
                                       arguments.logonCount};
            RunChangePlan(&account, arguments.check, run);
        }
        else
            RunChangePlan(nullptr, arguments.check, run);
    }
    ChangeReport report;
    report.set = set;
    report.check = arguments.check;
    report.domain = wanted != nullptr ? wanted->domain : nullptr;
    report.user = wanted != nullptr ? wanted->user : nullptr;
    report.logonCount = arguments.logonCount;
    report.before = &run.before;
    report.plan = &run.plan;
    report.result = run.ran ? &run.result : nullptr;
    wchar_t words[kChangeReportCapacity];
    TextBuffer text(words, ARRAYSIZE(words));
    const bool done = ComposeChangeReport(report, texts.german, text);
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
    return arguments.check && run.plan.Changes() ? kExitWouldChange : kExitDone;
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

    // The domain as given; else none for a user@domain name, which names its own domain and
    // is checked that way; else this computer's name, as the dialog fills it in.
    wchar_t domain[kFieldLimit + 1] = {};
    if (arguments.domainGiven)
    {
        for (size_t i = 0; i <= kFieldLimit; ++i)
            domain[i] = arguments.domain[i];
    }
    else if (wcschr(arguments.user, L'@') == nullptr)
    {
        DWORD error = 0;
        if (!ComputerName(domain, error))
        {
            Answer answer(arguments);
            answer.Line().Add(texts.noComputerName).AddNumber(error).Add(texts.noComputerNameEnd);
            return answer.Give(kExitChangeFailed, "computer-name-unreadable", error);
        }
    }

    PasswordBuffer password;
    PasswordProblem problem;
    const LineStatus status = ReadPassword(texts.prompt, password, problem);
    if (status != LineStatus::Ok)
        return PasswordRefused(arguments, status, problem, texts);

    if (arguments.noVerify)
        Note(arguments, texts.credentialsNotChecked);
    else
    {
        const DWORD error = CheckCredentials(domain, arguments.user, password.text, logon);
        if (error != ERROR_SUCCESS)
            return CredentialsRefused(arguments, error, texts);
        Note(arguments, texts.credentialsAccepted);
    }
    const Wanted wanted = {domain, arguments.user, password.text};
    return Conclude(arguments, &wanted, texts);
}
