#include "change_report.h"

#include <cwchar>

#include "value_text.h"
#include "winlogon_values.h"

namespace
{
// UTF-8, as all texts of the program; non-ASCII letters as \u escapes.
struct ChangeTexts
{
    const char* setDone[3];    // [0] + domain\user + [1] ... [2]
    const char* removeDone[5]; // [0] + what became of the secret, by SecretFate
    const char* setFailed;     // + the step
    const char* removeFailed;  // + the steps, one a line
    const char* steps[7];      // by ChangeStep; SaveValue and WriteValue: + value + [1]
    const char* valueEnd[2];   // [0] after a SaveValue value, [1] after a WriteValue value
    const char* error;         // " (error " + number + ")"
    const char* nothingChanged;
    const char* putBack;
    const char* notPutBack; // + "name (error n)", ... + notPutBackEnd
    const char* notPutBackEnd;
    const char* isOff;
    const char* mayBeOn;
    const char* secretAfter[2]; // by SecretFate after a failure: none stored, deleted
    const char* secretMayStay;

    // When nothing is to change, and the dry run.
    const char* alreadySet[2]; // [0] + domain\user + [1]
    const char* alreadyOff;
    const char* nothingChangedEnd[2]; // after the two above: changed, would change
    const char* wouldChange;
    const char* secretLabel;
    const char* secretWould[2]; // be replaced, be deleted
    const char* none;
    const char* plainText; // a DefaultPassword value, never its text
    const char* unreadable;
};

const ChangeTexts kEnglish = {
    {u8"Automatic logon is on for ", u8".\n",
     u8"The password is stored as the LSA secret DefaultPassword, not in the registry.\n"},
    {u8"Automatic logon is off", u8", and no password is stored.\n",
     u8", and the stored password is deleted.\n", u8", and the empty password secret is deleted.\n",
     u8", and the password secret is deleted.\n"},
    u8"tarvelin-cli: automatic logon could not be switched on: ",
    u8"tarvelin-cli: automatic logon could not be switched off completely:\n",
    {u8"", u8"the user name, the password or the domain is empty or too long",
     u8"the Winlogon key could not be opened", u8"the value ", u8"the value ",
     u8"the Local Security Authority did not open its policy",
     u8"the LSA secret DefaultPassword could not be written"},
    {u8" could not be read", u8" could not be written"},
    u8" (error ",
    u8"Nothing was changed.\n",
    u8"Every value was put back as it was.\n",
    u8"These values could not be put back as they were: ",
    u8". Check them with tarvelin-cli status.\n",
    u8"Automatic logon is off.\n",
    u8"Automatic logon may still be on.\n",
    {u8"No password is stored.\n", u8"The password secret is deleted.\n"},
    u8"The stored password may still be there.\n",
    {u8"Automatic logon is already set up for ", u8", "},
    u8"Automatic logon is already off, and no password is stored, ",
    {u8"so nothing changed.\n", u8"so nothing would change.\n"},
    u8"Would change:\n",
    u8"  password secret: ",
    {u8"would be replaced", u8"would be deleted"},
    u8"(none)",
    u8"(plain text)",
    u8"(unreadable)",
};

const ChangeTexts kGerman = {
    {u8"Die automatische Anmeldung ist an f\u00fcr ", u8".\n",
     u8"Das Passwort liegt als LSA-Geheimnis DefaultPassword vor, nicht in der "
     u8"Registrierung.\n"},
    {u8"Die automatische Anmeldung ist aus", u8", und kein Passwort ist gespeichert.\n",
     u8", und das gespeicherte Passwort ist gel\u00f6scht.\n",
     u8", und das leere Passwort-Geheimnis ist gel\u00f6scht.\n",
     u8", und das Passwort-Geheimnis ist gel\u00f6scht.\n"},
    u8"tarvelin-cli: die automatische Anmeldung konnte nicht eingeschaltet werden: ",
    u8"tarvelin-cli: die automatische Anmeldung konnte nicht vollst\u00e4ndig ausgeschaltet "
    u8"werden:\n",
    {u8"", u8"Benutzername, Passwort oder Dom\u00e4ne ist leer oder zu lang",
     u8"der Winlogon-Schl\u00fcssel lie\u00df sich nicht \u00f6ffnen", u8"der Wert ", u8"der Wert ",
     u8"die lokale Sicherheitsautorit\u00e4t hat ihre Richtlinie nicht ge\u00f6ffnet",
     u8"das LSA-Geheimnis DefaultPassword lie\u00df sich nicht schreiben"},
    {u8" lie\u00df sich nicht lesen", u8" lie\u00df sich nicht schreiben"},
    u8" (Fehler ",
    u8"Nichts wurde ge\u00e4ndert.\n",
    u8"Jeder Wert wurde wiederhergestellt.\n",
    u8"Diese Werte lie\u00dfen sich nicht wiederherstellen: ",
    u8". Pr\u00fcfen Sie sie mit tarvelin-cli status.\n",
    u8"Die automatische Anmeldung ist aus.\n",
    u8"Die automatische Anmeldung ist vielleicht noch an.\n",
    {u8"Kein Passwort ist gespeichert.\n", u8"Das Passwort-Geheimnis ist gel\u00f6scht.\n"},
    u8"Das gespeicherte Passwort ist vielleicht noch vorhanden.\n",
    {u8"Die automatische Anmeldung ist schon eingerichtet f\u00fcr ", u8", "},
    u8"Die automatische Anmeldung ist schon aus, und kein Passwort ist gespeichert, ",
    {u8"also wurde nichts ge\u00e4ndert.\n", u8"also w\u00fcrde sich nichts \u00e4ndern.\n"},
    u8"Folgendes w\u00fcrde sich \u00e4ndern:\n",
    u8"  Passwort-Geheimnis: ",
    {u8"w\u00fcrde ersetzt werden", u8"w\u00fcrde gel\u00f6scht werden"},
    u8"(keiner)",
    u8"(Klartext)",
    u8"(nicht lesbar)",
};

void AddStep(const StepFailure& failure, const ChangeTexts& texts, TextBuffer& out)
{
    out.Add(texts.steps[static_cast<int>(failure.step)]);
    if (failure.step == ChangeStep::SaveValue || failure.step == ChangeStep::WriteValue)
    {
        out.Add(failure.value != nullptr ? failure.value : L"?");
        out.Add(texts.valueEnd[failure.step == ChangeStep::SaveValue ? 0 : 1]);
    }
    out.Add(texts.error).AddNumber(failure.error).Add(L')');
}

// What a remove does with the secret, by what it found there: it is only ever said to have
// held a password when it did.
enum SecretFate : int
{
    NoneStored = 1,
    HeldPassword,
    WasBlank,
    WasUnreadable,
};

SecretFate FateOf(const ChangeReport& report)
{
    if (report.plan->secret == SecretAction::Keep)
        return NoneStored;
    switch (report.before->secret)
    {
    case SecretFound::Blank:
        return WasBlank;
    case SecretFound::Same:
    case SecretFound::Different:
        return HeldPassword;
    case SecretFound::NotFound:
    case SecretFound::Unreadable:
        break;
    }
    return WasUnreadable;
}

void ComposeSetFailure(const ChangeReport& report, const ChangeTexts& texts, TextBuffer& out)
{
    const ChangeResult& result = *report.result;
    const StepFailure& failure =
        result.registry.step != ChangeStep::None ? result.registry : result.secret;
    out.Add(texts.setFailed);
    AddStep(failure, texts, out);
    out.Add(L".\n");
    // Before the first write nothing was touched; after it, the saved values went back.
    const bool beforeWrites =
        report.check || failure.step == ChangeStep::Input || failure.step == ChangeStep::OpenKey ||
        failure.step == ChangeStep::SaveValue || !report.plan->ChangesValues();
    if (result.unrestoredCount == 0)
    {
        out.Add(beforeWrites ? texts.nothingChanged : texts.putBack);
        return;
    }
    out.Add(texts.notPutBack);
    for (std::size_t i = 0; i < result.unrestoredCount; ++i)
    {
        if (i > 0)
            out.Add(L", ");
        out.Add(result.unrestored[i].name).Add(texts.error);
        out.AddNumber(result.unrestored[i].error).Add(L')');
    }
    out.Add(texts.notPutBackEnd);
}

void ComposeRemoveFailure(const ChangeReport& report, const ChangeTexts& texts, TextBuffer& out)
{
    const ChangeResult& result = *report.result;
    out.Add(texts.removeFailed);
    const StepFailure* const failures[] = {&result.registry, &result.secret};
    for (const StepFailure* failure : failures)
    {
        if (failure->step == ChangeStep::None)
            continue;
        out.Add(L"  ");
        AddStep(*failure, texts, out);
        out.Add(L".\n");
    }
    if (report.check)
    {
        out.Add(texts.nothingChanged);
        return;
    }
    out.Add(RemoveLeavesOff(report) ? texts.isOff : texts.mayBeOn);
    if (!RemoveLeavesNoSecret(report))
        out.Add(texts.secretMayStay);
    else
        out.Add(texts.secretAfter[FateOf(report) == NoneStored ? 0 : 1]);
}

void ComposePlan(const ChangeReport& report, const ChangeTexts& texts, TextBuffer& out)
{
    const ChangePlan& plan = *report.plan;
    const ChangeState& before = *report.before;
    if (!plan.Changes())
    {
        if (report.set)
        {
            out.Add(texts.alreadySet[0]);
            if (report.domain[0] != L'\0')
                out.Add(report.domain).Add(L'\\');
            out.Add(report.user).Add(texts.alreadySet[1]);
        }
        else
            out.Add(texts.alreadyOff);
        out.Add(texts.nothingChangedEnd[report.check ? 1 : 0]);
        return;
    }
    out.Add(texts.wouldChange);
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!plan.change[i])
            continue;
        const std::uint32_t expected =
            i == static_cast<unsigned int>(PlanValue::AutoLogonCount) ? kRegDword : kRegSz;
        out.Add(L"  ").Add(kPlanValueNames[i]).Add(L": ");
        if (before.unreadable[i])
            out.Add(texts.unreadable);
        else if (i == static_cast<unsigned int>(PlanValue::DefaultPassword))
            out.Add(before.values[i].present ? texts.plainText : texts.none);
        else
            AddPlainValue(out, before.values[i], expected, texts.none);
        out.Add(L" -> ");
        AddPlainValue(out, plan.after[i], expected, texts.none);
        out.Add(L'\n');
    }
    if (plan.secret != SecretAction::Keep)
    {
        out.Add(texts.secretLabel)
            .Add(texts.secretWould[plan.secret == SecretAction::Replace ? 0 : 1])
            .Add(L'\n');
    }
}
} // namespace

