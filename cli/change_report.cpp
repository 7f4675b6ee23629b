#include "change_report.h"

#include <cwchar>

#include "error_text.h"
#include "value_text.h"
#include "winlogon_values.h"

namespace
{
// UTF-8, as all texts of the program; non-ASCII letters as \u escapes.
struct ChangeTexts
{
    const char* setDone[3];     // [0] + domain\user + [1] ... [2]
    const char* removeDone[5];  // [0] + what became of the secret, by SecretFate
    const char* setFailed;      // + the step
    const char* removeFailed;   // + the steps, one a line
    const char* steps[9];       // by ChangeStep; SaveValue, WriteValue, ReadBack: + value + end
    const char* valueEnd[3];    // after the value, by SaveValue, WriteValue, ReadBack
    const char* secretSteps[2]; // SaveValue and ReadBack of the secret
    const char* error;          // " (error " + number + ")"
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
    const char* secretWould[4]; // by SecretWill
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
     u8"the LSA secret DefaultPassword could not be written", u8"the value ",
     u8"the account's flags could not be changed"},
    {u8" could not be read", u8" could not be written",
     u8" does not hold what was written: something changed it meanwhile"},
    {u8"the LSA secret DefaultPassword could not be read to be kept",
     u8"the LSA secret DefaultPassword does not hold what was stored: something changed it "
     u8"meanwhile"},
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
    {u8"would be stored", u8"would be replaced",
     u8"would be stored, over one that could not be read", u8"would be deleted"},
    u8"(none)",
    u8"(plain text)",
    u8"(unreadable)",
};

const ChangeTexts kGerman = {
    {u8"Die automatische Anmeldung ist f\u00fcr ", u8" eingeschaltet.\n",
     u8"Das Passwort ist als LSA-Geheimnis DefaultPassword gespeichert, nicht in der "
     u8"Registrierung.\n"},
    {u8"Die automatische Anmeldung ist ausgeschaltet",
     u8", und es ist kein Passwort gespeichert.\n",
     u8", und das gespeicherte Passwort ist gel\u00f6scht.\n",
     u8", und das leere LSA-Geheimnis ist gel\u00f6scht.\n",
     u8", und das LSA-Geheimnis ist gel\u00f6scht.\n"},
    u8"tarvelin-cli: die automatische Anmeldung lie\u00df sich nicht einschalten: ",
    u8"tarvelin-cli: die automatische Anmeldung lie\u00df sich nicht vollst\u00e4ndig "
    u8"ausschalten:\n",
    {u8"", u8"Benutzername, Passwort oder Dom\u00e4ne ist leer oder zu lang",
     u8"der Winlogon-Schl\u00fcssel lie\u00df sich nicht \u00f6ffnen", u8"der Wert ", u8"der Wert ",
     u8"die lokale Sicherheitsautorit\u00e4t (LSA) hat ihre Richtlinie nicht ge\u00f6ffnet",
     u8"das LSA-Geheimnis DefaultPassword lie\u00df sich nicht schreiben", u8"der Wert ",
     u8"die Kontoeinstellungen lie\u00dfen sich nicht \u00e4ndern"},
    {u8" lie\u00df sich nicht lesen", u8" lie\u00df sich nicht schreiben",
     u8" enth\u00e4lt nicht, was geschrieben wurde: Etwas anderes hat ihn inzwischen "
     u8"ge\u00e4ndert"},
    {u8"das LSA-Geheimnis DefaultPassword lie\u00df sich nicht lesen, um es aufzubewahren",
     u8"das LSA-Geheimnis DefaultPassword enth\u00e4lt nicht, was gespeichert wurde: Etwas "
     u8"anderes hat es inzwischen ge\u00e4ndert"},
    u8" (Fehler ",
    u8"Nichts wurde ge\u00e4ndert.\n",
    u8"Alle Werte wurden wiederhergestellt.\n",
    u8"Diese Werte lie\u00dfen sich nicht wiederherstellen: ",
    u8". Pr\u00fcfen Sie sie mit tarvelin-cli status.\n",
    u8"Die automatische Anmeldung ist aus.\n",
    u8"Die automatische Anmeldung ist m\u00f6glicherweise noch an.\n",
    {u8"Es ist kein Passwort gespeichert.\n", u8"Das LSA-Geheimnis ist gel\u00f6scht.\n"},
    u8"Das gespeicherte Passwort ist m\u00f6glicherweise noch vorhanden.\n",
    {u8"Die automatische Anmeldung ist schon f\u00fcr ", u8" eingerichtet, "},
    u8"Die automatische Anmeldung ist schon aus, und es ist kein Passwort gespeichert, ",
    {u8"daher wurde nichts ge\u00e4ndert.\n", u8"daher w\u00fcrde sich nichts \u00e4ndern.\n"},
    u8"Folgendes w\u00fcrde sich \u00e4ndern:\n",
    u8"  gespeichertes Passwort: ",
    {u8"w\u00fcrde gespeichert", u8"w\u00fcrde ersetzt",
     u8"w\u00fcrde gespeichert, anstelle eines nicht lesbaren", u8"w\u00fcrde gel\u00f6scht"},
    u8"(fehlt)",
    u8"(Klartext)",
    u8"(nicht lesbar)",
};

