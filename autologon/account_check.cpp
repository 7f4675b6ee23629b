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
    return true;
}
