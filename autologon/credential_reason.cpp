#include "credential_reason.h"

namespace
{
// Win32 error numbers (winerror.h), spelled out so that this file needs no Windows headers.
constexpr unsigned long kNoSuchUser = 1317;          // ERROR_NO_SUCH_USER
constexpr unsigned long kLogonFailure = 1326;        // ERROR_LOGON_FAILURE
constexpr unsigned long kAccountRestriction = 1327;  // ERROR_ACCOUNT_RESTRICTION
constexpr unsigned long kInvalidLogonHours = 1328;   // ERROR_INVALID_LOGON_HOURS
constexpr unsigned long kInvalidWorkstation = 1329;  // ERROR_INVALID_WORKSTATION
constexpr unsigned long kPasswordExpired = 1330;     // ERROR_PASSWORD_EXPIRED
constexpr unsigned long kAccountDisabled = 1331;     // ERROR_ACCOUNT_DISABLED
constexpr unsigned long kLogonNotGranted = 1380;     // ERROR_LOGON_NOT_GRANTED
constexpr unsigned long kLogonTypeNotGranted = 1385; // ERROR_LOGON_TYPE_NOT_GRANTED
constexpr unsigned long kAccountExpired = 1793;      // ERROR_ACCOUNT_EXPIRED
constexpr unsigned long kPasswordMustChange = 1907;  // ERROR_PASSWORD_MUST_CHANGE
constexpr unsigned long kAccountLockedOut = 1909;    // ERROR_ACCOUNT_LOCKED_OUT
} // namespace

CredentialReason ReasonForLogonError(unsigned long error)
{
    switch (error)
    {
    case 0:
        return CredentialReason::Accepted;
    case kNoSuchUser:
    case kLogonFailure:
        return CredentialReason::WrongNameOrPassword;
    case kPasswordExpired:
    case kPasswordMustChange:
        return CredentialReason::PasswordExpired;
    case kAccountDisabled:
    case kAccountLockedOut:
    case kAccountExpired:
    case kAccountRestriction:
    case kInvalidLogonHours:
    case kInvalidWorkstation:
        return CredentialReason::AccountRestricted;
    case kLogonNotGranted:
    case kLogonTypeNotGranted:
        return CredentialReason::LogonTypeNotGranted;
    default:
        return CredentialReason::NotChecked;
    }
}