void AddStep(const StepFailure& failure, const ChangeTexts& texts, TextBuffer& out)
{
    const bool save = failure.step == ChangeStep::SaveValue;
    const bool readBack = failure.step == ChangeStep::ReadBack;
    if ((save || readBack) && failure.value == nullptr) // the secret's
        out.Add(texts.secretSteps[save ? 0 : 1]);
    else
        out.Add(texts.steps[static_cast<int>(failure.step)]);
    if ((save || readBack || failure.step == ChangeStep::WriteValue) && failure.value != nullptr)
        out.Add(failure.value).Add(texts.valueEnd[save ? 0 : readBack ? 2 : 1]);
    if (failure.error != 0)
        AddErrorNumber(out.Add(texts.error), failure.error).Add(L')');
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

void PutBack(const UnrestoredValue* unrestored, std::size_t count, const ChangeTexts& texts,
             TextBuffer& out)
{
    if (count == 0)
    {
        out.Add(texts.putBack);
        return;
    }
    out.Add(texts.notPutBack);
    for (std::size_t i = 0; i < count; ++i)
    {
        if (i > 0)
            out.Add(L", ");
        out.Add(unrestored[i].name).Add(texts.error);
        AddErrorNumber(out, unrestored[i].error).Add(L')');
    }
    out.Add(texts.notPutBackEnd);
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
    if (result.unrestoredCount == 0 && beforeWrites)
        out.Add(texts.nothingChanged);
    else
        PutBack(result.unrestored, result.unrestoredCount, texts, out);
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

// What a dry run says of the secret: a password is only ever said to be replaced where one is
// there.
int SecretWill(const ChangePlan& plan, const ChangeState& before)
{
    if (plan.secret == SecretAction::Delete)
        return 3;
    if (before.secret == SecretFound::Unreadable)
        return 2;
    return before.secret == SecretFound::NotFound || before.secret == SecretFound::Blank ? 0 : 1;
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
        out.Add(L"  ");
        AddValueChange(out, kPlanValueNames[i], before.values[i], before.unreadable[i],
                       plan.after[i], &texts == &kGerman);
        out.Add(L'\n');
    }
    if (plan.secret != SecretAction::Keep)
        out.Add(texts.secretLabel).Add(texts.secretWould[SecretWill(plan, before)]).Add(L'\n');
}
} // namespace

void AddStepWords(const StepFailure& failure, bool german, TextBuffer& out)
{
    AddStep(failure, german ? kGerman : kEnglish, out);
}

void AddPutBack(const UnrestoredValue* unrestored, std::size_t count, bool german, TextBuffer& out)
{
    PutBack(unrestored, count, german ? kGerman : kEnglish, out);
}

void AddValueChange(TextBuffer& out, const wchar_t* name, const ValueForm& before, bool unreadable,
                    const ValueForm& after, bool german)
{
    const ChangeTexts& texts = german ? kGerman : kEnglish;
    const bool password = std::wcscmp(name, kDefaultPassword) == 0;
    // A count is a number, everything else a text; a DefaultPassword is told by its type alone.
    const std::uint32_t expected = std::wcscmp(name, kDefaultPassword) == 0 ||
                                           std::wcscmp(name, kAutoAdminLogon) == 0 ||
                                           std::wcscmp(name, kDefaultDomainName) == 0 ||
                                           std::wcscmp(name, kDefaultUserName) == 0
                                       ? kRegSz
                                       : kRegDword;
    out.Add(name).Add(L": ");
    if (unreadable)
        out.Add(texts.unreadable);
    else if (password)
        out.Add(before.present ? texts.plainText : texts.none);
    else
        AddPlainValue(out, before, expected, texts.none);
    out.Add(L" -> ");
    AddPlainValue(out, after, expected, texts.none);
}

ChangeReport ReportOf(const ChangeRun& run, const SetWanted* wanted, bool check)
{
    ChangeReport report;
    report.set = wanted != nullptr;
    report.check = check;
    if (wanted != nullptr)
    {
        report.domain = wanted->domain;
        report.user = wanted->user;
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
           ((registry.step == ChangeStep::WriteValue || registry.step == ChangeStep::ReadBack) &&
            registry.value != nullptr && std::wcscmp(registry.value, kAutoAdminLogon) != 0);
}

bool RemoveLeavesNoSecret(const ChangeReport& report)
{
    if (report.plan->secret == SecretAction::Keep)
        return true;
    return !report.check && report.result != nullptr &&
           report.result->secret.step == ChangeStep::None;
}
