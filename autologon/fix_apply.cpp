#include "fix_apply.h"

#include <windows.h>

#include "account_check.h"
#include "change_state.h"
#include "registry_value.h"
#include "secret.h"
#include "secret_read.h"
#include "status_reader.h"
#include "unique_handle.h"
#include "winlogon_values.h"
#include "winlogon_write.h"
#include "wow64.h"

namespace
{
const wchar_t kPasswordLessPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\PasswordLess\\Device";

const wchar_t* PathOf(FixTarget target)
{
    return target == FixTarget::PasswordLess ? kPasswordLessPath : kWinlogonPath;
}

REGSAM ViewOf(FixTarget target)
{
    return target == FixTarget::Winlogon32 ? KEY_WOW64_32KEY : MachineKeyView();
}

bool IsRegistry(FixTarget target)
{
    return target == FixTarget::Winlogon || target == FixTarget::Winlogon32 ||
           target == FixTarget::PasswordLess;
}

LONG OpenKey(FixTarget target, REGSAM access, UniqueRegKey& key)
{
    const LONG opened =
        RegOpenKeyExW(HKEY_LOCAL_MACHINE, PathOf(target), 0, access | ViewOf(target), key.Put());
    if (opened != ERROR_SUCCESS)
        key.Release(); // nothing was opened
    return opened;
}

// The password a plain-text DefaultPassword value holds, in `text` (wiped by its owner).
LONG ReadPlainText(wchar_t (&text)[kFieldLimit + 1])
{
    UniqueRegKey key;
    RegistryValue value;
    const wchar_t* chars = nullptr;
    DWORD length = 0;
    LONG read = OpenKey(FixTarget::Winlogon, KEY_QUERY_VALUE, key);
    if (read == ERROR_SUCCESS)
        read = value.Read(key.Get(), kDefaultPassword);
    if (read == ERROR_SUCCESS && (!value.Text(chars, length) || length > kFieldLimit))
        read = ERROR_INVALID_DATA; // no text, or longer than any password a logon takes
    if (read != ERROR_SUCCESS)
        return read;
    CopyMemory(text, chars, length * sizeof(wchar_t));
    text[length] = L'\0';
    return ERROR_SUCCESS;
}

// Carries the steps out, and puts back what they changed when one fails.
class Fixer
{
  public:
    Fixer(const FixPlan& plan, const wchar_t* user) : plan_(plan), user_(user) {}
    ~Fixer() { SecureZeroMemory(password_, sizeof password_); }
    Fixer(const Fixer&) = delete;
    Fixer& operator=(const Fixer&) = delete;

    FixResult Run()
    {
        FixResult result;
        for (std::size_t i = 0; i < plan_.count && result.Done(); ++i)
        {
            result.failure = Step(plan_.steps[i], i);
            result.failedStep = i;
        }
        for (std::size_t i = 0; i < plan_.count && result.Done(); ++i)
        {
            result.failure = ReadBack(plan_.steps[i]);
            result.failedStep = i;
        }
        if (!result.Done())
            PutBack(result);
        return result;
    }

  private:
    // Saves what the step changes, then changes it.
    StepFailure Step(const FixStep& step, std::size_t i)
    {
        if (IsRegistry(step.target))
        {
            UniqueRegKey key;
            LONG done = OpenKey(step.target, KEY_QUERY_VALUE | KEY_SET_VALUE, key);
            if (done != ERROR_SUCCESS)
                return RegistryFailure(ChangeStep::OpenKey, done);
            done = saved_[i].Read(key.Get(), step.value);
            if (done != ERROR_SUCCESS && done != ERROR_FILE_NOT_FOUND)
                return RegistryFailure(ChangeStep::SaveValue, done, step.value);
            const DWORD number = step.after.number;
            done = step.after.present
                       ? RegSetValueExW(key.Get(), step.value, 0, REG_DWORD,
                                        reinterpret_cast<const BYTE*>(&number), sizeof number)
                       : DeleteIfPresent(key.Get(), step.value);
            return done == ERROR_SUCCESS
                       ? StepFailure()
                       : RegistryFailure(ChangeStep::WriteValue, done, step.value);
        }
        if (step.target == FixTarget::Secret)
        {
            bool opened = false;
            DWORD done = CopyDefaultPassword(secret_, opened);
            if (done != ERROR_SUCCESS)
                return {opened ? ChangeStep::SaveValue : ChangeStep::OpenPolicy, done, nullptr};
            done = static_cast<DWORD>(ReadPlainText(password_));
            if (done != ERROR_SUCCESS)
                return RegistryFailure(ChangeStep::SaveValue, static_cast<LONG>(done),
                                       kDefaultPassword);
            stored_ = true;
            return StoreDefaultPassword(password_, false);
        }
        DWORD before = 0;
        const DWORD done = ChangeAccountFlags(user_, step.flagsAfter & ~step.flagsBefore,
                                              step.flagsBefore & ~step.flagsAfter, before);
        return done == ERROR_SUCCESS ? StepFailure()
                                     : StepFailure{ChangeStep::SetAccount, done, nullptr};
    }

