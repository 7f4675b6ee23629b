#include "writer.h"

#include "autologon.h"
#include "diagnostic.h"
#include "globals.h"
#include "privileges.h"
#include "resource.h"
#include "writer_text.h"

namespace
{
// One character more than a field may hold, and the terminator: a text that fills it is
// too long, and the core refuses it. Nothing is ever cut.
struct Fields
{
    wchar_t password[kFieldLimit + 2];
    wchar_t user[kFieldLimit + 2];
    wchar_t domain[kFieldLimit + 2];
};

int ReadField(HWND dialog, int id, wchar_t (&text)[kFieldLimit + 2])
{
    return GetWindowTextW(GetDlgItem(dialog, id), text, static_cast<int>(ARRAYSIZE(text)));
}

// The lines for whoever redirected standard output: the secret's failing call, then each
// value that could not be put back.
void WriteDiagnostics(const ChangeResult& result)
{
    if (result.secret.step == ChangeStep::OpenPolicy)
        WriteDiagnostic("Failed call to", L"LsaOpenPolicy", result.secret.error);
    else if (result.secret.step == ChangeStep::StoreSecret)
        WriteDiagnostic("Failed call to", L"LsaStorePrivateData", result.secret.error);
    for (size_t i = 0; i < result.unrestoredCount; ++i)
        WriteDiagnostic("Failed to restore", result.unrestored[i].name, result.unrestored[i].error);
}
} // namespace

void WriteAutoLogon(HWND dialog, int mode)
{
    ChangeResult result;
    bool missingInput = false;
    if (mode == 0)
    {
        Fields fields = {};
        ReadField(dialog, IDC_PASSWORD, fields.password);
        ReadField(dialog, IDC_USER, fields.user);
        ReadField(dialog, IDC_DOMAIN, fields.domain);
        missingInput = fields.password[0] == L'\0' || fields.user[0] == L'\0';
        if (!missingInput)
            result =
                SetAutoLogon({fields.domain, fields.user, fields.password, EnablePrivilegesOnce});
        SecureZeroMemory(&fields, sizeof fields);
    }
    else
    {
        result = RemoveAutoLogon(EnablePrivilegesOnce);
    }

    WriteDiagnostics(result);
    // A refused policy has a box of its own first: English, no owner, the default caption.
    if (result.secret.step == ChangeStep::OpenPolicy)
        MessageBoxW(nullptr, L"Failed call to LsaOpenPolicy", nullptr, MB_OK);

    const WriterOutcome outcome =
        missingInput ? WriterOutcome::MissingInput : OutcomeOf(result, mode == 0);
    const WriterMessage message = MessageFor(outcome, g_englishFlag);
    MessageBoxW(dialog, message.text, message.caption, message.error ? MB_ICONERROR : MB_OK);
    if (result.Done() && !missingInput)
        PostQuitMessage(kWriterQuitCode);
}
