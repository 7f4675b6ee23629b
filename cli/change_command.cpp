// set and remove. The order is what a script expects:
// the command line first (2), then administrator rights (4) before the password is read, so
// that a job without rights does not consume its input; then the password (2) and the
// credential check (3); only then is anything written.
#include "autologon.h"
#include "change_report.h"
#include "commands.h"
#include "console_io.h"
#include "exit_codes.h"
#include "text_buffer.h"

namespace
{
// "tarvelin-cli: " and the sentence, composed (UTF-16) or one of the texts (UTF-8).
template <typename Text>
void WriteError(const Text* first, const char* second = nullptr)
{
    wchar_t storage[1024];
    TextBuffer line(storage, ARRAYSIZE(storage));
    line.Add(L"tarvelin-cli: ").Add(first);
    if (second != nullptr)
        line.Add(second);
    WriteErr(line.Text());
}

template <typename Text>
void WriteErrorNumber(const char* before, DWORD number, const Text* after)
{
    wchar_t storage[1024];
    TextBuffer line(storage, ARRAYSIZE(storage));
    line.Add(L"tarvelin-cli: ").Add(before).AddNumber(number).Add(after);
    WriteErr(line.Text());
}

// The domain the dialog would prefill: this computer's name.
bool ComputerName(wchar_t (&domain)[kFieldLimit + 1], DWORD& error)
{
    DWORD size = ARRAYSIZE(domain);
    if (GetComputerNameW(domain, &size))
        return true;
    error = GetLastError();
    return false;
}

int PasswordRefused(LineStatus status, const PasswordProblem& problem, const CliTexts& texts)
{
    if (problem.stop == PromptStop::Cancelled)
        WriteError(texts.promptCancelled);
    else if (problem.stop == PromptStop::EchoStaysOn)
        WriteError(texts.echoStaysOn);
    else if (problem.stop == PromptStop::Unseen)
        WriteError(texts.consoleUnseen);
    else if (status == LineStatus::Empty)
        WriteError(texts.noPassword);
    else if (status == LineStatus::TooLong)
    {
        wchar_t storage[256];
        TextBuffer line(storage, ARRAYSIZE(storage));
        line.Add(texts.passwordTooLong[0]).AddNumber(kFieldLimit).Add(texts.passwordTooLong[1]);
        WriteError(line.Text(), texts.nothingChanged);
    }
    else if (problem.error != 0)
        WriteErrorNumber(texts.passwordUnreadable, problem.error, L").\n");
    else
        WriteError(texts.passwordNotUtf8);
    return kExitBadCommandLine;
}

int CredentialsRefused(DWORD error, const CliTexts& texts)
{
    const CredentialReason reason = ReasonForLogonError(error);
    wchar_t storage[1024];
    TextBuffer line(storage, ARRAYSIZE(storage));
    line.Add(texts.credentialRefused).Add(texts.reasons[static_cast<int>(reason)]);
    if (reason == CredentialReason::NotChecked)
        line.AddNumber(error).Add(texts.notCheckedEnd);
    line.Add(texts.nothingChanged);
    WriteError(line.Text());
    return kExitCredentials;
}

// The one place where the machine is changed, through the core the dialog uses as well;
// then the outcome in words: done on standard output, a failure on standard error.
int ApplyChange(bool set, const wchar_t* domain, const wchar_t* user, const wchar_t* password,
                const CliTexts& texts)
{
    const ChangeResult result = set ? SetAutoLogon(domain, user, password) : RemoveAutoLogon();
    wchar_t storage[kChangeReportCapacity];
    TextBuffer report(storage, ARRAYSIZE(storage));
    const bool done = ComposeChangeReport(result, set, domain, user, texts.german, report);
    if (done)
        WriteOut(report.Text());
    else
        WriteErr(report.Text());
    return done ? kExitDone : kExitChangeFailed;
}
} // namespace

int RunChange(const Arguments& arguments, const CliTexts& texts, bool administrator,
              LogonFunction logon)
{
    if (!administrator)
    {
        WriteError(texts.needsAdministrator);
        return kExitNeedsAdministrator;
    }
    if (arguments.command == Command::Remove)
        return ApplyChange(false, L"", L"", L"", texts);

    wchar_t domain[kFieldLimit + 1] = {};
    if (arguments.domainGiven)
    {
        for (size_t i = 0; i <= kFieldLimit; ++i)
            domain[i] = arguments.domain[i];
    }
    else
    {
        DWORD error = 0;
        if (!ComputerName(domain, error))
        {
            WriteErrorNumber(texts.noComputerName, error, texts.noComputerNameEnd);
            return kExitBadCommandLine;
        }
    }

    PasswordBuffer password;
    PasswordProblem problem;
    const LineStatus status = ReadPassword(texts.prompt, password, problem);
    if (status != LineStatus::Ok)
        return PasswordRefused(status, problem, texts);

    if (arguments.noVerify)
        WriteOut(texts.credentialsNotChecked);
    else
    {
        const DWORD error = CheckCredentials(domain, arguments.user, password.text, logon);
        if (error != ERROR_SUCCESS)
            return CredentialsRefused(error, texts);
        WriteOut(texts.credentialsAccepted);
    }
    return ApplyChange(true, domain, arguments.user, password.text, texts);
}
