#include "change_report.h"

#include <cwchar>

#include "value_text.h"
#include "winlogon_values.h"

namespace
{
// UTF-8, as all texts of the program; non-ASCII letters as \u escapes.
struct ChangeTexts
{
    const char* setDone[3]; // [0] + domain\user + [1] ... [2]
    const char* removeDone;
    const char* setFailed;    // + the step
    const char* removeFailed; // + the steps, one a line
    const char* steps[7];     // by ChangeStep; SaveValue and WriteValue: + value + [1]
    const char* valueEnd[2];  // [0] after a SaveValue value, [1] after a WriteValue value
    const char* error;        // " (error " + number + ")"
    const char* nothingChanged;
    const char* putBack;
    const char* notPutBack; // + "name (error n)", ... + notPutBackEnd
    const char* notPutBackEnd;
    const char* isOff;
    const char* mayBeOn;
    const char* secretBlanked;
    const char* secretNotBlanked;

    // When nothing is to change, and the dry run.
    const char* alreadySet[2]; // [0] + domain\user + [1]
    const char* alreadyOff;
    const char* nothingChangedEnd[2]; // after the two above: changed, would change
    const char* wouldChange;
    const char* secretLabel;
    const char* secretWould[2]; // be replaced, be blanked
    const char* none;
    const char* plainText; // a DefaultPassword value, never its text
    const char* unreadable;
};

const ChangeTexts kEnglish = {
    {u8"Automatic logon is on for ", u8".\n",
     u8"The password is stored as the LSA secret DefaultPassword, not in the registry.\n"},
    u8"Automatic logon is off, and the stored password is blanked.\n",
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
    u8"The stored password is blanked.\n",
    u8"The stored password may still be there.\n",
    {u8"Automatic logon is already set up for ", u8", "},
    u8"Automatic logon is already off, and no password is stored, ",
    {u8"so nothing changed.\n", u8"so nothing would change.\n"},
    u8"Would change:\n",
    u8"  password secret: ",
    {u8"would be replaced", u8"would be blanked"},
    u8"(none)",
    u8"(plain text)",
    u8"(unreadable)",
};

const ChangeTexts kGerman = {
    {u8"Die automatische Anmeldung ist an f\u00fcr ", u8".\n",
     u8"Das Passwort liegt als LSA-Geheimnis DefaultPassword vor, nicht in der "
     u8"Registrierung.\n"},
    u8"Die automatische Anmeldung ist aus, und das gespeicherte Passwort ist geleert.\n",
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
    u8"Das gespeicherte Passwort ist geleert.\n",
    u8"Das gespeicherte Passwort ist vielleicht noch vorhanden.\n",
    {u8"Die automatische Anmeldung ist schon eingerichtet f\u00fcr ", u8", "},
    u8"Die automatische Anmeldung ist schon aus, und kein Passwort ist gespeichert, ",
    {u8"also wurde nichts ge\u00e4ndert.\n", u8"also w\u00fcrde sich nichts \u00e4ndern.\n"},
    u8"W\u00fcrde \u00e4ndern:\n",
    u8"  Passwort-Geheimnis: ",
    {u8"w\u00fcrde ersetzt", u8"w\u00fcrde geleert"},
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

void ComposeSetFailure(const ChangeResult& result, const ChangeTexts& texts, TextBuffer& out)
{
    const StepFailure& failure =
        result.registry.step != ChangeStep::None ? result.registry : result.secret;
    out.Add(texts.setFailed);
    AddStep(failure, texts, out);
    out.Add(L".\n");
    // Before the first write nothing was touched; after it, the saved values went back.
    const bool beforeWrites = failure.step == ChangeStep::Input ||
                              failure.step == ChangeStep::OpenKey ||
                              failure.step == ChangeStep::SaveValue;
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

void ComposeRemoveFailure(const ChangeResult& result, const ChangeTexts& texts, TextBuffer& out)
{
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
    out.Add(RemoveLeftOff(result) ? texts.isOff : texts.mayBeOn);
    out.Add(result.secret.step == ChangeStep::None ? texts.secretBlanked : texts.secretNotBlanked);
}
} // namespace

bool ComposeChangeReport(const ChangeResult& result, bool set, const wchar_t* domain,
                         const wchar_t* user, bool german, TextBuffer& out)
{
    const ChangeTexts& texts = german ? kGerman : kEnglish;
    if (result.Done())
    {
        if (!set)
        {
            out.Add(texts.removeDone);
            return true;
        }
        out.Add(texts.setDone[0]);
        if (domain[0] != L'\0')
            out.Add(domain).Add(L'\\');
        out.Add(user).Add(texts.setDone[1]).Add(texts.setDone[2]);
        return true;
    }
    if (set)
        ComposeSetFailure(result, texts, out);
    else
        ComposeRemoveFailure(result, texts, out);
    return false;
}

void ComposePlanReport(const ChangeState& before, const ChangePlan& plan, bool set, bool check,
                       const wchar_t* domain, const wchar_t* user, bool german, TextBuffer& out)
{
    const ChangeTexts& texts = german ? kGerman : kEnglish;
    if (!plan.Changes())
    {
        if (set)
        {
            out.Add(texts.alreadySet[0]);
            if (domain[0] != L'\0')
                out.Add(domain).Add(L'\\');
            out.Add(user).Add(texts.alreadySet[1]);
        }
        else
            out.Add(texts.alreadyOff);
        out.Add(texts.nothingChangedEnd[check ? 1 : 0]);
        return;
    }
    out.Add(texts.wouldChange);
    for (unsigned int i = 0; i < kPlanValueCount; ++i)
    {
        if (!plan.change[i])
            continue;
        out.Add(L"  ").Add(kPlanValueNames[i]).Add(L": ");
        if (before.unreadable[i])
            out.Add(texts.unreadable);
        else if (i == static_cast<unsigned int>(PlanValue::DefaultPassword))
            out.Add(before.values[i].present ? texts.plainText : texts.none);
        else
            AddPlainValue(out, before.values[i], texts.none);
        out.Add(L" -> ");
        AddPlainValue(out, plan.after[i], texts.none);
        out.Add(L'\n');
    }
    if (plan.secret != SecretAction::Keep)
    {
        out.Add(texts.secretLabel)
            .Add(texts.secretWould[plan.secret == SecretAction::Replace ? 0 : 1])
            .Add(L'\n');
    }
}

bool RemoveLeftOff(const ChangeResult& result)
{
    const StepFailure& registry = result.registry;
    return registry.step == ChangeStep::None ||
           (registry.step == ChangeStep::WriteValue && registry.value != nullptr &&
            std::wcscmp(registry.value, kAutoAdminLogon) != 0);
}
