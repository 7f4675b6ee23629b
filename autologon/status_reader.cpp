#include "status_reader.h"

#include <initializer_list>

#include "lsa_policy.h"
#include "registry_value.h"
#include "winlogon_values.h"

namespace
{
const wchar_t kPoliciesPath[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t kPasswordLessPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\PasswordLess\\Device";

constexpr NTSTATUS kStatusObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);

// The value of DevicePasswordLessBuildVersion with which Windows requires Windows Hello
// sign-in and ignores automatic logon.
constexpr DWORD kPasswordLessRequired = 2;

// Reads the machine's keys in the 64-bit view, the one Windows reads at logon. A key or value
// that does not exist reads as absent; any other failure is kept in the snapshot, the first
// one only, and makes the whole status unreadable.
class Reader
{
  public:
    explicit Reader(StatusSnapshot& snapshot) : snapshot_(snapshot) {}

    // The key, or null when it does not exist or cannot be opened.
    UniqueRegKey Open(const wchar_t* path)
    {
        UniqueRegKey key;
        const LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0,
                                          KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.Put());
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
};

// The first kFieldLimit characters of a text; true when it holds more.
bool CopyText(const RegistryValue& value, wchar_t (&out)[kFieldLimit + 1])
{
    const wchar_t* text = nullptr;
    DWORD length = 0;
    if (!value.Text(text, length))
        length = 0;
    DWORD i = 0;
    for (; i < length && i < kFieldLimit; ++i)
        out[i] = text[i];
    out[i] = L'\0';
    return length > kFieldLimit;
}

void Describe(const RegistryValue& value, ValueForm& form)
{
    form.present = value.Present();
    form.type = value.Type();
    DWORD number = 0;
    if (value.Number(number))
        form.number = number;
    form.longer = CopyText(value, form.text);
}

// Windows asks for a confirmation at logon when either text holds anything, in either key.
bool HasLegalNotice(Reader& reader, const UniqueRegKey& key, const wchar_t* path)
{
    bool notice = false;
    for (const wchar_t* name : {L"LegalNoticeCaption", L"LegalNoticeText"})
    {
        RegistryValue value;
        notice = (reader.Read(key, path, name, value) && value.HasText()) || notice;
    }
    return notice;
}
} // namespace

SecretState ReadSecretState()
{
    UniqueLsaHandle policy;
    if (OpenLocalPolicy(POLICY_GET_PRIVATE_INFORMATION, policy) != 0)
        return SecretState::Unknown;

    SecretName secret;
    PLSA_UNICODE_STRING data = nullptr;
    const NTSTATUS status = LsaRetrievePrivateData(policy.Get(), &secret.name, &data);
    SecretState state = SecretState::Unknown;
    if (status == kStatusObjectNameNotFound)
        state = SecretState::Absent;
    else if (status == 0)
        state = data != nullptr && data->Length != 0 ? SecretState::Present : SecretState::Absent;
    if (data != nullptr)
    {
        // Only its presence was wanted: the password leaves this process's memory at once.
        if (data->Buffer != nullptr)
            SecureZeroMemory(data->Buffer, data->Length);
        LsaFreeMemory(data);
    }
    return state;
}

void ReadStatusSnapshot(StatusSnapshot& snapshot)
{
    snapshot = StatusSnapshot{};
    Reader reader(snapshot);
    {
        const UniqueRegKey winlogon = reader.Open(kWinlogonPath);
        RegistryValue value;
        if (reader.Read(winlogon, kWinlogonPath, kAutoAdminLogon, value))
            Describe(value, snapshot.autoAdminLogon);
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
        snapshot.legalNotice = HasLegalNotice(reader, winlogon, kWinlogonPath);
    }
    snapshot.legalNotice =
        HasLegalNotice(reader, reader.Open(kPoliciesPath), kPoliciesPath) || snapshot.legalNotice;

    RegistryValue passwordLess;
    DWORD version = 0;
    snapshot.passwordLessSignIn = reader.Read(reader.Open(kPasswordLessPath), kPasswordLessPath,
                                              L"DevicePasswordLessBuildVersion", passwordLess) &&
                                  passwordLess.Number(version) && version == kPasswordLessRequired;

    snapshot.secret = ReadSecretState();
}
