// What a local account's dates and hours foretell for automatic logon: the day its password
// expires under the local policy, whether it must be changed first, the day the account
// expires, and the days on which its logon hours shut it out. Pure logic, tested natively;
// autologon/account_check.h reads the account database.
#pragma once
#include <cstddef>
#include <cstdint>

// A moment as the account database counts it: seconds since 1970-01-01 00:00 UTC.
using Moment = std::int64_t;
constexpr Moment kNever = -1;
// The account database's "never" (TIMEQ_FOREVER) for an expiry date or a maximum age.
constexpr std::uint32_t kForever = 0xFFFFFFFFu;
constexpr std::size_t kLogonHoursBytes = 21; // one bit an hour of the week, from Sunday 0:00 UTC

// What the account database says of an account and of the local password policy.
struct AccountTimes
{
    std::uint32_t flags = 0;          // UF_* (USER_INFO_3)
    std::uint32_t passwordAge = 0;    // seconds since the password was set
    bool passwordExpiredMark = false; // marked expired: must be changed at the next logon
    std::uint32_t accountExpires = kForever;
    bool limitedHours = false; // logonHours holds the hours it may log on
    unsigned char logonHours[kLogonHoursBytes] = {};
    bool policyKnown = false;                // the policy was read
    std::uint32_t maxPasswordAge = kForever; // seconds; kForever or 0: passwords never expire
};

struct AccountForecast
{
    Moment passwordExpires = kNever; // while it has not happened yet
    bool passwordExpired = false;
    bool mustChangePassword = false; // marked expired before the policy would expire it
    Moment accountExpires = kNever;  // ahead or past
    bool accountExpired = false;     // it lies in the past
    unsigned shutOutDays = 0; // bit n: local weekday n (0 Sunday) has an hour it may not log on
};

// `now` is the moment it is; `localOffset` the seconds local time is ahead of UTC.
AccountForecast ForeseeAccount(const AccountTimes& times, Moment now, std::int64_t localOffset);

// The local date of a moment as ISO 8601, "2027-01-19", in `out` (11 characters, terminated).
void FormatIsoDate(Moment moment, std::int64_t localOffset, wchar_t (&out)[11]);

// Whole days from `now` until `moment` (0 within the last day).
std::int64_t DaysUntil(Moment moment, Moment now);
