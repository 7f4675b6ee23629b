#include "account_dates.h"

namespace
{
constexpr std::uint32_t kDontExpirePassword = 0x10000; // UF_DONT_EXPIRE_PASSWD
constexpr std::uint32_t kPasswordExpired = 0x800000;   // UF_PASSWORD_EXPIRED
constexpr std::int64_t kDay = 86400;

std::int64_t FloorDivide(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}
} // namespace

AccountForecast ForeseeAccount(const AccountTimes& times, Moment now, std::int64_t localOffset)
{
    AccountForecast forecast;
    // The policy ages a password unless the account says it never expires; a maximum of
    // 0 is the policy's "never".
    const bool ages = (times.flags & kDontExpirePassword) == 0 && times.policyKnown &&
                      times.maxPasswordAge != kForever && times.maxPasswordAge != 0;
    const bool aged = ages && times.passwordAge >= times.maxPasswordAge;
    if ((times.flags & kPasswordExpired) != 0 || times.passwordExpiredMark)
    {
        // Windows marks an aged password expired, and "must change at next logon" marks one
        // that the policy has not aged yet.
        forecast.passwordExpired = aged || !times.policyKnown;
        forecast.mustChangePassword = !forecast.passwordExpired;
    }
    else if (aged)
        forecast.passwordExpired = true;
    else if (ages)
        forecast.passwordExpires = now - times.passwordAge + times.maxPasswordAge;

    if (times.accountExpires != kForever)
    {
        forecast.accountExpires = times.accountExpires;
        forecast.accountExpired = times.accountExpires <= now;
    }

    const std::int64_t shift = FloorDivide(localOffset, 3600);
    // 168: the hours of a week.
    for (std::int64_t hour = 0; times.limitedHours && hour < 168; ++hour)
    {
        const bool allowed = (times.logonHours[hour / 8] >> (hour % 8) & 1) != 0;
        const std::int64_t day = FloorDivide(hour + shift, 24) % 7;
        if (!allowed)
            forecast.shutOutDays |= 1u << ((day + 7) % 7);
    }
    return forecast;
}

void FormatIsoDate(Moment moment, std::int64_t localOffset, wchar_t (&out)[11])
{
    // Days since 1970-01-01 to the civil date (Howard Hinnant's days_from_civil, inverted).
    const std::int64_t days = FloorDivide(moment + localOffset, kDay) + 719468;
    const std::int64_t era = FloorDivide(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t shifted = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * shifted + 2) / 5 + 1;
    const std::int64_t month = shifted < 10 ? shifted + 3 : shifted - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const std::int64_t parts[] = {year, month, day};
    const int widths[] = {4, 2, 2};
    std::size_t at = 0;
    for (int part = 0; part < 3; ++part)
    {
        for (int digit = widths[part] - 1; digit >= 0; --digit)
        {
            std::int64_t value = parts[part];
            for (int k = 0; k < digit; ++k)
                value /= 10;
            out[at++] = static_cast<wchar_t>(L'0' + value % 10);
        }
        out[at++] = part < 2 ? L'-' : L'\0';
    }
}

std::int64_t DaysUntil(Moment moment, Moment now)
{
    return FloorDivide(moment - now, kDay);
}
