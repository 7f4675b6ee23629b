#include "writer_text.h"

namespace
{
struct Texts
{
    const wchar_t* english;
    const wchar_t* german;
};

// Indexed by WriterOutcome.
const Texts kMessages[] = {
    {L"The Autologin cannot be configured without Password and / or Username!",
     L"Das Autologin kann nicht ohne Passwort und / oder Benutzername konfiguriert werden!"},
    {L"Autologin cannot be configured!", L"Autologin kann nicht konfiguriert Werden!"},
    {L"Autologin configured successfully.\n\nThe autologin password is encrypted",
     L"Autologin erfolgreich konfiguriert.\n\nDas Autologin-Passwort ist verschl\u00fcsselt"},
    {L"Autologin was deactivated successfully!", L"Autologin wurde erfolgreich deaktiviert!"},
    {L"Autologin cannot be configured, and the previous settings could not all be restored!",
     L"Autologin kann nicht konfiguriert werden, und die vorherigen Einstellungen konnten nicht "
     L"alle wiederhergestellt werden!"},
};
} // namespace

WriterMessage MessageFor(WriterOutcome outcome, int englishFlag)
{
    const Texts& texts = kMessages[static_cast<int>(outcome)];
    const bool english = englishFlag != 0;
    const bool error = outcome != WriterOutcome::SetDone && outcome != WriterOutcome::RemoveDone;
    return {english ? texts.english : texts.german,
            english ? L"Automatic Login" : L"Automatische Anmeldung", error};
}

WriterOutcome OutcomeOf(const ChangeResult& result, bool set)
{
    if (result.Done())
        return set ? WriterOutcome::SetDone : WriterOutcome::RemoveDone;
    return result.unrestoredCount > 0 ? WriterOutcome::NotRestored : WriterOutcome::Failed;
}
