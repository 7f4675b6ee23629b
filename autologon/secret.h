// The auto-logon password as the Local Security Authority's private data "DefaultPassword",
// which it keeps encrypted: the password never stands in the registry.
#pragma once
#include <windows.h>

#include "change_result.h"
#include "lsa_policy.h"

// Stores `text` (never null; empty stores an empty value, it does not delete the secret).
// The secret keeps the value it replaces as its "old value": with `clearOldValue` the text is
// stored twice in the same policy session, so that the old value is `text` as well.
// Returns step None, or OpenPolicy or StoreSecret with the Win32 error code of the call that
// failed. Shows and prints nothing: the caller reports.
StepFailure StoreDefaultPassword(const wchar_t* text, bool clearOldValue);

// Deletes the secret, after blanking it twice in the same policy session as a remove always
// has: should the delete fail, neither its current nor its old value holds the password.
// Returns step None, or OpenPolicy or StoreSecret with the Win32 error code of the call that
// failed.
StepFailure DeleteDefaultPassword();

// Opens the policy with what storing or deleting the secret needs; also a dry run's test of
// that right. ERROR_SUCCESS, or the Win32 error with `policy` left empty.
DWORD OpenSecretPolicy(UniqueLsaHandle& policy);
