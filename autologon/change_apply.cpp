#include "change_apply.h"

#include <windows.h>

#include "account_name.h"
#include "change_state.h"
#include "registry_value.h"
#include "secret.h"
#include "secret_read.h"
#include "winlogon_write.h"

namespace
{
// How a report names the secret among the values a failed set could not put back.
constexpr wchar_t kSecretName[] = L"LSA secret DefaultPassword";

// A set reads what it changes, to put it back should a later step fail; a remove never puts
// anything back.
StepFailure OpenWinlogon(const ChangePlan& plan, UniqueRegKey& key)
{
    return OpenWinlogonKey(plan.set ? KEY_WRITE | KEY_QUERY_VALUE : KEY_WRITE, key);
}

LONG WriteValue(HKEY key, const wchar_t* name, const ValueForm& value)
{
    if (!value.present)
        return DeleteIfPresent(key, name);
    if (value.type == kRegDword)
    {
        const DWORD number = value.number;
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                              sizeof number);
    }
    return WriteText(key, name, value.text);
}

// Writes the planned values in order, but AutoAdminLogon when `logon` is false; stops at the
// first that fails.
StepFailure WritePlanned(HKEY key, const ChangePlan& plan, bool logon)
{
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!plan.change[i] ||
            (!logon && i == static_cast<unsigned int>(PlanValue::AutoAdminLogon)))
            continue;
        const LONG written = WriteValue(key, kPlanValueNames[i], plan.after[i]);
        if (written != ERROR_SUCCESS)
            return RegistryFailure(ChangeStep::WriteValue, written, kPlanValueNames[i]);
    }
    return {};
}

// Reads back what a change wrote: each value it changed must hold what the plan gave it, and
// the secret the password (or, after a remove, nothing). Something else may have written
// meanwhile, and a change that did not hold must not be reported as done.
void ReadBack(const ChangePlan& plan, const wchar_t* password, ChangeResult& result)
{
    ChangeState after;
    ReadChangeState(after, password);
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        const bool holds = i == static_cast<unsigned int>(PlanValue::DefaultPassword)
                               ? !after.values[i].present // its text is never read back
                               : SameValueForm(after.values[i], plan.after[i]);
        if (plan.change[i] && (after.unreadable[i] || !holds))
        {
            result.registry = {ChangeStep::ReadBack, 0, kPlanValueNames[i]};
            return;
        }
    }
    const SecretFound wanted =
        plan.secret == SecretAction::Replace ? SecretFound::Same : SecretFound::NotFound;
    if (plan.secret != SecretAction::Keep && after.secret != wanted)
        result.secret = {ChangeStep::ReadBack, 0, nullptr};
}

// Puts the secret back as it was: deleted where there was none, blank, or its old text;
// stored twice, so that the password the change stored does not stay as its old value.
StepFailure RestoreSecret(const SecretCopy& copy)
{
    if (copy.found == SecretFound::NotFound)
        return DeleteDefaultPassword();
    return StoreDefaultPassword(copy.text, true);
}

