// The status snapshot from the registry (a scratch key stands in for HKEY_LOCAL_MACHINE)
// and the presence of the DefaultPassword secret (Wine's LsaRetrievePrivateData only ever
// answers "not found": the stand-in in secret_test.cpp replaces it and LsaFreeMemory).
#include <gtest/gtest.h>

#include "../unit/cause_names.h"
#include "account_double.h"
#include "registry_value.h"
#include "status_reader.h"
#include "writer_fixture.h"

namespace
{
const wchar_t kPolicies[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kPasswordLess[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\PasswordLess\\Device";

// Writes values into a key below the (overridden) machine root, creating the key.
void Put(const wchar_t* path, const RegValues& values)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    WriteValues(key, values);
    RegCloseKey(key);
}

RegValue Raw(DWORD type, const std::vector<unsigned char>& data)
{
    return {type, data};
}

RegValue Multi(const std::wstring& strings)
{
    RegValue value = Raw(REG_MULTI_SZ, Utf16Bytes(strings));
    value.data.insert(value.data.end(), {0, 0, 0, 0});
    return value;
}

std::string Describe(const StatusSnapshot& s)
{
    std::string text = IsAutoAdminLogonOn(s.autoAdminLogon) ? "on" : "off";
    if (!IsUsualAutoAdminLogon(s.autoAdminLogon))
        text += "(type " + std::to_string(s.autoAdminLogon.type) + " " +
                std::to_string(s.autoAdminLogon.number) + ")";
    text += " domain=" + std::string(s.domain, s.domain + wcslen(s.domain));
    text += s.domainLonger ? "+" : "";
    text += " user=" + std::string(s.user, s.user + wcslen(s.user));
    text += s.userLonger ? "+" : "";
    text += s.plainTextPassword ? " plain" : "";
    text += s.hasLogonCount ? " count=" + std::to_string(s.logonCount) : "";
    text += s.legalNotice ? " notice" : "";
    text += s.passwordLessSignIn ? " hello" : "";
    return text;
}
} // namespace

// The edges of reading the values: types, lengths and empty texts. Each state as a user sees
// it (on, the count, the notices, the sign-in requirement) is run end to end over the
// prefix's real keys.
TEST(StatusSnapshot, ReadsWhatDecidesTheLogon)
{
    const std::wstring longName(kFieldLimit + 1, L'n');
    const std::string cutName(kFieldLimit, 'n');
    const struct
    {
        const char* name;
        RegValues winlogon;
        RegValues policies;
        RegValues passwordLess;
        std::string snapshot;
    } cases[] = {
        {"nothing set", {}, {}, {}, "off domain= user="},
        {"only the text 1 is on; a number is kept as it stands",
         {{L"AutoAdminLogon", NumberValue(1)}, {L"DefaultUserName", TextValue(L"kiosk")}},
         {},
         {},
         "off(type 4 1) domain= user=kiosk"},
        {"1 with a blank is not 1",
         {{L"AutoAdminLogon", TextValue(L"1 ")}},
         {},
         {},
         "off(type 1 0) domain= user="},
        {"unterminated text",
         {{L"AutoAdminLogon", Raw(REG_SZ, {'1', 0})}},
         {},
         {},
         "on domain= user="},
        {"names longer than a logon takes are cut and marked",
         {{L"DefaultDomainName", TextValue(longName)}, {L"DefaultUserName", TextValue(longName)}},
         {},
         {},
         "off domain=" + cutName + "+ user=" + cutName + "+"},
        {"a plain-text password",
         {{L"DefaultPassword", TextValue(L"pw")}},
         {},
         {},
         "off domain= user= plain"},
        {"an empty or non-text DefaultPassword is none",
         {{L"DefaultPassword", TextValue(L"")}, {L"AutoLogonCount", NumberValue(0)}},
         {},
         {},
         "off domain= user= count=0"},
        {"nor is a number", {{L"DefaultPassword", NumberValue(7)}}, {}, {}, "off domain= user="},
        {"a legal notice as a list of lines, even one that starts with an empty line",
         {{L"LegalNoticeText", Multi(std::wstring(L"\0Authorized use only", 20))}},
         {},
         {},
         "off domain= user= notice"},
        {"a logon count that is not a number",
         {{L"AutoLogonCount", TextValue(L"3")}},
         {},
         {},
         "off domain= user="},
        {"empty legal notice values",
         {{L"LegalNoticeText", TextValue(L"")}, {L"LegalNoticeCaption", TextValue(L"")}},
         {{L"LegalNoticeText", TextValue(L"")}},
         {},
         "off domain= user="},
        {"Windows Hello not required",
         {},
         {},
         {{L"DevicePasswordLessBuildVersion", NumberValue(0)}},
         "off domain= user="},
    };
    for (const auto& c : cases)
    {
        ScratchMachine machine;
        ASSERT_TRUE(machine.ready());
        WriteValues(machine.winlogon(), c.winlogon);
        if (!c.policies.empty())
            Put(kPolicies, c.policies);
        if (!c.passwordLess.empty())
            Put(kPasswordLess, c.passwordLess);
        ResetLsaDouble();

        StatusSnapshot snapshot;
        snapshot.autoAdminLogon.present = true; // poisoned: the reader must set every field
        snapshot.plainTextPassword = true;
        snapshot.legalNotice = true;
        ReadStatusSnapshot(snapshot);
        EXPECT_EQ(Describe(snapshot), c.snapshot) << c.name;
        EXPECT_EQ(snapshot.secret, SecretState::Absent) << c.name;
    }
}

TEST(StatusSnapshot, NoWinlogonKeyReadsAsOff)
{
    ScratchMachine machine(false);
    ASSERT_TRUE(machine.ready());
    ResetLsaDouble();
    StatusSnapshot snapshot;
    ReadStatusSnapshot(snapshot);
    EXPECT_EQ(Describe(snapshot), "off domain= user=");
}

TEST(SecretPresence, AnsweredWithoutKeepingThePassword)
{
    const struct
    {
        const char* name;
        NTSTATUS openStatus;
        NTSTATUS retrieveStatus;
        bool noValue;
        const wchar_t* value;
        SecretState state;
    } cases[] = {
        {"not found", 0, kStatusNameNotFound, false, L"", SecretState::Absent},
        {"a password", 0, 0, false, L"hunter2", SecretState::Present},
        {"blanked by Remove", 0, 0, false, L"", SecretState::Absent},
        {"no value at all", 0, 0, true, L"", SecretState::Absent},
        {"not readable", 0, kStatusAccessDenied, false, L"", SecretState::Unknown},
        {"policy not openable (no administrator rights)", kStatusAccessDenied, 0, false, L"pw",
         SecretState::Unknown},
    };
    for (const auto& c : cases)
    {
        LsaDouble& lsa = ResetLsaDouble();
        lsa.openStatus = c.openStatus;
        lsa.retrieveStatus = c.retrieveStatus;
        lsa.retrieveNoValue = c.noValue;
        lsa.retrieveValue = c.value;

        EXPECT_EQ(ReadSecretState(), c.state) << c.name;

        EXPECT_EQ(lsa.access, static_cast<ACCESS_MASK>(POLICY_GET_PRIVATE_INFORMATION)) << c.name;
        const bool opened = c.openStatus == 0;
        EXPECT_EQ(lsa.retrieved, opened ? std::vector<std::wstring>{L"DefaultPassword"}
                                        : std::vector<std::wstring>{})
            << c.name;
        EXPECT_EQ(lsa.closed.size(), opened ? 1u : 0u) << c.name;
        const bool handedOut = opened && c.retrieveStatus == 0 && !c.noValue;
        EXPECT_EQ(lsa.frees, handedOut ? 1 : 0) << c.name;
        EXPECT_TRUE(!handedOut || lsa.freedWiped) << c.name << ": freed before it was wiped";
        EXPECT_TRUE(lsa.stores.empty()) << c.name << ": reading must not write";
    }
}

namespace
{
// A registry read that a test controls: a text value of `size` bytes that grows by 64 bytes
// between the size query and the read, `growths` times.
struct GrowingValue
{
    DWORD size = 0;
    int growths = 0;
    int reads = 0;
};
GrowingValue g_growing;

LONG WINAPI GrowingQuery(HKEY, LPCWSTR, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size)
{
    *type = REG_SZ;
    if (data == nullptr)
    {
        *size = g_growing.size;
        return ERROR_SUCCESS;
    }
    ++g_growing.reads;
    if (g_growing.growths > 0)
    {
        --g_growing.growths;
        g_growing.size += 64;
    }
    const DWORD room = *size;
    *size = g_growing.size; // as the registry does: the new size, whatever the buffer holds
    if (room < g_growing.size)
    {
        // What a failed read leaves in the buffer is undefined: here, a part of the value.
        FillMemory(data, room, 'S');
        return ERROR_MORE_DATA;
    }
    FillMemory(data, g_growing.size - sizeof(wchar_t), 'a');
    return ERROR_SUCCESS;
}

// Whether a block of `heap` (a free one, unless `anyBlock`) still holds eight `marker` bytes in
// a row: what a block held must be wiped before the block goes back to the heap.
bool HeapKeeps(HANDLE heap, char marker, bool anyBlock)
{
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry))
    {
        const bool busy = (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0;
        if ((entry.wFlags & (PROCESS_HEAP_REGION | PROCESS_HEAP_UNCOMMITTED_RANGE)) != 0 ||
            (busy && !anyBlock) || entry.lpData == nullptr)
            continue;
        const auto* bytes = static_cast<const char*>(entry.lpData);
        int run = 0;
        for (DWORD i = 0; i < entry.cbData && run < 8; ++i)
            run = bytes[i] == marker ? run + 1 : 0;
        if (run == 8)
            return true;
    }
    return false;
}
} // namespace

