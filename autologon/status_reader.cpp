#include "status_reader.h"

#include <cstring>
#include <initializer_list>

#include "account_check.h"
#include "bounded_text.h"
#include "registry_value.h"
#include "secret_read.h"
#include "unique_handle.h"
#include "winlogon_values.h"
#include "wow64.h"

namespace
{
const wchar_t kPoliciesPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kEasPath[] = L"SYSTEM\\CurrentControlSet\\Control\\EAS\\Policies";

// The longest name a registry value can have, and its terminator.
constexpr DWORD kValueNameLimit = 16384;

// Reads the machine's keys in one registry view. A key or value that does not exist reads as
// absent; any other failure is kept in the snapshot, the first one only, and makes the whole
// status unreadable.
class Reader
{
  public:
    Reader(StatusSnapshot& snapshot, REGSAM view) : snapshot_(snapshot), view_(view) {}

    // The key, or null when it does not exist or cannot be opened.
    UniqueRegKey Open(const wchar_t* path)
    {
        UniqueRegKey key;
        const LONG opened =
            RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_QUERY_VALUE | view_, key.Put());
        if (opened != ERROR_SUCCESS)
        {
            key.Release(); // a failed open leaves nothing to close
            Fail(opened, path, L"");
        }
        return key;
    }

    // True when the value exists and was read whole.
    bool Read(const UniqueRegKey& key, const wchar_t* path, const wchar_t* name,
              RegistryValue& value)
    {
        const LONG read = value.Read(key.Get(), name);
        Fail(read, path, name);
        return read == ERROR_SUCCESS;
    }

    // The name of the key's value at `index`; false when there is none, or when the list
    // cannot be read (then the key is named as unreadable).
    bool ValueName(const UniqueRegKey& key, const wchar_t* path, DWORD index,
                   wchar_t (&name)[kValueNameLimit])
    {
        DWORD length = kValueNameLimit;
        const LONG listed =
            key ? RegEnumValueW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr)
                : ERROR_NO_MORE_ITEMS;
        Fail(listed == ERROR_NO_MORE_ITEMS ? ERROR_SUCCESS : listed, path, L"");
        return listed == ERROR_SUCCESS;
    }

    // The value of that name, when it exists and was read whole. The name is the caller's, not
    // one of the reader's constants: a value that cannot be read is named by its key alone.
    bool ReadListed(const UniqueRegKey& key, const wchar_t* path, const wchar_t* name,
                    RegistryValue& value)
    {
        const LONG read = value.Read(key.Get(), name);
        Fail(read, path, L"");
        return read == ERROR_SUCCESS;
    }

  private:
    void Fail(LONG error, const wchar_t* path, const wchar_t* name)
    {
        if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND ||
            snapshot_.unreadableValue != nullptr)
            return;
        snapshot_.unreadableKey = path;
        snapshot_.unreadableValue = name;
        snapshot_.unreadableError = static_cast<std::uint32_t>(error);
    }

    StatusSnapshot& snapshot_;
    REGSAM view_;
};

// The first kFieldLimit characters of a text; true when it holds more.
bool CopyText(const RegistryValue& value, wchar_t (&out)[kFieldLimit + 1])
{
    ValueForm form;
    DescribeValue(value, form);
    for (std::size_t i = 0; i <= kFieldLimit; ++i)
        out[i] = form.text[i];
    return form.longer;
}

// True when `text` holds `part`, ASCII letters in any case (for names such as CLSIDs).
bool ContainsAnyCase(const wchar_t* text, DWORD length, const wchar_t* part)
{
    for (DWORD start = 0; start < length; ++start)
    {
        DWORD i = 0;
        while (part[i] != L'\0' && start + i < length &&
               AsciiLower(text[start + i]) == AsciiLower(part[i]))
            ++i;
        if (part[i] == L'\0')
            return true;
    }
    return false;
}

// How one registry value decides a fact.
enum class Test
{
    Number,  // a REG_DWORD equal to `number`
    AnyText, // a text that holds anything
    HasPart, // a text that holds `part`, in any letter case
};

// One row per fact that the registry alone decides: the next one is one row.
struct FactRead
{
    bool StatusSnapshot::*fact; // set when the read finds it; several rows may set one fact
    const wchar_t* path;
    const wchar_t* name;
    Test test;
    DWORD number;
    const wchar_t* part;
};