ChangeReport ReportOf(const ChangeRun& run, const SetWanted* wanted, bool check)
{
    ChangeReport report;
    report.set = wanted != nullptr;
    report.check = check;
    if (wanted != nullptr)
    {
        report.domain = wanted->domain;
        report.user = wanted->user;
        report.logonCount = wanted->logonCount;
    }
    report.before = &run.before;
    report.plan = &run.plan;
    report.result = run.ran ? &run.result : nullptr;
    return report;
}

bool ComposeChangeReport(const ChangeReport& report, bool german, TextBuffer& out)
{
    const ChangeTexts& texts = german ? kGerman : kEnglish;
    if (report.Failed())
    {
        if (report.set)
            ComposeSetFailure(report, texts, out);
        else
            ComposeRemoveFailure(report, texts, out);
        return false;
    }
    if (report.check || report.result == nullptr)
    {
        ComposePlan(report, texts, out);
        return true;
    }
    if (!report.set)
    {
        out.Add(texts.removeDone[0]).Add(texts.removeDone[FateOf(report)]);
        return true;
    }
    out.Add(texts.setDone[0]);
    if (report.domain[0] != L'\0')
        out.Add(report.domain).Add(L'\\');
    out.Add(report.user).Add(texts.setDone[1]).Add(texts.setDone[2]);
    return true;
}

bool RemoveLeavesOff(const ChangeReport& report)
{
    if (!report.plan->change[static_cast<unsigned int>(PlanValue::AutoAdminLogon)])
        return true;
    if (report.check || report.result == nullptr)
        return false;
    const StepFailure& registry = report.result->registry;
    return registry.step == ChangeStep::None ||
           (registry.step == ChangeStep::WriteValue && registry.value != nullptr &&
            std::wcscmp(registry.value, kAutoAdminLogon) != 0);
}

bool RemoveLeavesNoSecret(const ChangeReport& report)
{
    if (report.plan->secret == SecretAction::Keep)
        return true;
    return !report.check && report.result != nullptr &&
           report.result->secret.step == ChangeStep::None;
}