// Windows rewrites some Winlogon values at a logon: a value that grows between the size query
// and the read must never make the reader touch more than it allocated, and one that keeps
// changing counts as unreadable rather than as whatever was read last.
TEST(RegistryValueRead, AValueThatGrowsMeanwhileLeavesTheHeapIntact)
{
    const struct
    {
        int growths;
        LONG result;
        int reads;
        DWORD length; // characters read
    } cases[] = {
        {0, ERROR_SUCCESS, 1, 15},
        {1, ERROR_SUCCESS, 2, 47},
        {RegistryValue::kAttempts - 1, ERROR_SUCCESS, RegistryValue::kAttempts, 111},
        {RegistryValue::kAttempts, ERROR_MORE_DATA, RegistryValue::kAttempts, 0},
    };
    for (const auto& c : cases)
    {
        HANDLE heap = HeapCreate(0, 0, 0);
        ASSERT_NE(heap, nullptr);
        g_growing = {32, c.growths, 0};
        {
            RegistryValue value(heap, GrowingQuery);
            const wchar_t* text = nullptr;
            DWORD length = 0xdeadbeef;
            EXPECT_EQ(value.Read(HKEY_LOCAL_MACHINE, L"DefaultUserName"), c.result) << c.growths;
            EXPECT_EQ(value.Present(), c.result == ERROR_SUCCESS) << c.growths;
            EXPECT_EQ(value.Text(text, length) ? length : 0u, c.length) << c.growths;
            EXPECT_EQ(g_growing.reads, c.reads) << c.growths;
            EXPECT_TRUE(HeapValidate(heap, 0, nullptr)) << c.growths << ": heap damaged";
            EXPECT_FALSE(HeapKeeps(heap, 'S', false)) << c.growths << ": a dropped block unwiped";
        }
        EXPECT_TRUE(HeapValidate(heap, 0, nullptr)) << c.growths << ": heap damaged when freed";
        EXPECT_FALSE(HeapKeeps(heap, 'a', true) || HeapKeeps(heap, 'S', true))
            << c.growths << ": the value's block freed unwiped";
        HeapDestroy(heap);
    }
}