const FactRead kFactReads[] = {
    // Windows asks for a confirmation at logon when either text holds anything, in either key.
    {&StatusSnapshot::legalNotice, kWinlogonPath, L"LegalNoticeCaption", Test::AnyText, 0, nullptr},
    {&StatusSnapshot::legalNotice, kWinlogonPath, L"LegalNoticeText", Test::AnyText, 0, nullptr},
    {&StatusSnapshot::legalNotice, kPoliciesPath, L"LegalNoticeCaption", Test::AnyText, 0, nullptr},
    {&StatusSnapshot::legalNotice, kPoliciesPath, L"LegalNoticeText", Test::AnyText, 0, nullptr},
    // With 2, Windows requires Windows Hello sign-in and ignores automatic logon.
    {&StatusSnapshot::passwordLessSignIn,
     L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\PasswordLess\\Device",
     L"DevicePasswordLessBuildVersion", Test::Number, 2, nullptr},
    {&StatusSnapshot::hiddenUserName, kPoliciesPath, L"DontDisplayUserName", Test::Number, 1,
     nullptr},
    {&StatusSnapshot::passwordlessExperience,
     L"SOFTWARE\\Microsoft\\PolicyManager\\current\\device\\Authentication",
     L"EnablePasswordlessExperience", Test::Number, 1, nullptr},
    // The password credential provider, by its class id.
    {&StatusSnapshot::passwordProviderExcluded, L"SOFTWARE\\Policies\\Microsoft\\Windows\\System",
     L"ExcludedCredentialProviders", Test::HasPart, 0, L"{60b78e88-ead8-445c-9cfd-0b87f74ea6cd}"},
};

bool Decides(Reader& reader, const FactRead& row)
{
    const UniqueRegKey key = reader.Open(row.path);
    RegistryValue value;
    if (!reader.Read(key, row.path, row.name, value))
        return false;
    DWORD number = 0;
    const wchar_t* text = nullptr;
    DWORD length = 0;
    switch (row.test)
    {
    case Test::Number:
        return value.Number(number) && number == row.number;
    case Test::AnyText:
        return value.HasText();
    case Test::HasPart:
        return value.Text(text, length) && ContainsAnyCase(text, length, row.part);
    }
    return false;
}

// The Winlogon values a 32-bit tool may have written into the 32-bit view.
bool HasWow64Leftovers(StatusSnapshot& snapshot)
{
    // On 32-bit Windows there is one view only.
    if (sizeof(void*) == 4 && !QueryWow64())
        return false;
    Reader native(snapshot, KEY_WOW64_64KEY);
    Reader wow(snapshot, KEY_WOW64_32KEY);
    const UniqueRegKey nativeKey = native.Open(kWinlogonPath);
    const UniqueRegKey wowKey = wow.Open(kWinlogonPath);
    bool leftovers = false;
    for (const wchar_t* name :
         {kAutoAdminLogon, kDefaultDomainName, kDefaultUserName, kDefaultPassword, kAutoLogonCount})
    {
        RegistryValue left;
        RegistryValue real;
        if (!wow.Read(wowKey, kWinlogonPath, name, left))
            continue;
        // Where both views are one key, or hold the same, Windows reads what stands there.
        const bool same =
            native.Read(nativeKey, kWinlogonPath, name, real) && real.Type() == left.Type() &&
            real.Size() == left.Size() &&
            (left.Size() == 0 || std::memcmp(real.Data(), left.Data(), left.Size()) == 0);
        leftovers = leftovers || !same;
    }
    return leftovers;
}

// Which values under EAS\Policies hold anything but zeros. Microsoft documents that automatic
// logon does not work while Exchange ActiveSync password restrictions are active, but not
// which values make them so; a zero or empty value restricts nothing that is known.
void ReadEasPolicies(Reader& reader, StatusSnapshot& snapshot)
{
    const UniqueRegKey key = reader.Open(kEasPath);
    wchar_t name[kValueNameLimit];
    for (DWORD index = 0; reader.ValueName(key, kEasPath, index, name); ++index)
    {
        RegistryValue value;
        if (!reader.ReadListed(key, kEasPath, name, value))
            continue;
        bool holds = false;
        for (DWORD i = 0; i < value.Size(); ++i)
            holds = holds || value.Data()[i] != 0;
        if (!holds)
            continue;
        // Whole names only: once one does not fit, the list is marked as cut.
        wchar_t quoted[kFieldLimit + 1] = {};
        snapshot.easValuesLonger =
            snapshot.easValuesLonger ||
            !(AppendText(quoted, ARRAYSIZE(quoted), snapshot.easPolicies ? L", \"" : L"\"") &&
              AppendText(quoted, ARRAYSIZE(quoted), name) &&
              AppendText(quoted, ARRAYSIZE(quoted), L"\"") &&
              AppendText(snapshot.easValues, ARRAYSIZE(snapshot.easValues), quoted));
        snapshot.easPolicies = true;
    }
}

