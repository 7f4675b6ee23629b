#include "change_report.h"

#include <cwchar>

namespace
{
// Non-ASCII letters as \u escapes, so that the source reads the same to every compiler.
struct ChangeTexts
{
    const wchar_t* setDone[3]; // [0] + domain\user + [1] ... [2]
    const wchar_t* removeDone;
    const wchar_t* setFailed;    // + the step
    const wchar_t* removeFailed; // + the steps, one a line
    const wchar_t* steps[7];     // by ChangeStep; SaveValue and WriteValue: + value + [1]
    const wchar_t* valueEnd[2];  // [0] after a SaveValue value, [1] after a WriteValue value
    const wchar_t* error;        // " (error " + number + ")"
    const wchar_t* nothingChanged;
    const wchar_t* putBack;
    const wchar_t* notPutBack; // + "name (error n)", ... + notPutBackEnd
    const wchar_t* notPutBackEnd;
    const wchar_t* isOff;
    const wchar_t* mayBeOn;
    const wchar_t* secretBlanked;
    const wchar_t* secretNotBlanked;
};

const ChangeTexts kEnglish = {
    {L"Automatic logon is on for ", L".\n",
     L"The password is stored as the LSA secret DefaultPassword, not in the registry.\n"},
    L"Automatic logon is off, and the stored password is blanked.\n",
    L"tarvelin-cli: automatic logon could not be switched on: ",
    L"tarvelin-cli: automatic logon could not be switched off completely:\n",
    {L"", L"the user name, the password or the domain is empty or too long",
     L"the Winlogon key could not be opened", L"the value ", L"the value ",
     L"the Local Security Authority did not open its policy",
     L"the LSA secret DefaultPassword could not be written"},
    {L" could not be read", L" could not be written"},
    L" (error ",
    L"Nothing was changed.\n",
    L"Every value was put back as it was.\n",
    L"These values could not be put back as they were: ",
    L". Check them with tarvelin-cli status.\n",
    L"Automatic logon is off.\n",
    L"Automatic logon may still be on.\n",
    L"The stored password is blanked.\n",
    L"The stored password may still be there.\n",
};

const ChangeTexts kGerman = {
    {L"Die automatische Anmeldung ist an f\u00fcr ", L".\n",
     L"Das Passwort liegt als LSA-Geheimnis DefaultPassword vor, nicht in der "
     L"Registrierung.\n"},
    L"Die automatische Anmeldung ist aus, und das gespeicherte Passwort ist geleert.\n",
    L"tarvelin-cli: die automatische Anmeldung konnte nicht eingeschaltet werden: ",
    L"tarvelin-cli: die automatische Anmeldung konnte nicht vollst\u00e4ndig ausgeschaltet "
    L"werden:\n",
    {L"", L"Benutzername, Passwort oder Dom\u00e4ne ist leer oder zu lang",
     L"der Winlogon-Schl\u00fcssel lie\u00df sich nicht \u00f6ffnen", L"der Wert ", L"der Wert ",
     L"die lokale Sicherheitsautorit\u00e4t hat ihre Richtlinie nicht ge\u00f6ffnet",
     L"das LSA-Geheimnis DefaultPassword lie\u00df sich nicht schreiben"},
    {L" lie\u00df sich nicht lesen", L" lie\u00df sich nicht schreiben"},
    L" (Fehler ",
    L"Nichts wurde ge\u00e4ndert.\n",
    L"Jeder Wert wurde wiederhergestellt.\n",
    L"Diese Werte lie\u00dfen sich nicht wiederherstellen: ",
    L". Pr\u00fcfen Sie sie mit tarvelin-cli status.\n",
    L"Die automatische Anmeldung ist aus.\n",
    L"Die automatische Anmeldung ist vielleicht noch an.\n",
    L"Das gespeicherte Passwort ist geleert.\n",
    L"Das gespeicherte Passwort ist vielleicht noch vorhanden.\n",
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
    // AutoAdminLogon "0" is written first: only a failure at or before it leaves logon on.
    const StepFailure& registry = result.registry;
    const bool off = registry.step == ChangeStep::None ||
                     (registry.step == ChangeStep::WriteValue && registry.value != nullptr &&
                      std::wcscmp(registry.value, L"AutoAdminLogon") != 0);
    out.Add(off ? texts.isOff : texts.mayBeOn);
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
