// keep on|off|run: automatic logon restored by a scheduled task that SYSTEM runs from a
// protected copy of this program. The order is the other changes': the command line (2),
// administrator rights (4), then the machine is read, the plan made, and carried out (or,
// with --check, listed: 7 when anything would change).
#include "keep_command.h"
#include "account_name.h"
#include "bounded_text.h"
#include "change_json.h"
#include "change_report.h"
#include "change_state.h"
#include "commands.h"
#include "console_io.h"
#include "error_text.h"
#include "event_record.h"
#include "exit_codes.h"
#include "folder_rights.h"
#include "help_text.h"
#include "json_text.h"
#include "keep_store.h"
#include "keep_task.h"
#include "keep_texts.h"

namespace
{
enum KeepStep
{
    kCopy,
    kRecord,
    kTask,
    kStepCount
};
const char* const kStepIds[kStepCount] = {"copy", "record", "task"};
const char* const kActionIds[] = {"", "on", "off", "run"};

// Everything keep looks at before it changes anything.
struct KeepFacts
{
    KeepPaths paths;
    bool pathsKnown = false;
    KeptAccount recorded;
    LONG recordError = ERROR_FILE_NOT_FOUND;
    CopyFound copy = CopyFound::Absent;
    DWORD copyError = ERROR_SUCCESS;
    KeepTaskInfo task;
};

void ReadKeepFacts(KeepFacts& facts)
{
    facts.pathsKnown = FindKeepPaths(facts.paths);
    facts.recordError = ReadKeepRecord(facts.recorded);
    if (facts.pathsKnown)
    {
        facts.copy = CompareFiles(facts.paths.self, facts.paths.copy, facts.copyError);
        facts.task = ReadKeepTask(facts.paths.copy);
    }
}

// The account as it is shown: DOMAIN\NAME, or NAME alone without a domain.
void AddAccount(TextBuffer& out, const wchar_t* domain, const wchar_t* user)
{
    if (domain[0] != L'\0')
        out.Add(domain).Add(L'\\');
    out.Add(user);
}

class KeepAnswer
{
  public:
    KeepAnswer(const Arguments& arguments, const CliTexts& texts)
        : arguments_(arguments), texts_(texts), keep_(KeepTextsFor(texts.german))
    {
    }
    const KeepTexts& Texts() const { return keep_; }
    TextBuffer& Words() { return words_; }

    // A refusal or failure: standard error, and JSON with the error's name.
    int Fail(int exitCode, const char* error, DWORD number = 0)
    {
        WriteErr(L"tarvelin-cli: ");
        WriteErr(words_.Add(L'\n').Text());
        if (arguments_.json)
        {
            wchar_t storage[512];
            TextBuffer json(storage, CountOf(storage));
            JsonObject object(json);
            object.Id("command", "keep").Id("action", Action()).Bool("check", arguments_.check);
            object.Bool("changed", false).Id("error", error);
            if (number != 0)
                AddJsonError(object, number);
            object.End();
            WriteOut(json.Add(L'\n').Text());
        }
        return exitCode;
    }

    // What was, or would be, done: the words, and JSON with the steps.
    // `restored`: keep run changed (or would change) Winlogon values.
    int Done(const bool steps[kStepCount], const wchar_t* domain, const wchar_t* user,
             bool restored = false)
    {
        bool any = restored;
        for (int i = 0; i < kStepCount; ++i)
            any = any || steps[i];
        if (arguments_.json)
        {
            wchar_t storage[1024];
            TextBuffer json(storage, CountOf(storage));
            JsonObject object(json);
            object.Id("command", "keep").Id("action", Action()).Bool("check", arguments_.check);
            object.Bool("changed", any && !arguments_.check);
            object.String("user", user).String("domain", domain);
            TextBuffer& list = object.Key("steps");
            list.Add(L'[');
            bool first = true;
            for (int i = 0; i < kStepCount; ++i)
            {
                if (!steps[i])
                    continue;
                if (!first)
                    list.Add(L',');
                first = false;
                list.Add(L'"').Add(kStepIds[i]).Add(L'"');
            }
            list.Add(L']');
            if (arguments_.keepAction == KeepAction::Run)
                object.Bool("restored", restored);
            object.End();
            WriteOut(json.Add(L'\n').Text());
        }
        else
            WriteOut(words_.Text());
        return arguments_.check && any ? kExitWouldChange : kExitDone;
    }

