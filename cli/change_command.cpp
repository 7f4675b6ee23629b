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
    const bool done = ChangeAndSay(wanted, arguments.check, texts, run, text);
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

    wchar_t domain[kFieldLimit + 1] = {};
    Answer unnamed(arguments);
    DWORD error = SetDomain(arguments.user, arguments.domainGiven ? arguments.domain : nullptr,
                            domain, texts, unnamed.Line());
    if (error != ERROR_SUCCESS)
        return unnamed.Give(kExitChangeFailed, "computer-name-unreadable", error);

    PasswordBuffer password;
    PasswordProblem problem;
    const LineStatus status = ReadPassword(texts.prompt, password, problem);
    if (status != LineStatus::Ok)
        return PasswordRefused(arguments, status, problem, texts);

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
    why.Add(texts.noComputerName).AddNumber(error).Add(texts.noComputerNameEnd);
    return error;
}

const char* ComposeCredentialRefusal(DWORD error, const CliTexts& texts, TextBuffer& out)
{
    const CredentialReason reason = ReasonForLogonError(error);
    out.Add(texts.credentialRefused).Add(texts.reasons[static_cast<int>(reason)]);
    if (reason == CredentialReason::NotChecked)
        out.AddNumber(error).Add(texts.notCheckedEnd);
    out.Add(texts.nothingChanged);
    return kReasonIds[static_cast<int>(reason)];
}

bool ChangeAndSay(const SetWanted* wanted, bool check, const CliTexts& texts, ChangeRun& run,
                  TextBuffer& words)
{
    {
        const BreakHeld held;
        RunChangePlan(wanted, check ? RunKind::Probe : RunKind::Apply, run);
    }
    return ComposeChangeReport(ReportOf(run, wanted, check), texts.german, words);
}
