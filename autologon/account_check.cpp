#include "account_check.h"

#include "account_name.h"

namespace
{
// The buffer the network management calls hand out, freed on every way out.
class NetBuffer
{
  public:
    explicit NetBuffer(const AccountRoutines& routines) : routines_(routines) {}
    ~NetBuffer()
    {
        if (data_ != nullptr)
            routines_.bufferFree(data_);
    }
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;

    LPBYTE* Put() { return &data_; }
    template <typename Info>
    const Info* As() const
    {
        return reinterpret_cast<const Info*>(data_);
    }

  private:
    const AccountRoutines& routines_;
    LPBYTE data_ = nullptr;
};
} // namespace

namespace
{
// The account's dates and hours and the policy's maximum age, where the database has them;
// `account.dated` says whether both answered.
void ReadAccountTimes(const AccountRoutines& routines, const wchar_t* user, LocalAccount& account)
{
    NetBuffer info(routines);
    NetBuffer policy(routines);
    if (routines.modalsGet == nullptr ||
        routines.userGetInfo(nullptr, user, 3, info.Put()) != NERR_Success ||
        info.As<USER_INFO_3>() == nullptr ||
        routines.modalsGet(nullptr, 0, policy.Put()) != NERR_Success ||
        policy.As<USER_MODALS_INFO_0>() == nullptr)
        return;
    const USER_INFO_3& three = *info.As<USER_INFO_3>();
    AccountTimes& times = account.times;
    times.flags = three.usri3_flags;
    times.passwordAge = three.usri3_password_age;
    times.passwordExpiredMark = three.usri3_password_expired != 0;
    times.accountExpires = three.usri3_acct_expires;
    times.limitedHours = false;
    for (std::size_t i = 0; three.usri3_logon_hours != nullptr && i < kLogonHoursBytes; ++i)
    {
        times.logonHours[i] = three.usri3_logon_hours[i];
        times.limitedHours = times.limitedHours || three.usri3_logon_hours[i] != 0xFF;
    }
    times.policyKnown = true;
    times.maxPasswordAge = policy.As<USER_MODALS_INFO_0>()->usrmod0_max_passwd_age;
    account.dated = true;
}
} // namespace

bool IsThisComputer(const wchar_t* domain)
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = ARRAYSIZE(name);
    return SameAccountName(domain, L".") ||
           (GetComputerNameW(name, &size) && SameAccountName(domain, name));
}

bool IsForeignDomain(const wchar_t* domain)
{
    if (domain[0] == L'\0' || IsThisComputer(domain))
        return false;
    // The domain's own short name, as a domain member has it; without netapi32, no answer.
    const AccountRoutines& routines = AccountDatabase();
    if (routines.joinInformation == nullptr || routines.bufferFree == nullptr)
        return false;
    NETSETUP_JOIN_STATUS joined = NetSetupUnknownStatus;
    LPWSTR joinedName = nullptr;
    bool member = false;
    if (routines.joinInformation(nullptr, &joinedName, &joined) == NERR_Success)
    {
        member = joined == NetSetupDomainName && SameAccountName(domain, joinedName);
        routines.bufferFree(joinedName);
    }
    if (member)
        return false;
    // ... or its DNS name.
    wchar_t dns[256] = {};
    DWORD size = ARRAYSIZE(dns);
    return !(GetComputerNameExW(ComputerNameDnsDomain, dns, &size) && dns[0] != L'\0' &&
             SameAccountName(domain, dns));
}

bool ReadLocalAccount(const wchar_t* user, LocalAccount& account)
{
    const AccountRoutines& routines = AccountDatabase();
    if (routines.userGetInfo == nullptr || routines.bufferFree == nullptr)
        return false;
    NetBuffer info(routines);
    const NET_API_STATUS status = routines.userGetInfo(nullptr, user, 1, info.Put());
    if (status == NERR_UserNotFound)
    {
        account = LocalAccount();
        account.unknown = true;
        return true;
    }
    if (status != NERR_Success || info.As<USER_INFO_1>() == nullptr)
        return false;
    const DWORD flags = info.As<USER_INFO_1>()->usri1_flags;
    account = LocalAccount();
    account.disabled = (flags & UF_ACCOUNTDISABLE) != 0;
    account.locked = (flags & UF_LOCKOUT) != 0;
    account.passwordExpired = (flags & UF_PASSWORD_EXPIRED) != 0;
    account.times.flags = flags;
    ReadAccountTimes(routines, user, account);
    return true;
}

DWORD ChangeAccountFlags(const wchar_t* user, DWORD set, DWORD clear, DWORD& before)
{
    const AccountRoutines& routines = AccountDatabase();
    if (routines.userGetInfo == nullptr || routines.userSetInfo == nullptr ||
        routines.bufferFree == nullptr)
        return ERROR_PROC_NOT_FOUND;
    NetBuffer info(routines);
    const NET_API_STATUS read = routines.userGetInfo(nullptr, user, 1, info.Put());
    if (read != NERR_Success || info.As<USER_INFO_1>() == nullptr)
        return read != NERR_Success ? read : static_cast<DWORD>(ERROR_INVALID_DATA);
    before = info.As<USER_INFO_1>()->usri1_flags;
    USER_INFO_1008 flags = {(before | set) & ~clear};
    if (flags.usri1008_flags == before)
        return NERR_Success;
    DWORD parameter = 0;
    return routines.userSetInfo(nullptr, user, 1008, reinterpret_cast<LPBYTE>(&flags), &parameter);
}