// Set: every value it changes saved first; the values written, then the secret stored, then
// AutoAdminLogon "1" last, so that an interrupted run never leaves automatic logon switched on
// before the rest of the set-up stands; all of it read back. On any failure everything is put
// back, the secret included, and what could not be is listed.
ChangeResult ApplySet(const ChangePlan& plan, const ChangeState& before, const wchar_t* password)
{
    ChangeResult result;
    UniqueRegKey key;
    // Each copy is wiped when dropped: it may be a plain-text password.
    RegistryValue saved[kPlanValueCount];
    SecretCopy secret;
    static_assert(kPlanValueCount + 1 <= ARRAYSIZE(result.unrestored), "room for every value");
    if (plan.ChangesValues())
    {
        result.registry = OpenWinlogon(plan, key);
        if (result.registry.step != ChangeStep::None)
            return result;
        for (unsigned int i = 0; i < kPlanValueCount; ++i)
        {
            const LONG read =
                plan.change[i] ? saved[i].Read(key.Get(), kPlanValueNames[i]) : ERROR_SUCCESS;
            if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND)
            {
                result.registry = RegistryFailure(ChangeStep::SaveValue, read, kPlanValueNames[i]);
                return result; // nothing changed yet
            }
        }
    }
    if (plan.secret == SecretAction::Replace)
    {
        bool opened = false;
        const DWORD copied = CopyDefaultPassword(secret, opened);
        if (copied != ERROR_SUCCESS)
        {
            result.secret = {opened ? ChangeStep::SaveValue : ChangeStep::OpenPolicy, copied,
                             nullptr};
            return result; // nothing changed yet
        }
    }

    if (plan.ChangesValues())
        result.registry = WritePlanned(key.Get(), plan, false);
    bool stored = false;
    if (result.Done() && plan.secret == SecretAction::Replace)
    {
        // A password it replaces must not stay behind as the secret's old value.
        result.secret = StoreDefaultPassword(password, before.secret != SecretFound::NotFound &&
                                                           before.secret != SecretFound::Blank);
        stored = result.Done();
    }
    const auto logon = static_cast<unsigned int>(PlanValue::AutoAdminLogon);
    if (result.Done() && plan.change[logon])
    {
        const LONG written = WriteValue(key.Get(), kAutoAdminLogon, plan.after[logon]);
        if (written != ERROR_SUCCESS)
            result.registry = RegistryFailure(ChangeStep::WriteValue, written, kAutoAdminLogon);
    }
    if (result.Done())
        ReadBack(plan, password, result);
    if (result.Done())
        return result;

    for (unsigned int i = kPlanValueCount; i-- > 0;)
    {
        if (!plan.change[i])
            continue;
        const LONG restored = saved[i].Restore(key.Get(), kPlanValueNames[i]);
        if (restored != ERROR_SUCCESS)
            result.unrestored[result.unrestoredCount++] = {kPlanValueNames[i],
                                                           static_cast<std::uint32_t>(restored)};
    }
    if (stored)
    {
        const StepFailure restored = RestoreSecret(secret);
        if (restored.step != ChangeStep::None)
            result.unrestored[result.unrestoredCount++] = {kSecretName, restored.error};
    }
    return result;
}

// Remove: AutoAdminLogon "0" first, then the rest, then the secret, which it deletes even
// after a registry failure, since switching off is always safe; all of it read back.
ChangeResult ApplyRemove(const ChangePlan& plan)
{
    ChangeResult result;
    if (plan.ChangesValues())
    {
        UniqueRegKey key;
        result.registry = OpenWinlogon(plan, key);
        if (result.registry.step == ChangeStep::None)
            result.registry = WritePlanned(key.Get(), plan, true);
    }
    if (plan.secret == SecretAction::Delete)
        result.secret = DeleteDefaultPassword();
    if (result.Done())
        ReadBack(plan, nullptr, result);
    return result;
}

// Opens what the change would write, with the same access, and closes it unused: the
// Winlogon key when values change, the LSA policy when the secret does. A missing right fails
// here at the step and with the error the real run would meet; nothing is changed.
ChangeResult ProbeChangePlan(const ChangePlan& plan)
{
    ChangeResult result;
    if (plan.ChangesValues())
    {
        UniqueRegKey key;
        result.registry = OpenWinlogon(plan, key);
        // A set stops at its first failure; a remove goes on to the secret.
        if (plan.set && result.registry.step != ChangeStep::None)
            return result;
    }
    if (plan.secret != SecretAction::Keep)
    {
        // A set reads the secret to keep it before it stores the password.
        UniqueLsaHandle policy;
        NTSTATUS opened = plan.secret == SecretAction::Replace
                              ? OpenLocalPolicy(POLICY_GET_PRIVATE_INFORMATION, policy)
                              : 0;
        policy.Reset();
        if (opened == 0)
            opened = OpenLocalPolicy(POLICY_CREATE_SECRET, policy);
        if (opened != 0)
            result.secret = {ChangeStep::OpenPolicy, LsaNtStatusToWinError(opened), nullptr};
    }
    return result;
}
} // namespace

void RunChangePlan(const SetWanted* wanted, RunKind kind, ChangeRun& run)
{
    ReadChangeState(run.before, wanted != nullptr ? wanted->password : nullptr);
    // A restore without the password plans as though the secret held it: the secret is left
    // as it is, and is no change that would rewrite a name in other letters.
    ChangeState planned = run.before;
    if (wanted != nullptr && wanted->password == nullptr)
        planned.secret = SecretFound::Same;
    run.plan = wanted != nullptr ? PlanSet(planned, wanted->domain, wanted->user,
                                           wanted->logonCount, SameAccountName)
                                 : PlanRemove(run.before);
    run.result = ChangeResult();
    run.ran = kind != RunKind::Compare && run.plan.Changes();
    if (!run.ran)
        return;
    if (kind == RunKind::Probe)
        run.result = ProbeChangePlan(run.plan);
    else if (wanted != nullptr)
        run.result = ApplySet(run.plan, run.before, wanted->password);
    else
        run.result = ApplyRemove(run.plan);
}