    const char* Action() const { return kActionIds[static_cast<int>(arguments_.keepAction)]; }

  private:
    const Arguments& arguments_;
    const CliTexts& texts_;
    const KeepTexts& keep_;
    wchar_t storage_[2048] = {};
    TextBuffer words_{storage_, CountOf(storage_)};
};

// The lines of the steps that `steps` marks, as --check and the event list them.
void AddSteps(TextBuffer& out, const char* const (&sentences)[3], const bool steps[kStepCount],
              const KeepFacts& facts, const KeptAccount& account)
{
    wchar_t storage[2 * kFieldLimit + 2];
    TextBuffer who(storage, CountOf(storage));
    AddAccount(who, account.domain, account.user);
    const Filler fillers[kStepCount] = {FillerOf(facts.paths.copy), FillerOf(who), FillerOf(L"")};
    for (int i = 0; i < kStepCount; ++i)
    {
        if (steps[i])
            AddFilled(out.Add(L"  "), sentences[i], {fillers[i]}).Add(L'\n');
    }
}

// Takes away what keeping leaves: the task first, so that nothing runs the copy meanwhile.
// ERROR_SUCCESS, or the first error (the rest is still tried).
DWORD RemoveKeeping(const KeepFacts& facts, const bool steps[kStepCount])
{
    DWORD first = ERROR_SUCCESS;
    if (steps[kTask])
    {
        const HRESULT error = DeleteKeepTask();
        if (FAILED(error))
            first = static_cast<DWORD>(error);
    }
    if (steps[kRecord])
    {
        const LONG error = DeleteKeepRecord();
        if (error != ERROR_SUCCESS && first == ERROR_SUCCESS)
            first = static_cast<DWORD>(error);
    }
    if (steps[kCopy])
    {
        const DWORD error = DeleteCopy(facts.paths);
        if (error != ERROR_SUCCESS && first == ERROR_SUCCESS)
            first = error;
    }
    return first;
}

void OffSteps(const KeepFacts& facts, bool steps[kStepCount])
{
    steps[kCopy] = facts.copy != CopyFound::Absent;
    steps[kRecord] = facts.recordError != ERROR_FILE_NOT_FOUND;
    steps[kTask] = facts.task.found != KeepTaskFound::Absent;
}

void RecordKeep(EventKind kind, bool failed, const char* const (&sentences)[3],
                const bool steps[kStepCount], const KeepFacts& facts, const KeptAccount& account,
                const wchar_t* outcome)
{
    wchar_t storage[kEventTextCapacity];
    TextBuffer changes(storage, CountOf(storage));
    AddSteps(changes, sentences, steps, facts, account);
    RecordEvent(kind, failed, changes.Text(), outcome);
}

// Takes keeping away (with `check`, lists what that would take), records it as an event of
// `kind` whose outcome starts with `why`, and says a failure in `words`; the caller says
// what a success means. ERROR_SUCCESS or the first error.
DWORD EndKeeping(const KeepFacts& facts, const bool steps[kStepCount], bool check, EventKind kind,
                 const wchar_t* why, const KeepTexts& texts, TextBuffer& words)
{
    if (check)
    {
        AddSteps(words.Add(texts.wouldChange), texts.removals, steps, facts, facts.recorded);
        return ERROR_SUCCESS;
    }
    const KeepTexts& english = KeepTextsFor(false);
    const DWORD error = RemoveKeeping(facts, steps);
    wchar_t storage[512];
    TextBuffer outcome(storage, CountOf(storage));
    outcome.Add(why);
    if (error != ERROR_SUCCESS)
        AddErrorNumber(outcome.Add(english.failed), error);
    else
        outcome.Add(english.keptNoMore);
    RecordKeep(kind, error != ERROR_SUCCESS, english.removals, steps, facts, facts.recorded,
               outcome.Text());
    if (error != ERROR_SUCCESS)
        AddErrorNumber(words.Add(texts.failed), error);
    return error;
}

int KeepOn(const Arguments& arguments, KeepAnswer& answer)
{
    const KeepTexts& texts = answer.Texts();
    const KeepTexts& english = KeepTextsFor(false);
    ChangeState state;
    ReadChangeState(state, nullptr);
    for (bool unreadable : state.unreadable)
    {
        if (unreadable)
        {
            answer.Words().Add(texts.failed).Add(L"Winlogon");
            return answer.Fail(kExitChangeFailed, "value-unreadable");
        }
    }
    const ValueForm& logon = state.values[static_cast<int>(PlanValue::AutoAdminLogon)];
    const ValueForm& count = state.values[static_cast<int>(PlanValue::AutoLogonCount)];
    KeptAccount account;
    TextBuffer(account.user, CountOf(account.user))
        .Add(state.values[static_cast<int>(PlanValue::DefaultUserName)].text);
    TextBuffer(account.domain, CountOf(account.domain))
        .Add(state.values[static_cast<int>(PlanValue::DefaultDomainName)].text);
    if (!IsTextValue(logon, L"1") || account.user[0] == L'\0')
    {
        answer.Words().Add(texts.refusals[0]);
        return answer.Fail(kExitBadCommandLine, "not-on");
    }
    if (state.secret == SecretFound::Unreadable)
    {
        answer.Words().Add(texts.failed).Add(L"LSA secret DefaultPassword");
        return answer.Fail(kExitChangeFailed, "secret-unreadable");
    }
    if (state.secret != SecretFound::Different)
    {
        answer.Words().Add(texts.refusals[1]);
        return answer.Fail(kExitBadCommandLine, "no-password");
    }
    if (count.present)
    {
        answer.Words().Add(texts.refusals[2]);
        return answer.Fail(kExitBadCommandLine, "logon-count");
    }

    KeepFacts facts;
    ReadKeepFacts(facts);
    if (!facts.pathsKnown)
    {
        answer.Words().Add(texts.failed).Add(L"%ProgramFiles%");
        return answer.Fail(kExitChangeFailed, "no-program-files", ERROR_PATH_NOT_FOUND);
    }
    if (facts.task.found == KeepTaskFound::Unreadable)
    {
        answer.Words().Add(texts.failed).Add(L"Task Scheduler");
        return answer.Fail(kExitChangeFailed, "task-unreadable",
                           static_cast<DWORD>(facts.task.error));
    }
    // A folder or copy that a user may change refuses before anything is written.
    for (const wchar_t* path : {facts.paths.folder, facts.paths.copy})
    {
        bool writable = false;
        const DWORD error = OthersMayWrite(path, writable);
        if (error == ERROR_SUCCESS && writable)
        {
            AddFilled(answer.Words(), texts.refusals[3], {FillerOf(path)});
            return answer.Fail(kExitBadCommandLine, "others-may-write");
        }
    }

    bool steps[kStepCount] = {};
    steps[kCopy] = facts.copy != CopyFound::Same;
    steps[kRecord] = facts.recordError != ERROR_SUCCESS ||
                     !SameAccountName(facts.recorded.user, account.user) ||
                     !SameAccountName(facts.recorded.domain, account.domain);
    steps[kTask] = facts.task.found != KeepTaskFound::Ours;
    wchar_t who[2 * kFieldLimit + 2];
    TextBuffer whoText(who, CountOf(who));
    AddAccount(whoText, account.domain, account.user);
    if (!steps[kCopy] && !steps[kRecord] && !steps[kTask])
    {
        AddFilled(answer.Words(), texts.keptAlready, {FillerOf(who)});
        return answer.Done(steps, account.domain, account.user);
    }
    if (arguments.check)
    {
        AddSteps(answer.Words().Add(texts.wouldChange), texts.steps, steps, facts, account);
        return answer.Done(steps, account.domain, account.user);
    }

    // Record, copy, task; on a failure each is taken back, newest first.
    DWORD error = ERROR_SUCCESS;
    const char* failedStep = nullptr;
    bool done[kStepCount] = {};
    if (steps[kRecord])
    {
        error = static_cast<DWORD>(WriteKeepRecord(account));
        done[kRecord] = error == ERROR_SUCCESS;
        failedStep = kStepIds[kRecord];
    }
    if (error == ERROR_SUCCESS && steps[kCopy])
    {
        error = CopyProgram(facts.paths);
        done[kCopy] = true;
        failedStep = kStepIds[kCopy];
        bool writable = false;
        if (error == ERROR_SUCCESS && OthersMayWrite(facts.paths.copy, writable) == ERROR_SUCCESS &&
            writable)
            error = ERROR_ACCESS_DENIED;
    }
    if (error == ERROR_SUCCESS && steps[kTask])
    {
        const HRESULT registered = RegisterKeepTask(facts.paths.copy);
        error = SUCCEEDED(registered) ? ERROR_SUCCESS : static_cast<DWORD>(registered);
        done[kTask] = SUCCEEDED(registered);
        failedStep = kStepIds[kTask];
    }
    wchar_t outcomeStorage[1024];
    TextBuffer outcome(outcomeStorage, CountOf(outcomeStorage));
    if (error != ERROR_SUCCESS)
    {
        // What was there before stays: a record of another account is written back.
        if (done[kRecord])
        {
            if (facts.recordError == ERROR_SUCCESS)
                WriteKeepRecord(facts.recorded);
            else
                DeleteKeepRecord();
        }
        if (done[kCopy] && facts.copy == CopyFound::Absent)
            DeleteCopy(facts.paths);
        answer.Words().Add(texts.failed).Add(failedStep).Add(L" (");
        AddErrorNumber(answer.Words(), error).Add(L"). ").Add(texts.putBack);
        outcome.Add(english.failed).Add(failedStep).Add(L" (");
        AddErrorNumber(outcome, error).Add(L"). ").Add(english.putBack);
        RecordKeep(EventKind::KeepOn, true, english.steps, steps, facts, account, outcome.Text());
        return answer.Fail(kExitChangeFailed, "keep-failed", error);
    }
    AddFilled(answer.Words(), texts.keptNow, {FillerOf(who)});
    AddFilled(outcome, english.keptNow, {FillerOf(who)});
    RecordKeep(EventKind::KeepOn, false, english.steps, steps, facts, account, outcome.Text());
    return answer.Done(steps, account.domain, account.user);
}

int KeepOff(const Arguments& arguments, KeepAnswer& answer)
{
    const KeepTexts& texts = answer.Texts();
    KeepFacts facts;
    ReadKeepFacts(facts);
    bool steps[kStepCount] = {};
    OffSteps(facts, steps);
    const KeptAccount& account = facts.recorded;
    if (!steps[kCopy] && !steps[kRecord] && !steps[kTask])
    {
        answer.Words().Add(texts.notKept);
        return answer.Done(steps, account.domain, account.user);
    }
    const DWORD error =
        EndKeeping(facts, steps, arguments.check, EventKind::KeepOff, L"", texts, answer.Words());
    if (error != ERROR_SUCCESS)
        return answer.Fail(kExitChangeFailed, "keep-failed", error);
    if (!arguments.check)
        answer.Words().Add(texts.keptNoMore);
    return answer.Done(steps, account.domain, account.user);
}

int KeepRun(const Arguments& arguments, const CliTexts& cliTexts, KeepAnswer& answer)
{
    const KeepTexts& texts = answer.Texts();
    KeepFacts facts;
    ReadKeepFacts(facts);
    bool steps[kStepCount] = {};
    if (facts.recordError == ERROR_FILE_NOT_FOUND)
    {
        answer.Words().Add(texts.notKept);
        return answer.Done(steps, L"", L"");
    }
    if (facts.recordError != ERROR_SUCCESS)
    {
        AddErrorNumber(answer.Words().Add(texts.failed).Add(kKeepKey).Add(L" ("),
                       static_cast<DWORD>(facts.recordError))
            .Add(L")");
        return answer.Fail(kExitChangeFailed, "record-unreadable",
                           static_cast<DWORD>(facts.recordError));
    }
    const KeptAccount& account = facts.recorded;
    ChangeState state;
    ReadChangeState(state, nullptr);
    if (state.secret == SecretFound::Unreadable)
    {
        answer.Words().Add(texts.failed).Add(L"LSA secret DefaultPassword");
        RecordEvent(EventKind::KeepRestored, true, L"",
                    L"The LSA secret DefaultPassword could not be read; nothing was changed.");
        return answer.Fail(kExitChangeFailed, "secret-unreadable");
    }
    if (state.secret == SecretFound::NotFound || state.secret == SecretFound::Blank)
    {
        // Switched off on purpose (the dialog's Remove blanks the secret, remove deletes it),
        // or lost: either way there is no password to restore, and nothing to keep.
        OffSteps(facts, steps);
        const DWORD error =
            EndKeeping(facts, steps, arguments.check, EventKind::KeepEnded,
                       state.secret == SecretFound::Blank ? L"The secret is blank. "
                                                          : L"The secret does not exist. ",
                       texts, answer.Words());
        if (error != ERROR_SUCCESS)
            return answer.Fail(kExitChangeFailed, "keep-failed", error);
        if (arguments.check)
            return answer.Done(steps, account.domain, account.user);
        answer.Words().Add(texts.secretGone);
        return answer.Done(steps, account.domain, account.user);
    }

    const SetWanted wanted = {account.domain, account.user, nullptr, 0};
    ChangeRun run;
    wchar_t storage[kChangeReportCapacity];
    TextBuffer words(storage, CountOf(storage));
    const bool said =
        ChangeAndSay(&wanted, arguments.check, cliTexts, run, words, EventKind::KeepRestored);
    if (!run.plan.Changes())
    {
        answer.Words().Add(texts.nothingLost);
        return answer.Done(steps, account.domain, account.user);
    }
    if (!said)
    {
        answer.Words().Add(words.Text());
        return answer.Fail(kExitChangeFailed, "restore-failed");
    }
    // The values restored, one a line, before and after: the set's own words would speak of
    // a password that keep run never stores.
    answer.Words().Add(arguments.check ? texts.wouldChange : texts.restored);
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!run.plan.change[i])
            continue;
        AddValueChange(answer.Words().Add(L"  "), kPlanValueNames[i], run.before.values[i],
                       run.before.unreadable[i], run.plan.after[i], cliTexts.german);
        answer.Words().Add(L'\n');
    }
    return answer.Done(steps, account.domain, account.user, true);
}
} // namespace

