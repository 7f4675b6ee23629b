// What an account's dates, flags and hours foretell: the rules that decide password-expires,
// must-change-password, password-expired, account-expires, account-expired and logon-hours.
#include <gtest/gtest.h>

#include <string>

#include "account_dates.h"

namespace
{
constexpr Moment kNow = 1800000000; // 2027-01-15 08:00 UTC
constexpr std::uint32_t kDay = 86400;
constexpr std::uint32_t kDontExpire = 0x10000;   // UF_DONT_EXPIRE_PASSWD
constexpr std::uint32_t kExpiredFlag = 0x800000; // UF_PASSWORD_EXPIRED

// 42 days' maximum age, the password set 10 days ago.
AccountTimes Aging()
{
    AccountTimes times;
    times.passwordAge = 10 * kDay;
    times.policyKnown = true;
    times.maxPasswordAge = 42 * kDay;
    return times;
}

// Every hour allowed but Monday 8:00 to 9:00 UTC (hour 32 of the week).
void MondayEight(AccountTimes& t)
{
    t.flags = kDontExpire;
    t.limitedHours = true;
    for (unsigned char& hours : t.logonHours)
        hours = 0xFF;
    t.logonHours[4] = 0xFE;
}

std::string Describe(const AccountForecast& f)
{
    std::string text;
    if (f.passwordExpires != kNever)
        text += "expires+" + std::to_string(DaysUntil(f.passwordExpires, kNow));
    text += f.passwordExpired ? " expired" : "";
    text += f.mustChangePassword ? " must-change" : "";
    if (f.accountExpires != kNever)
        text += " account" + std::string(f.accountExpired ? "-expired" : "+") +
                (f.accountExpired ? "" : std::to_string(DaysUntil(f.accountExpires, kNow)));
    if (f.shutOutDays != 0)
        text += " days=" + std::to_string(f.shutOutDays);
    return text;
}
} // namespace

TEST(AccountDates, WhatTheAccountForetells)
{
    const struct
    {
        const char* name;
        void (*change)(AccountTimes&);
        std::int64_t offset;
        std::string forecast;
    } cases[] = {
        {"a password that ages", [](AccountTimes&) {}, 0, "expires+32"},
        {"one that never expires", [](AccountTimes& t) { t.flags = kDontExpire; }, 0, ""},
        {"a policy without a maximum", [](AccountTimes& t) { t.maxPasswordAge = kForever; }, 0, ""},
        {"a maximum of 0 is none", [](AccountTimes& t) { t.maxPasswordAge = 0; }, 0, ""},
        {"the policy unknown", [](AccountTimes& t) { t.policyKnown = false; }, 0, ""},
        {"aged out", [](AccountTimes& t) { t.passwordAge = 42 * kDay; }, 0, " expired"},
        // "User must change password at next logon" marks a password the policy has not aged.
        {"marked, not aged", [](AccountTimes& t) { t.passwordExpiredMark = true; }, 0,
         " must-change"},
        {"flagged, not aged", [](AccountTimes& t) { t.flags = kExpiredFlag; }, 0, " must-change"},
        {"marked and never expiring",
         [](AccountTimes& t) {
             t.passwordExpiredMark = true;
             t.flags = kDontExpire;
         },
         0, " must-change"},
        {"marked and aged",
         [](AccountTimes& t) {
             t.passwordExpiredMark = true;
             t.passwordAge = 50 * kDay;
         },
         0, " expired"},
        {"marked, the policy unknown",
         [](AccountTimes& t) {
             t.passwordExpiredMark = true;
             t.policyKnown = false;
         },
         0, " expired"},
        {"the account expires",
         [](AccountTimes& t) {
             t.flags = kDontExpire;
             t.accountExpires = static_cast<std::uint32_t>(kNow + 3L * kDay + 5);
         },
         0, " account+3"},
        {"the account expired",
         [](AccountTimes& t) {
             t.flags = kDontExpire;
             t.accountExpires = static_cast<std::uint32_t>(kNow - 1);
         },
         0, " account-expired"},
        // The local weekday of a shut-out hour moves with the time zone.
        {"an hour on Monday", MondayEight, 0, " days=2"},
        {"... which is Sunday in Alaska", MondayEight, -9L * 3600, " days=1"},
        {"... and Tuesday east of UTC+16", MondayEight, 16L * 3600, " days=4"},
        {"every hour allowed",
         [](AccountTimes& t) {
             MondayEight(t);
             t.logonHours[4] = 0xFF;
         },
         0, ""},
    };
    for (const auto& c : cases)
    {
        AccountTimes times = Aging();
        c.change(times);
        EXPECT_EQ(Describe(ForeseeAccount(times, kNow, c.offset)), c.forecast) << c.name;
    }
}

TEST(AccountDates, LocalIsoDatesAndDaysLeft)
{
    const struct
    {
        Moment moment;
        std::int64_t offset;
        const wchar_t* date;
    } dates[] = {
        {0, 0, L"1970-01-01"},
        {951782400, 0, L"2000-02-29"},
        {1709164800, 0, L"2024-02-29"},
        {kNow, 0, L"2027-01-15"},
        {kNow, -9L * 3600, L"2027-01-14"},
        {kNow + 16L * 3600, 0, L"2027-01-16"},
        {4102444799, 0, L"2099-12-31"},
    };
    for (const auto& d : dates)
    {
        wchar_t out[11];
        FormatIsoDate(d.moment, d.offset, out);
        EXPECT_STREQ(out, d.date) << d.moment;
    }
    EXPECT_EQ(DaysUntil(kNow + kDay - 1, kNow), 0);
    EXPECT_EQ(DaysUntil(kNow + kDay, kNow), 1);
    EXPECT_EQ(DaysUntil(kNow - 1, kNow), -1);
}