    // Whether what the step wrote holds.
    StepFailure ReadBack(const FixStep& step)
    {
        bool holds = true;
        if (IsRegistry(step.target))
        {
            UniqueRegKey key;
            RegistryValue value;
            ValueForm now;
            const LONG opened = OpenKey(step.target, KEY_QUERY_VALUE, key);
            const LONG read = opened == ERROR_SUCCESS ? value.Read(key.Get(), step.value) : opened;
            if (read == ERROR_SUCCESS)
                DescribeValue(value, now);
            holds = (read == ERROR_SUCCESS || read == ERROR_FILE_NOT_FOUND) &&
                    SameValueForm(now, step.after);
        }
        else if (step.target == FixTarget::Secret)
            holds = InspectDefaultPassword(password_) == SecretFound::Same;
        else
        {
            DWORD now = 0;
            const std::uint32_t changed = step.flagsBefore ^ step.flagsAfter;
            holds = ChangeAccountFlags(user_, 0, 0, now) == ERROR_SUCCESS &&
                    (now & changed) == (step.flagsAfter & changed);
        }
        return holds ? StepFailure() : StepFailure{ChangeStep::ReadBack, 0, step.value};
    }

    // Everything the steps changed, back as it was, the last first; what cannot be is listed.
    void PutBack(FixResult& result)
    {
        const std::size_t reached =
            result.failure.step == ChangeStep::ReadBack ? plan_.count : result.failedStep;
        for (std::size_t i = reached; i-- > 0;)
        {
            const FixStep& step = plan_.steps[i];
            DWORD error = ERROR_SUCCESS;
            if (IsRegistry(step.target))
            {
                UniqueRegKey key;
                error = static_cast<DWORD>(OpenKey(step.target, KEY_SET_VALUE, key));
                if (error == ERROR_SUCCESS)
                    error = static_cast<DWORD>(saved_[i].Restore(key.Get(), step.value));
            }
            else if (step.target == FixTarget::Secret && stored_)
            {
                const StepFailure restored = secret_.found == SecretFound::NotFound
                                                 ? DeleteDefaultPassword()
                                                 : StoreDefaultPassword(secret_.text, true);
                error = restored.error;
            }
            else if (step.target == FixTarget::Account)
            {
                DWORD now = 0;
                error = ChangeAccountFlags(user_, step.flagsBefore & ~step.flagsAfter,
                                           step.flagsAfter & ~step.flagsBefore, now);
            }
            const wchar_t* name = step.value != nullptr              ? step.value
                                  : step.target == FixTarget::Secret ? L"LSA secret DefaultPassword"
                                                                     : L"account flags";
            if (error != ERROR_SUCCESS)
                result.unrestored[result.unrestoredCount++] = {name,
                                                               static_cast<std::uint32_t>(error)};
        }
    }

    const FixPlan& plan_;
    const wchar_t* user_;
    RegistryValue saved_[kFixStepLimit]; // each wiped when dropped: it may hold a password
    SecretCopy secret_;
    bool stored_ = false;
    wchar_t password_[kFieldLimit + 1] = {};
};
} // namespace

bool ReadFixFacts(StatusSnapshot& snapshot, FixFacts& facts)
{
    facts = FixFacts();
    ReadStatusSnapshot(snapshot);
    if (snapshot.unreadableValue != nullptr)
        return false;
    facts.causes = JudgeStatus(snapshot).causes;
    facts.accountFlags = snapshot.accountFlags;
    ReadChangeState(facts.winlogon, nullptr);
    // On 32-bit Windows there is one view only.
    facts.twoViews = sizeof(void*) == 8 || QueryWow64();
    UniqueRegKey key;
    const bool opened =
        facts.twoViews && OpenKey(FixTarget::Winlogon32, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
    for (unsigned int i = 0; i < kPlanValueCount && opened; ++i)
    {
        RegistryValue value;
        const LONG read = value.Read(key.Get(), kPlanValueNames[i]);
        facts.unreadable32 =
            facts.unreadable32 || (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND);
        if (read != ERROR_SUCCESS)
            continue;
        if (i == static_cast<unsigned int>(PlanValue::DefaultPassword))
        {
            // Whether it holds a password, never what that is.
            facts.winlogon32[i] = ValueForm{true, value.Type()};
            facts.passwordText32 = value.HasText();
        }
        else
            DescribeValue(value, facts.winlogon32[i]);
    }
    UniqueRegKey passwordLess;
    RegistryValue value;
    if (OpenKey(FixTarget::PasswordLess, KEY_QUERY_VALUE, passwordLess) == ERROR_SUCCESS &&
        value.Read(passwordLess.Get(), L"DevicePasswordLessBuildVersion") == ERROR_SUCCESS)
        DescribeValue(value, facts.passwordLess);
    return true;
}

FixResult ApplyFix(const FixPlan& plan, const wchar_t* user, bool probe)
{
    if (!probe)
        return Fixer(plan, user).Run();
    // The dry run meets a missing right where the change would: each key opened for writing,
    // the policy for reading and storing the secret. The account database has no such test.
    FixResult result;
    for (std::size_t i = 0; i < plan.count && result.Done(); ++i)
    {
        const FixStep& step = plan.steps[i];
        UniqueRegKey key;
        UniqueLsaHandle policy;
        if (IsRegistry(step.target))
        {
            if (const LONG open = OpenKey(step.target, KEY_QUERY_VALUE | KEY_SET_VALUE, key);
                open != ERROR_SUCCESS)
                result.failure = RegistryFailure(ChangeStep::OpenKey, open);
        }
        else if (step.target == FixTarget::Secret)
        {
            NTSTATUS opened = OpenLocalPolicy(POLICY_GET_PRIVATE_INFORMATION, policy);
            if (opened == 0)
            {
                policy.Reset();
                opened = OpenLocalPolicy(POLICY_CREATE_SECRET, policy);
            }
            if (opened != 0)
                result.failure = {ChangeStep::OpenPolicy, LsaNtStatusToWinError(opened), nullptr};
        }
        result.failedStep = i;
    }
    return result;
}