int RunKeep(const Arguments& arguments, const CliTexts& texts, bool administrator)
{
    KeepAnswer answer(arguments, texts);
    if (!administrator)
    {
        answer.Words().Add(texts.needsAdministrator);
        return answer.Fail(kExitNeedsAdministrator, "needs-administrator");
    }
    switch (arguments.keepAction)
    {
    case KeepAction::On:
        return KeepOn(arguments, answer);
    case KeepAction::Off:
        return KeepOff(arguments, answer);
    default:
        return KeepRun(arguments, texts, answer);
    }
}

bool KeepingOff(bool check, bool german, TextBuffer& words, bool& ended)
{
    KeepFacts facts;
    ReadKeepFacts(facts);
    bool steps[kStepCount] = {};
    OffSteps(facts, steps);
    ended = steps[kCopy] || steps[kRecord] || steps[kTask];
    if (!ended)
        return true;
    const KeepTexts& texts = KeepTextsFor(german);
    if (EndKeeping(facts, steps, check, EventKind::KeepOff, L"", texts, words) != ERROR_SUCCESS)
    {
        words.Add(L'\n');
        return false;
    }
    if (!check)
        words.Add(texts.keptNoMore);
    return true;
}

bool IsKept()
{
    KeptAccount account;
    return ReadKeepRecord(account) != ERROR_FILE_NOT_FOUND;
}

