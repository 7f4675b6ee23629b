#include <gtest/gtest.h>

#include "credential_reason.h"

// The errors LogonUserW gives, grouped into the reasons a user can act on.
TEST(CredentialReason, LogonErrorsByKind)
{
    const struct
    {
        unsigned long error;
        CredentialReason reason;
    } cases[] = {
        {0, CredentialReason::Accepted},
        {1326, CredentialReason::WrongNameOrPassword}, // ERROR_LOGON_FAILURE
        {1317, CredentialReason::WrongNameOrPassword}, // ERROR_NO_SUCH_USER
        {1330, CredentialReason::PasswordExpired},     // ERROR_PASSWORD_EXPIRED
        {1907, CredentialReason::PasswordExpired},     // ERROR_PASSWORD_MUST_CHANGE
        {1331, CredentialReason::AccountRestricted},   // ERROR_ACCOUNT_DISABLED
        {1909, CredentialReason::AccountRestricted},   // ERROR_ACCOUNT_LOCKED_OUT
        {1793, CredentialReason::AccountRestricted},   // ERROR_ACCOUNT_EXPIRED
        {1327, CredentialReason::AccountRestricted},   // ERROR_ACCOUNT_RESTRICTION
        {1328, CredentialReason::AccountRestricted},   // ERROR_INVALID_LOGON_HOURS
        {1329, CredentialReason::AccountRestricted},   // ERROR_INVALID_WORKSTATION
        {1385, CredentialReason::LogonTypeNotGranted}, // ERROR_LOGON_TYPE_NOT_GRANTED
        {1380, CredentialReason::LogonTypeNotGranted}, // ERROR_LOGON_NOT_GRANTED
        {1311, CredentialReason::NotChecked},          // ERROR_NO_LOGON_SERVERS
        {1355, CredentialReason::NotChecked},          // ERROR_NO_SUCH_DOMAIN
        {5, CredentialReason::NotChecked},             // ERROR_ACCESS_DENIED
        {0xFFFFFFFFul, CredentialReason::NotChecked},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReasonForLogonError(c.error), c.reason) << c.error;
}
