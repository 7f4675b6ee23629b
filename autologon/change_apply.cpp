#include "change_apply.h"

#include <windows.h>

#include "account_name.h"
#include "change_state.h"
#include "registry_value.h"
#include "secret.h"
#include "winlogon_write.h"

namespace
{
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

// Writes the planned values in order; stops at the first that fails.
StepFailure WritePlanned(HKEY key, const ChangePlan& plan)
{
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!plan.change[i])
            continue;
        const LONG written = WriteValue(key, kPlanValueNames[i], plan.after[i]);
        if (written != ERROR_SUCCESS)
            return RegistryFailure(ChangeStep::WriteValue, written, kPlanValueNames[i]);
    }
    return {};
}

ChangeResult ApplySet(const ChangePlan& plan, const wchar_t* password)
{
    ChangeResult result;
    UniqueRegKey key;
    // Each copy is wiped when dropped: it may be a plain-text password.
    RegistryValue saved[kPlanValueCount];
    static_assert(kPlanValueCount <= ARRAYSIZE(result.unrestored), "room for every value");
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
        result.registry = WritePlanned(key.Get(), plan);
    }
    if (result.registry.step == ChangeStep::None && plan.secret == SecretAction::Replace)
        result.secret = StoreDefaultPassword(password, false);
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
    return result;
}

ChangeResult ApplyRemove(const ChangePlan& plan)
{
    ChangeResult result;
    if (plan.ChangesValues())
    {
        UniqueRegKey key;
        result.registry = OpenWinlogon(plan, key);
        if (result.registry.step == ChangeStep::None)
            result.registry = WritePlanned(key.Get(), plan);
    }
    if (plan.secret == SecretAction::Delete)
        result.secret = DeleteDefaultPassword();
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
        UniqueLsaHandle policy;
        if (const DWORD opened = OpenSecretPolicy(policy); opened != ERROR_SUCCESS)
            result.secret = {ChangeStep::OpenPolicy, opened, nullptr};
    }
    return result;
}
} // namespace

void RunChangePlan(const SetWanted* wanted, RunKind kind, ChangeRun& run)
{
    ReadChangeState(run.before, wanted != nullptr ? wanted->password : nullptr);
    run.plan = wanted != nullptr ? PlanSet(run.before, wanted->domain, wanted->user,
                                           wanted->logonCount, SameAccountName)
                                 : PlanRemove(run.before);
    run.result = ChangeResult();
    run.ran = kind != RunKind::Compare && run.plan.Changes();
    if (!run.ran)
        return;
    if (kind == RunKind::Probe)
        run.result = ProbeChangePlan(run.plan);
    else if (wanted != nullptr)
        run.result = ApplySet(run.plan, wanted->password);
    else
        run.result = ApplyRemove(run.plan);
}