void KeepAccount(const wchar_t* domain, const wchar_t* user)
{
    KeptAccount account;
    if (ReadKeepRecord(account) != ERROR_SUCCESS ||
        (SameAccountName(account.user, user) && SameAccountName(account.domain, domain)))
        return;
    TextBuffer(account.user, CountOf(account.user)).Add(user);
    TextBuffer(account.domain, CountOf(account.domain)).Add(domain);
    WriteKeepRecord(account);
}

void ReadKeepStatus(StatusSnapshot& snapshot)
{
    KeepFacts facts;
    facts.recordError = ReadKeepRecord(facts.recorded);
    if (facts.recordError == ERROR_FILE_NOT_FOUND)
        return;
    snapshot.kept = true;
    TextBuffer(snapshot.keptUser, CountOf(snapshot.keptUser)).Add(facts.recorded.user);
    TextBuffer(snapshot.keptDomain, CountOf(snapshot.keptDomain)).Add(facts.recorded.domain);
    if (!FindKeepPaths(facts.paths))
        return;
    facts.task = ReadKeepTask(facts.paths.copy);
    switch (facts.task.found)
    {
    case KeepTaskFound::Absent:
        snapshot.keepTask = KeepTaskState::Missing;
        break;
    case KeepTaskFound::Other:
        snapshot.keepTask = KeepTaskState::Other;
        break;
    case KeepTaskFound::Unreadable:
        snapshot.keepTask = KeepTaskState::Unknown;
        break;
    case KeepTaskFound::Ours:
        snapshot.keepTask = facts.task.state == kTaskDisabled  ? KeepTaskState::Disabled
                            : facts.task.state == kTaskRunning ? KeepTaskState::Running
                                                               : KeepTaskState::Ready;
        snapshot.keepRan = facts.task.ran;
        snapshot.keepLastResult = static_cast<std::uint32_t>(facts.task.lastResult);
        break;
    }
}