namespace
{
std::wstring ThisComputer()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = ARRAYSIZE(name);
    GetComputerNameW(name, &size);
    return name;
}

} // namespace

// Each cause from the value that decides it, in the scratch machine; automatic logon is on
// for a local account with a stored secret, so that only the row's cause shows. The account
// database stands in only where Wine knows no such account.
TEST(StatusCauses, EachReadDecidesItsCause)
{
    const std::wstring here = ThisComputer();
    const wchar_t kEas[] = L"SYSTEM\\CurrentControlSet\\Control\\EAS\\Policies";
    const wchar_t kProvider[] = L"{60B78E88-EAD8-445C-9CFD-0B87F74EA6CD}";
    const struct
    {
        const char* name;
        std::vector<std::pair<const wchar_t*, RegValues>> keys;
        std::wstring domain;
        NET_API_STATUS userStatus;
        DWORD flags;
        std::string causes;
        std::wstring user = L"kiosk";
        std::wstring easValues = L"";
        bool netapiMissing = false;
    } cases[] = {
        {"healthy", {}, here, NERR_Success, 0, ""},
        {"EAS policy values, named; zeros and empty ones are none",
         {{kEas,
           {{L"1", NumberValue(0)},
            {L"2", NumberValue(4)},
            {L"3", TextValue(L"")},
            {L"7", TextValue(L"900")}}}},
         here,
         NERR_Success,
         0,
         "eas-policies",
         L"kiosk",
         L"\"2\", \"7\""},
        {"an empty EAS key is none", {{kEas, {}}}, here, NERR_Success, 0, ""},
        {"EAS policy values that are all zero are none",
         {{kEas, {{L"1", NumberValue(0)}, {L"2", Raw(REG_BINARY, {0, 0})}}}},
         here,
         NERR_Success,
         0,
         ""},
        {"account disabled", {}, here, NERR_Success, UF_ACCOUNTDISABLE, "account-disabled"},
        {"account locked out", {}, L".", NERR_Success, UF_LOCKOUT, "account-locked"},
        {"password expired", {}, here, NERR_Success, UF_PASSWORD_EXPIRED, "password-expired"},
        {"no such local account", {}, here, NERR_UserNotFound, 0, "unknown-user"},
        {"no certain answer is no answer", {}, here, ERROR_ACCESS_DENIED, 0, ""},
        // A domain account is the domain's to judge; but a domain that is neither this
        // computer nor its own is suspect.
        {"another domain", {}, L"OLDNAME", NERR_UserNotFound, 0, "domain-not-this-machine"},
        // No local account name holds an "@", and the online services are no domains.
        {"a name@domain on this computer", {}, here, NERR_UserNotFound, 0, "", L"me@outlook.com"},
        {"a Microsoft account", {}, L"microsoftaccount", NERR_UserNotFound, 0, "", L"me@live.com"},
        {"an Entra ID account", {}, L"AZUREAD", NERR_UserNotFound, 0, "", L"kiosk@contoso.com"},
        // Without netapi32 neither the account nor the domain is judged.
        {"no netapi32, a local account", {}, here, NERR_UserNotFound, 0, "", L"kiosk", L"", true},
        {"no netapi32, another domain", {}, L"OLDNAME", NERR_Success, 0, "", L"kiosk", L"", true},
        {"hidden user name",
         {{L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System",
           {{L"DontDisplayUserName", NumberValue(1)}}}},
         here,
         NERR_Success,
         0,
         "hidden-user-name"},
        {"passwordless experience, for a user principal name",
         {{L"SOFTWARE\\Microsoft\\PolicyManager\\current\\device\\Authentication",
           {{L"EnablePasswordlessExperience", NumberValue(1)}}}},
         here,
         NERR_Success,
         0,
         "passwordless-experience",
         L"kiosk@contoso.com"},
        {"password provider excluded, among others and in capitals",
         {{L"SOFTWARE\\Policies\\Microsoft\\Windows\\System",
           {{L"ExcludedCredentialProviders",
             TextValue(std::wstring(L"{00000000-0000-0000-0000-000000000001},") + kProvider)}}}},
         here,
         NERR_Success,
         0,
         "password-provider-excluded"},
        {"another provider excluded",
         {{L"SOFTWARE\\Policies\\Microsoft\\Windows\\System",
           {{L"ExcludedCredentialProviders",
             TextValue(L"{00000000-0000-0000-0000-000000000001}")}}}},
         here,
         NERR_Success,
         0,
         ""},
    };
    for (const auto& c : cases)
    {
        ScratchMachine machine;
        ASSERT_TRUE(machine.ready());
        WriteValues(machine.winlogon(), {{L"AutoAdminLogon", TextValue(L"1")},
                                         {L"DefaultDomainName", TextValue(c.domain)},
                                         {L"DefaultUserName", TextValue(c.user)}});
        for (const auto& [path, values] : c.keys)
            Put(path, values);
        LsaDouble& lsa = ResetLsaDouble();
        lsa.retrieveStatus = 0;
        lsa.retrieveValue = L"pw";
        AccountDouble& accounts = ResetAccountDouble();
        accounts.userStatus = c.userStatus;
        accounts.flags = c.flags;
        accounts.netapiMissing = c.netapiMissing;

        StatusSnapshot snapshot;
        ReadStatusSnapshot(snapshot);
        EXPECT_EQ(CauseNames(JudgeStatus(snapshot)), c.causes) << c.name;
        EXPECT_EQ(snapshot.easValues, c.easValues) << c.name;
        const bool local =
            (c.domain == here || c.domain == L".") && c.user == L"kiosk" && !c.netapiMissing;
        EXPECT_EQ(accounts.asked,
                  local ? std::vector<std::wstring>{L"kiosk"} : std::vector<std::wstring>{})
            << c.name;
        EXPECT_FALSE(accounts.serverGiven) << c.name << ": the local database only";
    }

    // The domain the computer is joined to, by its short name, is its own.
    ScratchMachine machine;
    WriteValues(machine.winlogon(), {{L"AutoAdminLogon", TextValue(L"1")},
                                     {L"DefaultDomainName", TextValue(L"corp")},
                                     {L"DefaultUserName", TextValue(L"kiosk")}});
    ResetLsaDouble().retrieveStatus = 0;
    Lsa().retrieveValue = L"pw";
    AccountDouble& accounts = ResetAccountDouble();
    accounts.joined = NetSetupDomainName;
    accounts.joinedName = L"CORP";
    StatusSnapshot snapshot;
    ReadStatusSnapshot(snapshot);
    EXPECT_EQ(CauseNames(JudgeStatus(snapshot)), "");
}