// For a local account only: a domain account is for its domain to judge, and a guess would
// be worse than nothing. No local account name holds an "@".
void ReadAccount(StatusSnapshot& snapshot)
{
    LocalAccount account;
    if (snapshot.user[0] == L'\0' || snapshot.userLonger || snapshot.domainLonger ||
        KindOfAccount(snapshot) != AccountKind::Local || !ReadLocalAccount(snapshot.user, account))
        return;
    snapshot.accountDisabled = account.disabled;
    snapshot.accountLocked = account.locked;
    snapshot.passwordExpired = account.passwordExpired;
    snapshot.unknownUser = account.unknown;
    snapshot.accountFlags = account.times.flags;
    if (!account.dated)
        return;
    // The dates in the user's local time, which the words and the JSON give.
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const auto ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    snapshot.now = static_cast<Moment>(ticks / 10000000u) - 11644473600; // 1601 to 1970
    TIME_ZONE_INFORMATION zone = {};
    const DWORD daylight = GetTimeZoneInformation(&zone);
    const LONG bias =
        zone.Bias + (daylight == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : zone.StandardBias);
    snapshot.localOffset = -static_cast<std::int64_t>(bias) * 60;
    const AccountForecast forecast =
        ForeseeAccount(account.times, snapshot.now, snapshot.localOffset);
    snapshot.passwordExpired = forecast.passwordExpired;
    snapshot.mustChangePassword = forecast.mustChangePassword;
    snapshot.passwordExpires = forecast.passwordExpires;
    snapshot.accountExpired = forecast.accountExpired;
    snapshot.accountExpires = forecast.accountExpires;
    snapshot.shutOutDays = forecast.shutOutDays;
}
} // namespace

SecretState ReadSecretState()
{
    // An empty secret, as Remove leaves it, holds no password.
    switch (InspectDefaultPassword(L""))
    {
    case SecretFound::NotFound:
    case SecretFound::Blank:
        return SecretState::Absent;
    case SecretFound::Same:
    case SecretFound::Different:
        return SecretState::Present;
    case SecretFound::Unreadable:
        break;
    }
    return SecretState::Unknown;
}

void ReadStatusSnapshot(StatusSnapshot& snapshot)
{
    snapshot = StatusSnapshot{};
    Reader reader(snapshot, MachineKeyView());
    {
        const UniqueRegKey winlogon = reader.Open(kWinlogonPath);
        RegistryValue value;
        if (reader.Read(winlogon, kWinlogonPath, kAutoAdminLogon, value))
            DescribeValue(value, snapshot.autoAdminLogon);
        if (reader.Read(winlogon, kWinlogonPath, kDefaultDomainName, value))
            snapshot.domainLonger = CopyText(value, snapshot.domain);
        if (reader.Read(winlogon, kWinlogonPath, kDefaultUserName, value))
            snapshot.userLonger = CopyText(value, snapshot.user);
        // Whether it holds a password, never what that is: an empty or non-text value is none.
        snapshot.plainTextPassword =
            reader.Read(winlogon, kWinlogonPath, kDefaultPassword, value) && value.HasText();
        DWORD count = 0;
        snapshot.hasLogonCount =
            reader.Read(winlogon, kWinlogonPath, kAutoLogonCount, value) && value.Number(count);
        snapshot.logonCount = count;
    }
    for (const FactRead& row : kFactReads)
        snapshot.*row.fact = Decides(reader, row) || snapshot.*row.fact;
    ReadEasPolicies(reader, snapshot);
    snapshot.wow64Leftovers = HasWow64Leftovers(snapshot);
    snapshot.domainIsThisComputer = !snapshot.domainLonger && IsThisComputer(snapshot.domain);
    snapshot.secret = ReadSecretState();

    // What only matters while it is on, and asks more than the registry.
    if (IsAutoAdminLogonOn(snapshot.autoAdminLogon))
    {
        ReadAccount(snapshot);
        // MicrosoftAccount and AzureAD name the online service, not a machine or a domain.
        const AccountKind kind = KindOfAccount(snapshot);
        snapshot.domainNotThisMachine =
            !snapshot.domainLonger && kind != AccountKind::MicrosoftAccount &&
            kind != AccountKind::EntraId && IsForeignDomain(snapshot.domain);
    }
}
